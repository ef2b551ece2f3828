#include "params/ParamAccess.h"

#include <cstdio>

#include "link/LinkStatus.h"

namespace zr {

namespace {

bool validRow(int row) {
    return row >= 0 && row < CameraParamRows;
}

// Ten characters plus the terminator; masking keeps every field to two digits
// even when a caller hands the encoder a value the range check would refuse.
std::string format3(const char* format, unsigned a, unsigned b, unsigned c, unsigned d = 0) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, a & 0xFF, b & 0xFF, c & 0xFF, d & 0xFF);
    return buffer;
}

}  // namespace

ParamAccess::ParamAccess(SerialLink& link, MsgOwner owner) : link_(link), owner_(owner) {}

std::string ParamAccess::writeText(const CameraParam& row, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    if (row.dataBytes() == 2) {
        return format3("%02X%02X%02X%02X00", row.writeArea, row.address, v >> 8, v);
    }
    return format3("%02X%02X%02X0000", row.writeArea, row.address, v);
}

std::string ParamAccess::readText(const CameraParam& row) {
    return format3("%02X%02X000000", row.readArea, row.address, 0);
}

int32_t ParamAccess::valueFromAnswer(const CameraParam& row, const AnswerBytes& answer) {
    if (row.dataBytes() == 2) return answer[0] * 256 + answer[1];
    return answer[0];
}

int32_t ParamAccess::WriteParam(int row, int32_t value) {
    // A row index outside the table is a caller's bug; refuse it rather than
    // read past the table.
    if (!validRow(row)) return -1;
    CameraParam& param = table_[row];
    if (value < param.minValue || value > param.maxValue) {
        link_.messages().show(Message{"Setting value is out of range", "Send error",
                                      MsgIcon::Exclamation, MsgButtons::Ok, owner_, false});
        return -1;
    }
    if (link_.SendCommand(writeText(param, value)) != 0) return -1;
    // Stored once the link has taken the frame; the camera's ACK is the
    // link's business.
    param.value = value;
    return 0;
}

int32_t ParamAccess::WriteCommandText(std::string_view text) {
    return link_.SendCommand(text);
}

int32_t ParamAccess::ReadParam(int row, int32_t& value) {
    if (!validRow(row)) return -2;
    CameraParam& param = table_[row];
    AnswerBytes answer{};
    if (ReadRegister(readText(param), answer) != 1) return -2;
    // No range check: the row shows what the camera holds.
    value = valueFromAnswer(param, answer);
    param.value = value;
    return 0;
}

int32_t ParamAccess::ReadRegister(std::string_view text, AnswerBytes& answer) {
    // A previous write whose ACK times out posts LS_ACK_TIMEOUT when its
    // exchange ends; cleared before that, the bit would end this read as
    // failed while its own frame is still on the way. So clear only once the
    // link is idle (SendCommand would wait for that anyway). Inside a worker
    // message's box, where the exchange cannot end, the wait gives up.
    if (!link_.waitUntilIdle()) return 0;
    link_.clearStatus();
    if (link_.SendCommand(text) != 0) return 0;

    // The worker's time-outs bound this wait, and the link's close ends it;
    // it has no time-out of its own.
    const uint32_t status = link_.waitForStatus(LS_ANSWER_OK | LS_ACK_TIMEOUT | LS_ANSWER_TIMEOUT);

    if ((status & LS_ANSWER_OK) == 0) return 0;
    answer = link_.TakeAnswer(answer);
    return 1;
}

}  // namespace zr
