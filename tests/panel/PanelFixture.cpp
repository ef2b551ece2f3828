#include "PanelFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <thread>

#include "link/SystemClock.h"
#include "model/SimClSerial.h"
#include "params/CameraParamTable.h"

namespace zr::test {

namespace {
constexpr uint32_t kSerialIndex = 0;
}

void PanelTest::SetUp() {
    camera = std::make_unique<sim::CameraModel>(SystemClock::instance());
    sim::attachModel(kSerialIndex, camera.get());
    panel = std::make_unique<CZR_K880TM_ControlDlg>();
    panel->messages().setSink(sink);
    ASSERT_TRUE(openLink());
}

void PanelTest::TearDown() {
    panel->link().CloseLink();
    panel.reset();
    sim::attachModel(kSerialIndex, nullptr);
    camera.reset();
}

bool PanelTest::openLink() {
    const ClSerialFunctions& fns = sim::inProcessClFunctions();
    void* ref = nullptr;
    if (!fns.serialInit || fns.serialInit(kSerialIndex, &ref) != 0) return false;
    if (!panel->link().startOnBoardPort(fns, ref)) {
        fns.serialClose(ref);
        return false;
    }
    panel->link().clearWaitingFlags();
    panel->portOpen = 1;
    return true;
}

void PanelTest::settle() {
    SerialLink& link = panel->link();
    // Bounded so that a broken link fails the test instead of hanging it.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (link.inExchange() && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(link.inExchange());
}

std::vector<std::string> PanelTest::sent() {
    settle();
    return camera->commandTexts();
}

void PanelTest::clearSent() {
    settle();
    camera->clearLog();
}

void PanelTest::setCameraRow(int row, int value) {
    const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
    const uint32_t bytes = p.maxValue > 255
                               ? (static_cast<uint32_t>(value) >> 8 << 16) | ((value & 0xFF) << 8)
                               : static_cast<uint32_t>(value) << 16;
    camera->setReg(p.writeArea, p.address, bytes);
}

void PanelTest::readFromCamera() {
    panel->bulk().ReadFromCamera();
    settle();
}

QAbstractButton* PanelTest::button(int id) const {
    return qobject_cast<QAbstractButton*>(panel->control(id));
}

QScrollBar* PanelTest::scrollBar(int id) const {
    return qobject_cast<QScrollBar*>(panel->control(id));
}

QString PanelTest::text(int id) const {
    auto* label = qobject_cast<QLabel*>(panel->control(id));
    return label ? label->text() : QString();
}

bool PanelTest::enabled(int id) const {
    return panel->control(id)->isEnabled();
}

bool PanelTest::checked(int id) const {
    return button(id)->isChecked();
}

std::string expectedWrite(int row, int value) {
    const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
    char text[16];
    if (p.maxValue > 255) {
        std::snprintf(text, sizeof text, "%02X%02X%02X%02X00", p.writeArea, p.address,
                      (value >> 8) & 0xFF, value & 0xFF);
    } else {
        std::snprintf(text, sizeof text, "%02X%02X%02X0000", p.writeArea, p.address, value & 0xFF);
    }
    return text;
}

}  // namespace zr::test
