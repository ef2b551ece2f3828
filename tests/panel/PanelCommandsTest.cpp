// Buttons, memory box, menu 128, accelerators, About box and the close-link request.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>  // declares qt_handleKeyEvent, the toolkit's entry for a key from the window system
#include <QTimer>
#include <QWindow>
#include <chrono>

#include "PanelFixture.h"
#include "panel/ConnectionStatusLine.h"
#include "panel/PanelControlIds.h"

using namespace zr::panel;

namespace zr::test {
namespace {

class PanelCommands : public PanelTest {
  protected:
    QComboBox* memoryBox() { return qobject_cast<QComboBox*>(panel->control(IDC_MEMORY_SELECT)); }

    // Closes the next modal dialog as soon as it is up and returns its title;
    // `labels` gets the texts it showed.
    QString titleOfNextModal(const std::function<void()>& open, QStringList* labels = nullptr) {
        QString title;
        QTimer::singleShot(0, [&title, labels] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                title = modal->windowTitle();
                if (labels) {
                    for (QLabel* label : modal->findChildren<QLabel*>()) *labels << label->text();
                }
                modal->close();
            }
        });
        open();
        return title;
    }

    // The status line as it reads after its next poll.
    std::string statusLine() {
        auto* line = panel->findChild<ConnectionStatusLine*>();
        if (line == nullptr) return "(none)";
        line->refresh();
        return line->text().toStdString();
    }

    std::vector<std::string> writesOfRows0To49() {
        std::vector<std::string> frames;
        for (int row = 0; row <= 49; ++row) {
            frames.push_back(expectedWrite(row, panel->table()[row].value));
        }
        return frames;
    }
};

TEST_F(PanelCommands, SaveWithFile2SendsItsNumberAndDefaultDisablesSave) {
    memoryBox()->setCurrentIndex(2);
    EXPECT_TRUE(enabled(IDC_MEMORY_SAVE));
    button(IDC_MEMORY_SAVE)->click();
    EXPECT_EQ(sent(), std::vector<std::string>{"0103020000"});
    memoryBox()->setCurrentIndex(0);
    EXPECT_FALSE(enabled(IDC_MEMORY_SAVE));
}

TEST_F(PanelCommands, LoadWritesTheMemoryThenReadsEveryUserRow) {
    memoryBox()->setCurrentIndex(3);
    button(IDC_MEMORY_LOAD)->click();
    const std::vector<std::string> frames = sent();
    ASSERT_EQ(frames.size(), 54u);
    EXPECT_EQ(frames[0], "0102030000");
    EXPECT_EQ(frames[1], "8104000000");   // row 0
    EXPECT_EQ(frames[53], "8145000000");  // row 52
    EXPECT_EQ(text(IDC_MEMORY_CURRENT), "FILE 3");
}

TEST_F(PanelCommands, ATypedMemoryNameIsNoSelection) {
    memoryBox()->setCurrentIndex(1);
    memoryBox()->lineEdit()->setText("FILE 9");
    EXPECT_EQ(panel->selectedMemory(), -1);
    button(IDC_MEMORY_SAVE)->click();
    EXPECT_TRUE(sent().empty());
    ASSERT_EQ(sink.count(), 1u);
    EXPECT_EQ(sink.texts()[0], "Setting value is out of range");
}

TEST_F(PanelCommands, AdjustButtonsWriteOnlyTheirCommand) {
    button(IDC_WB_ADJUST)->click();
    button(IDC_WSHADING_ADJUST)->click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"0129030000", "0153010000"}));
    EXPECT_EQ(panel->table()[zr::ROW_WHITE_BALANCE].value, 3);
    EXPECT_FALSE(checked(IDC_WB_ATW));  // no refresh, no state update
    EXPECT_TRUE(enabled(IDC_WB_RGAIN_SCROLL));
}

TEST_F(PanelCommands, MenuHoldsItsItemsAndTheSpecialMenuOnlyFactorySetting) {
    const auto menus = panel->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&Interface");
    EXPECT_EQ(menus[1]->text(), "&Help");
    EXPECT_EQ(menus[2]->text(), "&Special");

    QStringList special;
    for (QAction* item : menus[2]->menu()->actions()) special << item->text();
    EXPECT_EQ(special, QStringList{"&FACTORY SETTING"});
    EXPECT_EQ(panel->menuAction(ID_ALL_INITIALIZE), nullptr);

    QStringList interface;
    for (QAction* item : menus[0]->menu()->actions()) {
        interface << (item->isSeparator() ? "-" : item->text());
    }
    EXPECT_EQ(interface, (QStringList{"&Read From Camera\tCtrl+R", "&Write To Camera\tCtrl+W",
                                      "&Manual Command\tCtrl+M", "-", "Seria&l Port...\tCtrl+L ",
                                      "-", "Save Settings to File...", "Load Settings from File...",
                                      "Compare with File...", "Link &Trace..."}));
    EXPECT_EQ(panel->menuAction(ID_READ_FROM_CAMERA)->text(), "&Read From Camera\tCtrl+R");
    EXPECT_EQ(panel->menuAction(ID_SERIAL_PORT)->text(), "Seria&l Port...\tCtrl+L ");
    EXPECT_EQ(panel->menuAction(ID_APP_ABOUT)->text(), "&About ZR-K880TM Control");
    EXPECT_EQ(panel->menuAction(ID_FACTORY_SETTING)->text(), "&FACTORY SETTING");
}

TEST_F(PanelCommands, WriteToCameraFromTheMenuSendsRows0To49) {
    panel->menuAction(ID_WRITE_TO_CAMERA)->trigger();
    EXPECT_EQ(sent(), writesOfRows0To49());
}

TEST_F(PanelCommands, CtrlWSendsTheWritesLikeTheMenuItem) {
    panel->show();
    panel->activateWindow();
    QApplication::setActiveWindow(panel.get());
    QApplication::processEvents();
    QWindow* window = panel->windowHandle();
    ASSERT_NE(window, nullptr);
    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_W, Qt::ControlModifier);
    qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(sent(), writesOfRows0To49());
}

TEST_F(PanelCommands, AcceleratorIdsRouteToTheMenuActions) {
    panel->OnCommand(ID_ACCEL_READ);
    EXPECT_EQ(sent().size(), 53u);
    clearSent();
    panel->OnCommand(ID_ACCEL_WRITE);
    EXPECT_EQ(sent(), writesOfRows0To49());
}

TEST_F(PanelCommands, FactorySettingAsksFirstAndNoSendsNothing) {
    sink.script({MsgResult::No});
    panel->menuAction(ID_FACTORY_SETTING)->trigger();
    EXPECT_TRUE(sent().empty());
    ASSERT_EQ(sink.count(), 1u);
    EXPECT_EQ(sink.messages()[0].message.text, "Do you want to execute Factory Setting?");
    EXPECT_EQ(sink.messages()[0].message.owner, static_cast<const QWidget*>(panel.get()));
}

TEST_F(PanelCommands, HelpAndSystemCommand16OpenTheSameAboutBox) {
    QStringList labels;
    EXPECT_EQ(titleOfNextModal([&] { panel->menuAction(ID_APP_ABOUT)->trigger(); }, &labels),
              "About ZR_K880TM_Control");
    EXPECT_TRUE(labels.contains("ZR_K880TM_Control Version 1.1.2.0"));
    EXPECT_EQ(titleOfNextModal([&] { panel->OnSysCommand(IDM_ABOUTBOX); }),
              "About ZR_K880TM_Control");
    EXPECT_EQ(titleOfNextModal([&] { panel->OnSysCommand(0x001F); }), "About ZR_K880TM_Control");
    EXPECT_EQ(titleOfNextModal([&] { panel->OnSysCommand(0xF060); }), "");
    EXPECT_EQ(titleOfNextModal([&] { panel->OnSysCommand(0x0020); }), "");
}

TEST_F(PanelCommands, UserMessage1025ClosesTheLinkOthersDoNothing) {
    EXPECT_TRUE(panel->onUserMessage(1024));
    EXPECT_TRUE(panel->link().isOpen());
    EXPECT_TRUE(panel->onUserMessage(1025));
    EXPECT_FALSE(panel->link().isOpen());
    EXPECT_EQ(statusLine(), "No port open");
}

// The worker's time-out box is served by the idle user interface; from then
// until the next acknowledged exchange the status line says the camera is
// silent.
TEST_F(PanelCommands, AWorkerMessageIsShownWhileTheUserInterfaceIsIdle) {
    const struct {
        std::function<void(sim::FaultSettings&)> fault;
        bool read;  // a read of row 4, else a click on GAMMA ON, accepted at once
        const char* box;
    } cases[] = {
        {[](sim::FaultSettings& f) { f.silent = true; }, false, "There is no [ACK]"},
        {[](sim::FaultSettings& f) { f.cutNextAnswers = 1; }, true, "There is no [ANSWER DATA]"},
    };
    panel->port.setConnection("COM3 (/dev/ttyS2) 9600 bit/s");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        sink.clear();
        button(IDC_GAMMA_OFF)->click();
        settle();
        EXPECT_EQ(statusLine(), "COM3 (/dev/ttyS2) 9600 bit/s");

        camera->updateFaults(c.fault);
        if (c.read) {
            int32_t value = 0;
            EXPECT_NE(panel->params().ReadParam(4, value), 0);
        } else {
            button(IDC_GAMMA_ON)->click();
            EXPECT_TRUE(checked(IDC_GAMMA_ON));
        }
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (sink.count() == 0 && std::chrono::steady_clock::now() < giveUp) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        ASSERT_EQ(sink.texts(), std::vector<std::string>{c.box});
        settle();
        EXPECT_EQ(statusLine(), "COM3 (/dev/ttyS2) 9600 bit/s - no answer from the camera");

        camera->updateFaults([](sim::FaultSettings& f) { f = {}; });
        button(IDC_GAMMA_OFF)->click();
        settle();
        EXPECT_EQ(statusLine(), "COM3 (/dev/ttyS2) 9600 bit/s");
    }
}

TEST_F(PanelCommands, ConstructingThePanelSendsNothing) {
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(sink.count(), 0u);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace zr::test
