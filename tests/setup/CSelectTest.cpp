#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryFile>

#include "SetupFixture.h"
#include "setup/CSelect.h"

namespace {

QAbstractButton* button(const CSelect& d, int id) {
    return static_cast<QAbstractButton*>(d.control(id));
}
QComboBox* list(const CSelect& d, int id) {
    return static_cast<QComboBox*>(d.control(id));
}

// Which port buttons are checked, as radioChoice values.
std::vector<int> checkedPorts(const CSelect& d) {
    std::vector<int> checked;
    const int ids[] = {1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126,
                       1127, 1128, 1129, 1106, 1107, 1108, 1110};
    for (int i = 0; i < 15; ++i) {
        if (button(d, ids[i])->isChecked()) checked.push_back(i);
    }
    return checked;
}

bool enabled(const CSelect& d, std::initializer_list<int> ids, bool want) {
    for (int id : ids) {
        if (d.control(id)->isEnabled() != want) return false;
    }
    return true;
}
const std::initializer_list<int> kBaudSet = {1132, 1135, 1130};
const std::initializer_list<int> kLibrarySet = {1109, 1113, 2110};

using SetupDialog = SetupFixture;

TEST_F(SetupDialog, TemplateHasEveryControlWithItsCaption) {
    CSelect d(panel->setupContext());
    EXPECT_EQ(d.windowTitle(), "Select Communication System");
    const std::pair<int, const char*> captions[] = {
        {1119, "COM 1"},
        {1128, "COM 10"},
        {1129, "COM 11-"},
        {1106, "Euresys"},
        {1107, "Matrox"},
        {1108, "Other Factory"},
        {1110, "CL ALL"},
        {1132, " 9600"},
        {1133, "19200"},
        {1134, "38400"},
        {1135, "115200"},
        {1022, "OPEN"},
        {1023, "CLOSE"},
        {1, "OK"},
        {1112, "CANCEL"},
        {2110, "Browse"},
        {1131, "Select Board Maker"},
        {1118, "RS-232C Setting"},
        {1130, "Baud Rate"},
        {1117, "Open Port"},
        {1140, "CameraLink V1.1"},
    };
    for (auto [id, caption] : captions) {
        ASSERT_NE(d.control(id), nullptr) << id;
        auto* frame = qobject_cast<QGroupBox*>(d.control(id));
        EXPECT_EQ(frame ? frame->title() : d.control(id)->property("text").toString(), caption)
            << id;
    }
    EXPECT_EQ(static_cast<QLabel*>(d.control(1113))->text(), ".dll");
    EXPECT_TRUE(d.control(1129)->isHidden());
    EXPECT_TRUE(d.control(1270)->isHidden());
    EXPECT_TRUE(enabled(d, {1133, 1134, 1270}, false));
    ASSERT_EQ(list(d, 1270)->count(), 90);
    EXPECT_EQ(list(d, 1270)->itemText(0), "COM 11");
    EXPECT_EQ(list(d, 1270)->itemText(89), "COM 100");
    EXPECT_EQ(list(d, 1270)->itemData(89).toInt(), 100);
    EXPECT_EQ(d.control(4711), nullptr);
}

TEST_F(SetupDialog, FirstRunChecksHighestFreeComPortAndShowsItsDevice) {
    const QString com1 = startCamera(1);
    const QString com3 = startCamera(3);
    CSelect d(panel->setupContext());
    EXPECT_EQ(checkedPorts(d), std::vector<int>{2});
    EXPECT_EQ(d.TransportKind, CSelect::KindComPort);
    EXPECT_TRUE(enabled(d, {1119, 1121}, true));
    EXPECT_TRUE(enabled(d, {1120, 1122, 1123, 1124, 1125, 1126, 1127, 1128}, false));
    EXPECT_TRUE(enabled(d, kBaudSet, true));
    EXPECT_TRUE(button(d, 1132)->isChecked());
    EXPECT_TRUE(button(d, 1022)->isChecked());
    EXPECT_EQ(d.control(1119)->toolTip(), com1);
    EXPECT_EQ(d.control(1121)->toolTip(), com3);

    button(d, 1135)->click();
    button(d, 1)->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.openRequested, 1);
    EXPECT_EQ(d.baudRate, 115200);
    EXPECT_EQ(d.comNumber, 3);
    EXPECT_EQ(readProfile().toInt(), 2);
}

// The saved choice decides the checked button; values OK never writes count as none.
struct SavedCase {
    QVariant saved;
    std::vector<int> checked;
    int kind;
    bool baudSet;
};

TEST_F(SetupDialog, SavedChoiceSelectsTheButton) {
    startCamera(3);
    const SavedCase cases[] = {
        {2, {2}, CSelect::KindComPort, true},         {4, {11}, CSelect::KindBoardLibrary, false},
        {12, {12}, CSelect::KindBoardLibrary, false}, {13, {13}, CSelect::KindBoardLibrary, false},
        {14, {14}, CSelect::KindClAll, true},         {15, {2}, CSelect::KindComPort, true},
        {-7, {2}, CSelect::KindComPort, true},        {"x", {2}, CSelect::KindComPort, true},
    };
    for (const SavedCase& c : cases) {
        writeProfile(c.saved);
        CSelect d(panel->setupContext());
        EXPECT_EQ(checkedPorts(d), c.checked) << c.saved.toString().toStdString();
        EXPECT_EQ(d.TransportKind, c.kind) << c.saved.toString().toStdString();
        EXPECT_TRUE(enabled(d, kBaudSet, c.baudSet)) << c.saved.toString().toStdString();
        EXPECT_TRUE(enabled(d, kLibrarySet, false)) << c.saved.toString().toStdString();
        EXPECT_FALSE(d.control(1268)->isEnabled());
        EXPECT_TRUE(d.dllPath.isEmpty());
    }
}

TEST_F(SetupDialog, WhileThePortIsOpenNoComButtonIsOffered) {
    startCamera(3);
    writeProfile(2);
    panel->portOpen = 1;
    CSelect d(panel->setupContext());
    EXPECT_TRUE(enabled(d, {1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128}, false));
    EXPECT_TRUE(checkedPorts(d).empty());
    EXPECT_TRUE(button(d, 1022)->isChecked());
    EXPECT_EQ(d.TransportKind, CSelect::KindNone);
    button(d, 1)->click();
    EXPECT_EQ(d.openRequested, 1);
    EXPECT_EQ(readProfile().toInt(), 2);  // nothing chosen: the saved port stays
}

struct ClickCase {
    int id;
    bool baudSet, librarySet, portList;
    int kind;
};

TEST_F(SetupDialog, EachPortButtonSetsItsEnablingSets) {
    startCamera(3);
    const ClickCase cases[] = {
        {1121, true, false, false, CSelect::KindComPort},
        {1106, false, false, false, CSelect::KindBoardLibrary},
        {1107, false, false, false, CSelect::KindBoardLibrary},
        {1108, false, true, false, CSelect::KindBoardLibrary},
        {1110, true, false, true, CSelect::KindClAll},
    };
    CSelect d(panel->setupContext());
    for (const ClickCase& c : cases) {
        button(d, c.id)->click();
        EXPECT_TRUE(enabled(d, kBaudSet, c.baudSet)) << c.id;
        EXPECT_TRUE(enabled(d, kLibrarySet, c.librarySet)) << c.id;
        EXPECT_EQ(d.control(1268)->isEnabled(), c.portList) << c.id;
        EXPECT_EQ(d.TransportKind, c.kind) << c.id;
    }
    button(d, 1121)->click();
    EXPECT_EQ(d.comNumber, 3);
}

TEST_F(SetupDialog, CameraLinkPortsKeepIndexOrderAndShowTheirMaker) {
    setenv("ZR_SIM_CL_PORTS", "2", 1);
    setenv("ZR_SIM_CL_PORT_IDS", "zeta port;alpha port", 1);
    setenv("ZR_SIM_CL_MANUFACTURERS", "Maker Z;Maker A", 1);
    CSelect d(panel->setupContext());
    auto* ports = list(d, 1268);
    auto* maker = static_cast<QLabel*>(d.control(1269));
    ASSERT_EQ(ports->count(), 2);
    EXPECT_EQ(ports->itemText(0), "zeta port");
    EXPECT_EQ(ports->itemText(1), "alpha port");
    EXPECT_EQ(maker->text(), "Manufacture: Maker Z");
    EXPECT_TRUE(d.control(1110)->isEnabled());
    ports->setCurrentIndex(1);
    EXPECT_EQ(maker->text(), "Manufacture:Maker A");
    ports->setCurrentIndex(0);
    EXPECT_EQ(maker->text(), "Manufacture:Maker Z");
}

TEST_F(SetupDialog, PortListShowsAtMostTenPortsAndNotAvailableForNone) {
    setenv("ZR_SIM_CL_PORTS", "12", 1);
    {
        CSelect d(panel->setupContext());
        EXPECT_EQ(d.clPortCount, 12u);
        EXPECT_EQ(list(d, 1268)->count(), 10);
        EXPECT_EQ(list(d, 1268)->itemText(9), "camsim#9");
    }
    setenv("ZR_SIM_CL_PORTS", "0", 1);
    writeProfile(14);
    CSelect d(panel->setupContext());
    EXPECT_EQ(list(d, 1268)->count(), 1);
    EXPECT_EQ(list(d, 1268)->currentText(), "Not available");
    EXPECT_FALSE(d.control(1268)->isEnabled());
    EXPECT_FALSE(d.control(1110)->isEnabled());
    EXPECT_EQ(static_cast<QLabel*>(d.control(1269))->text(), "Manufacture:");
    EXPECT_EQ(checkedPorts(d), std::vector<int>{14});  // the saved choice still stands
}

TEST_F(SetupDialog, BrowseTakesTheChosenFileAndKeepsItOnCancel) {
    QTemporaryFile library(dir.filePath("XXXXXX.so"));
    ASSERT_TRUE(library.open());
    CSelect d(panel->setupContext());
    button(d, 1108)->click();
    whenModal<QFileDialog>([&](QFileDialog* files) {
        EXPECT_EQ(files->windowTitle(), "OPEN DLL FILE");
        EXPECT_EQ(files->nameFilters(), QStringList({"dll file (*.dll *.so)", "all file (*.*)"}));
        EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
        files->selectFile(library.fileName());
        QMetaObject::invokeMethod(files, "accept");
    });
    button(d, 2110)->click();
    EXPECT_EQ(d.dllPath, library.fileName());
    EXPECT_EQ(static_cast<QLineEdit*>(d.control(1109))->text(), library.fileName());
    whenModal<QFileDialog>([](QFileDialog* files) { files->reject(); });
    button(d, 2110)->click();
    EXPECT_EQ(d.dllPath, library.fileName());
    EXPECT_EQ(d.browseBusy, 0);
}

}  // namespace
