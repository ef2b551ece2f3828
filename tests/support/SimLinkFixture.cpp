#include "support/SimLinkFixture.h"

#include "link/LinkStatus.h"
#include "model/RegisterMap.h"
#include "model/SimClSerial.h"
#include "params/CameraParamTable.h"

namespace zr::test {

namespace {
constexpr uint32_t kSerialIndex = 0;
}

SimLinkFixture::SimLinkFixture(Clock* otherClock)
    : clock(otherClock ? *otherClock : manualClock),
      sink(&clock),
      relay(sink),
      camera(clock),
      link(relay, clock) {
    sim::attachModel(kSerialIndex, &camera);
}

SimLinkFixture::~SimLinkFixture() {
    close();
    sim::attachModel(kSerialIndex, nullptr);
}

bool SimLinkFixture::open() {
    const ClSerialFunctions& fns = sim::inProcessClFunctions();
    void* ref = nullptr;
    if (!fns.serialInit || fns.serialInit(kSerialIndex, &ref) != 0) return false;
    if (!link.startOnBoardPort(fns, ref)) {
        if (fns.serialClose) fns.serialClose(ref);
        return false;
    }
    link.clearWaitingFlags();
    return true;
}

void SimLinkFixture::close() {
    manualClock.release();
    link.CloseLink();
}

uint32_t SimLinkFixture::sendAndWait(std::string_view text) {
    // As ReadRegister does: clear only once an earlier exchange has ended, or
    // its late time-out bit would be taken for this command's.
    link.waitUntilIdle();
    return zr::test::sendAndWait(link, text);
}

std::vector<std::string> SimLinkFixture::sentTexts() {
    sendAndWait("8104000000");
    auto texts = camera.commandTexts();
    texts.pop_back();
    return texts;
}

uint32_t sendAndWait(SerialLink& link, std::string_view text) {
    link.clearStatus();
    if (link.SendCommand(text) != 0) return 0;
    uint32_t seen = 0;
    for (;;) {
        link.waitLinkEvent();
        const uint32_t copy = link.fetchAndClearStatus();
        seen |= copy;
        if (copy & (LS_ANSWER_OK | LS_ACK_TIMEOUT | LS_ANSWER_TIMEOUT)) return seen;
    }
}

void setCameraRow(sim::CameraModel& camera, int row, int value) {
    const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
    camera.setReg(p.writeArea, p.address, sim::RegisterMap::pack(value, p.dataBytes() == 2));
}

}  // namespace zr::test
