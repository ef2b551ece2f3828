#include "PanelFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>

#include "link/SystemClock.h"
#include "model/SimClSerial.h"
#include "params/CameraParamTable.h"
#include "support/Eventually.h"
#include "support/WireText.h"
#include "support_qt/SimPanelPort.h"

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
    return openSimPort(*panel);
}

void PanelTest::settle() {
    // Bounded so that a broken link fails the test instead of hanging it.
    ASSERT_TRUE(eventually([&] { return !panel->link().inExchange(); }));
}

std::vector<std::string> PanelTest::sent() {
    settle();
    return camera->commandTexts();
}

void PanelTest::clearSent() {
    settle();
    camera->clearLog();
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
    return expectedWrite(CameraParamTable::defaults()[static_cast<size_t>(row)], value);
}

}  // namespace zr::test
