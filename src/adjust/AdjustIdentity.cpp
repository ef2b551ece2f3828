#include "adjust/AdjustIdentity.h"

#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>
#include <string_view>

#include "adjust/AdjustControlIds.h"
#include "params/ParamAccess.h"
#include "params/RegisterText.h"
#include "widgets/ToolWindow.h"

using namespace adjust_id;

namespace {

// Text register bytes for display. Bytes outside printable ASCII have no
// agreed character on this side; they show as the replacement character
// rather than as some guess.
QString displayText(const std::string& bytes) {
    QString text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x20 && byte <= 0x7E) ? QChar(byte) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

}  // namespace

void AdjustIdentity::read() {
    zr::ParamAccess& params = *window_.context.params;
    // Vendor and model: up to eight registers, ending after the first one
    // that holds a zero byte; the serial number: always all four.
    auto readText = [&params](int firstRow, int rows,
                              bool endAtZero) -> std::optional<std::string> {
        std::string text;
        for (int row = firstRow; row < firstRow + rows; ++row) {
            int32_t value = 0;
            if (params.ReadParam(row, value) != 0) return std::nullopt;
            text += register_text::chars(value);
            if (endAtZero &&
                (register_text::highByte(value) == 0 || register_text::lowByte(value) == 0)) {
                break;
            }
        }
        return register_text::cutAtZero(text);
    };
    auto readPair = [&params](int row, int32_t& first, int32_t& second) {
        return params.ReadParam(row, first) == 0 && params.ReadParam(row + 1, second) == 0;
    };
    auto show = [this](int id, const std::string& bytes) {
        window_.control<QLabel>(id)->setText(displayText(bytes));
    };
    const std::string names[] = {"****************", "******", "********"};

    show(VENDOR, readText(zr::ROW_VENDOR_NAME, zr::NameRegisterRows, true).value_or(names[0]));
    show(MODEL, readText(zr::ROW_MODEL_NAME, zr::NameRegisterRows, true).value_or(names[0]));

    int32_t first = 0;
    int32_t second = 0;
    show(CPU_VERSION, readPair(zr::ROW_CPU_VERSION, first, second)
                          ? register_text::cpuVersion(first, second)
                          : names[1]);
    show(FPGA_VERSION, readPair(zr::ROW_FPGA_VERSION, first, second)
                           ? register_text::fpgaVersion(first, second)
                           : names[1]);

    show(SERIAL_NUMBER,
         readText(zr::ROW_SERIAL_NUMBER, zr::SerialNumberRows, false).value_or(names[2]));
}

bool AdjustIdentity::writeSerialNumber() {
    const QByteArray text = window_.control<QLineEdit>(SERIAL_EDIT)->text().toUtf8();
    const auto registers =
        register_text::serialRegisters(std::string_view(text.constData(), text.size()));
    if (!registers) return false;
    for (int i = 0; i < zr::SerialNumberRows; ++i)
        window_.context.params->WriteParam(zr::ROW_SERIAL_NUMBER + i, (*registers)[i]);
    return true;
}
