#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>

#include "SetupFixture.h"
#include "link/ComPort.h"
#include "link/SystemClock.h"
#include "panel/CZR_K880TM_ControlApp.h"
#include "panel/ConnectionStatusLine.h"
#include "panel/PanelControlIds.h"
#include "setup/CSelect.h"
#include "setup/SerialPortCommand.h"

namespace {

using SerialPortCommand = SetupFixture;

void clickInDialog(std::initializer_list<int> ids, std::function<void(CSelect*)> before = {}) {
    std::vector<int> clicks(ids);
    whenModal<CSelect>([clicks, before](CSelect* d) {
        if (before) before(d);
        for (int id : clicks) static_cast<QAbstractButton*>(d->control(id))->click();
    });
}

// What the panel's status line says now.
std::string statusLine(CZR_K880TM_ControlDlg& panel) {
    auto* line = panel.findChild<zr::panel::ConnectionStatusLine*>();
    if (line == nullptr) return "(none)";
    line->refresh();
    return line->text().toStdString();
}

// Sets shutter speed (row 4) to 5 in the camera on COMn over a link of its own.
void presetShutter(int port) {
    zr::test::RecordingSink sink;
    zr::MessageRelay relay(sink);
    zr::SerialLink link(relay, zr::SystemClock::instance());
    zr::ParamAccess params(link);
    ASSERT_EQ(zr::OpenComPort(link, "COM" + std::to_string(port) + " 9600"), 0);
    ASSERT_EQ(params.WriteParam(4, 5), 0);
    int32_t value = 0;
    ASSERT_EQ(params.ReadParam(4, value), 0);  // also waits until the write was answered
    link.CloseLink();
}

TEST_F(SerialPortCommand, SavedComPortOpensOnOkAndThePanelShowsTheCamera) {
    const QString tty = startCamera(3);
    EXPECT_EQ(statusLine(*panel), "No port open");
    presetShutter(3);
    const int before = cameraLog(3).size();
    writeProfile(2);
    clickInDialog({CSelect::IdOk}, [](CSelect* d) {
        EXPECT_TRUE(static_cast<QAbstractButton*>(d->control(CSelect::IdCom1 + 2))->isChecked());
    });
    zr::SerialPortCommand::run(panel->setupContext());

    EXPECT_EQ(panel->portOpen, 1);
    EXPECT_TRUE(panel->link().isOpen());
    EXPECT_TRUE(sink.texts().empty());
    const QStringList reads = cameraLog(3).mid(before);
    ASSERT_EQ(reads.size(), 53);  // every user setting, in table order
    for (int row = 0; row < 53; ++row) {
        EXPECT_EQ(reads[row].toStdString(), zr::ParamAccess::readText(panel->table()[row])) << row;
    }
    EXPECT_EQ(panel->table()[4].value, 5);
    auto* shutter1000 = static_cast<QAbstractButton*>(panel->control(zr::panel::IDC_SHUTTER_1000));
    ASSERT_NE(shutter1000, nullptr);
    EXPECT_TRUE(shutter1000->isChecked());
    EXPECT_EQ(readProfile().toInt(), 2);
    EXPECT_EQ(statusLine(*panel), "COM3 (" + tty.toStdString() + ") 9600 bit/s");
}

TEST_F(SerialPortCommand, CloseShowsPortIsClosedAndKeepsTheProfile) {
    startCamera(3);
    for (bool wasOpen : {false, true}) {
        if (wasOpen) {
            ASSERT_EQ(zr::OpenComPort(panel->link(), "COM3 9600"), 0);
            panel->portOpen = 1;
        }
        sink.clear();
        clickInDialog({CSelect::IdClose, CSelect::IdOk});
        zr::SerialPortCommand::run(panel->setupContext());

        ASSERT_EQ(sink.count(), 1u);
        const zr::Message shown = sink.messages()[0].message;
        EXPECT_EQ(shown.text, "Port is closed");
        EXPECT_EQ(shown.caption, "ZR_K880TM_Control");
        EXPECT_EQ(shown.icon, zr::MsgIcon::None);
        EXPECT_EQ(shown.buttons, zr::MsgButtons::Ok);
        EXPECT_EQ(shown.owner, static_cast<const QWidget*>(panel.get()));
        EXPECT_EQ(panel->portOpen, 0);
        EXPECT_FALSE(panel->link().isOpen());
        EXPECT_FALSE(readProfile().isValid());
        EXPECT_EQ(statusLine(*panel), "No port open");
    }
}

TEST_F(SerialPortCommand, HeldComPortGivesPortOpenErrorAndNothingIsRead) {
    const QString tty = startCamera(3);
    int holder = -1;
    clickInDialog({CSelect::IdOk}, [&](CSelect*) {
        // Another program takes the port while the dialog is up.
        holder = ::open(tty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    });
    zr::SerialPortCommand::run(panel->setupContext());
    ::close(holder);

    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Port Open Error"});
    EXPECT_EQ(panel->portOpen, 0);
    EXPECT_FALSE(panel->link().isOpen());
    EXPECT_TRUE(cameraLog(3).isEmpty());
}

TEST_F(SerialPortCommand, ClAllOpensTheCommonLibraryAndReads) {
    const QString log = dir.filePath("cl.log");
    setenv("ZR_SIM_CL_LOG", log.toLocal8Bit().constData(), 1);
    writeProfile(14);
    clickInDialog({CSelect::IdBaud115200, CSelect::IdOk});
    zr::SerialPortCommand::run(panel->setupContext());
    EXPECT_EQ(panel->portOpen, 1);
    EXPECT_TRUE(panel->link().isOpen());
    EXPECT_TRUE(sink.texts().empty());
    QFile received(log);
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString(received.readAll()).count('\n'), 53);
    EXPECT_EQ(statusLine(*panel), "CL ALL port 0");
}

// The maker's buttons name their libraries; "Other Factory" takes the file.
TEST_F(SerialPortCommand, MakerButtonsOpenTheirLibraries) {
    const std::pair<int, const char*> missing[] = {{CSelect::IdEuresys, "clseremc.dll"},
                                                   {CSelect::IdMatrox, "clsermtx.dll"}};
    for (auto [id, file] : missing) {
        sink.clear();
        clickInDialog({id, CSelect::IdOk});
        zr::SerialPortCommand::run(panel->setupContext());
        EXPECT_EQ(sink.texts(), std::vector<std::string>{std::string(file) + " does not exist."});
        EXPECT_EQ(panel->portOpen, 0);
    }
    sink.clear();
    const QString library = QString(std::getenv("ZR_SIM_DIR")) + "/cl/libclallserial.so";
    whenModal<CSelect>([library](CSelect* d) {
        static_cast<QAbstractButton*>(d->control(CSelect::IdOtherFactory))->click();
        static_cast<QLineEdit*>(d->control(CSelect::IdDllPath))->setText(library);
        static_cast<QAbstractButton*>(d->control(CSelect::IdOk))->click();
    });
    zr::SerialPortCommand::run(panel->setupContext());
    EXPECT_TRUE(sink.texts().empty());
    EXPECT_EQ(panel->portOpen, 1);
    EXPECT_TRUE(panel->link().isOpen());
    EXPECT_EQ(statusLine(*panel), library.toStdString());
}

// The application runs the setup dialog before the panel shows; the panel then
// appears filled from the camera, or in its template state after a cancel.
TEST_F(SerialPortCommand, TheSetupDialogComesFirstAndThePanelAppearsFilledOrEmpty) {
    writeProfile(14);
    for (bool open : {false, true}) {
        SCOPED_TRACE(open);
        panel->hide();
        bool panelShownDuringSetup = true;
        bool anyButtonChecked = false;
        bool panelShownAfterwards = false;
        whenModal<CSelect>([&](CSelect* d) {
            panelShownDuringSetup = panel->isVisible();
            static_cast<QAbstractButton*>(d->control(open ? CSelect::IdOk : CSelect::IdCancel))
                ->click();
            whenModal<CZR_K880TM_ControlDlg>([&](CZR_K880TM_ControlDlg* shown) {
                panelShownAfterwards = shown == panel.get() && shown->isVisible();
                const int ids[] = {zr::panel::IDC_TRIG_OFF, zr::panel::IDC_TRIG_FIXED,
                                   zr::panel::IDC_TRIG_1TRIG, zr::panel::IDC_TRIG_VD_CONT};
                for (int id : ids) {
                    anyButtonChecked |=
                        static_cast<QAbstractButton*>(shown->control(id))->isChecked();
                }
                shown->reject();
            });
        });
        CZR_K880TM_ControlApp::runPanel(*panel);

        EXPECT_FALSE(panelShownDuringSetup);
        EXPECT_TRUE(panelShownAfterwards);
        EXPECT_EQ(anyButtonChecked, open);
        EXPECT_EQ(panel->portOpen, open ? 1 : 0);
        EXPECT_TRUE(sink.texts().empty());
        panel->link().CloseLink();
    }
}

TEST_F(SerialPortCommand, CancelChangesNothing) {
    clickInDialog({CSelect::IdCancel});
    zr::SerialPortCommand::run(panel->setupContext());
    EXPECT_EQ(panel->portOpen, 0);
    EXPECT_EQ(sink.count(), 0u);
    EXPECT_FALSE(readProfile().isValid());
}

}  // namespace
