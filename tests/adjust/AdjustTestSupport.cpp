#include "AdjustTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <thread>

#include "link/SystemClock.h"
#include "model/SimClSerial.h"
#include "support_qt/SimPanelPort.h"

namespace adjust_test {

void pressKey(QWidget* widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) pressKey(widget, c.toUpper().unicode(), QString(c));
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void AdjustWindowTest::SetUp() {
    camera = std::make_unique<zr::sim::CameraModel>(zr::SystemClock::instance());
    zr::sim::attachModel(0, camera.get());
    panel = std::make_unique<CZR_K880TM_ControlDlg>();
    panel->messages().setSink(sink);
    window = std::make_unique<CAdjust>(panel.get());
    ASSERT_TRUE(window->CreateModeless(panel->toolContext()));
    window->show();
    openLink();
}

void AdjustWindowTest::TearDown() {
    window.reset();
    closeLink();
    panel.reset();
    zr::sim::attachModel(0, nullptr);
}

void AdjustWindowTest::openLink() {
    ASSERT_TRUE(zr::test::openSimPort(*panel));
}

void AdjustWindowTest::closeLink() {
    if (!panel) return;
    panel->link().CloseLink();
    panel->portOpen = 0;
}

void AdjustWindowTest::settle() {
    zr::SerialLink& link = panel->link();
    ASSERT_TRUE(waitFor([&] { return !link.isOpen() || !link.inExchange(); }));
}

std::vector<std::string> AdjustWindowTest::takeSent() {
    settle();
    auto texts = camera->commandTexts();
    camera->clearLog();
    return texts;
}

void AdjustWindowTest::click(int id) {
    auto* button = window->control<QAbstractButton>(id);
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

QString AdjustWindowTest::text(int id) {
    QWidget* widget = window->control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    ADD_FAILURE() << "no text control " << id;
    return {};
}

bool AdjustWindowTest::enabled(int id) {
    return window->control(id)->isEnabled();
}

void AdjustWindowTest::enterAdjustMode(int stepId) {
    click(adjust_id::ADJUST_MODE_ON);
    click(stepId);
    takeSent();
    sink.clear();
}

}  // namespace adjust_test
