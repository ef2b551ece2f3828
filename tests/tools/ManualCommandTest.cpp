#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "SimPanelTest.h"
#include "tools/CManualCommand.h"
#include "tools/ManualCommandForm.h"

using zr::tools::readFormOf;

TEST(ManualReadForm, FirstDigitGetsTheReadBitTheRestStaysAsTyped) {
    const struct {
        const char* typed;
        const char* form;
    } cases[] = {
        {"", "8"},
        {"014C", "814C"},
        {"014c", "814c"},
        {"2a00", "Aa00"},
        {"814C", "814C"},
        {"f1", "F1"},
        {"7", "F"},
        {"G14C", "814C"},
        {":1", "81"},
        {"\xC3\xA9"
         "14C",
         "814C"},
        {"\xF0\x9F\x98\x80"
         "1",
         "81"},
    };
    for (const auto& c : cases) EXPECT_EQ(readFormOf(c.typed), c.form) << c.typed;
    EXPECT_EQ(zr::tools::answerText({0x12, 0xAB, 0x00}), "12AB00");
}

class ManualCommandTest : public SimPanelTest {
  protected:
    void SetUp() override {
        SimPanelTest::SetUp();
        panel.OpenManualCommand();
        w = panel.manualCommandWindow();
        ASSERT_NE(w, nullptr);
    }
    QLineEdit* field(int id) { return qobject_cast<QLineEdit*>(w->control(id)); }
    void type(const QString& text) {
        field(CManualCommand::IDC_COMMAND)->clear();
        QTest::keyClicks(field(CManualCommand::IDC_COMMAND), text);
    }
    void click(int id) { qobject_cast<QAbstractButton*>(w->control(id))->click(); }

    QPointer<CManualCommand> w;
};

TEST_F(ManualCommandTest, TemplateHasItsCaptionAndControls) {
    EXPECT_EQ(w->windowTitle(), "MANUAL COMMAND");
    for (int id : {1035, 1039, 2}) EXPECT_TRUE(w->control(id)->inherits("QPushButton")) << id;
    EXPECT_FALSE(field(1036)->isReadOnly());
    EXPECT_TRUE(field(1037)->isReadOnly());
}

TEST_F(ManualCommandTest, ReadSendsTheReadFormAndShowsTheCamerasBytes) {
    camera.setReg(0x01, 0x4C, 0x12AB34);
    type("014c");
    click(CManualCommand::IDC_READ);
    EXPECT_EQ(sent(), std::vector<std::string>{"814C000000"});
    EXPECT_EQ(w->answerText(), "12AB34");
}

TEST_F(ManualCommandTest, FailedReadShowsNoBytes) {
    camera.setReg(0x01, 0x4C, 0x12AB34);
    type("014C");
    click(CManualCommand::IDC_READ);
    ASSERT_EQ(w->answerText(), "12AB34");
    type("01G");
    click(CManualCommand::IDC_READ);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Character error."});
    EXPECT_EQ(w->answerText(), "");
}

TEST_F(ManualCommandTest, ReadWithAnEmptyFieldIsTooShort) {
    click(CManualCommand::IDC_READ);
    ASSERT_EQ(sink.count(), 1u);
    EXPECT_EQ(sink.messages()[0].message.text, "Command Length error.");
    EXPECT_EQ(sink.messages()[0].message.caption, "Command ERROR");
    EXPECT_TRUE(sent().empty());
}

TEST_F(ManualCommandTest, WriteHandsTheTextToTheLinkUnchanged) {
    const struct {
        const char* typed;
        const char* onWire;
    } cases[] = {
        {"0108050000FF", "0108050000"}, {"0108aa", "0108AA0000"}, {"014c7f", "014C7F0000"}};
    for (const auto& c : cases) {
        camera.clearLog();
        type(c.typed);
        click(CManualCommand::IDC_WRITE);
        EXPECT_EQ(sent(), std::vector<std::string>{c.onWire}) << c.typed;
    }
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(ManualCommandTest, EachNonAsciiCharacterTypedIsOneCharacterError) {
    const struct {
        QString typed;
        size_t boxes;
    } cases[] = {{QString::fromUtf8("01\xC3\xA9"
                                    "8050000"),
                  1},
                 {QString::fromUtf8("0\xF0\x9F\x98\x80"
                                    "18"),
                  1},
                 {QString::fromUtf8("01\xC3\xA9\xE4\xB8\xAD"
                                    "00"),
                  2}};
    for (const auto& c : cases) {
        sink.clear();
        // Typed through an input method: key clicks carry ASCII only.
        field(CManualCommand::IDC_COMMAND)->setText(c.typed);
        click(CManualCommand::IDC_WRITE);
        EXPECT_EQ(sink.countOf("Character error."), c.boxes) << c.typed.toStdString();
        EXPECT_EQ(sink.count(), c.boxes);
    }
    EXPECT_TRUE(sent().empty());
}

TEST_F(ManualCommandTest, EnterInTheFieldHidesAndSendsNothingEscapeHides) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        w->show();
        type("0108050000");
        QTest::keyClick(field(CManualCommand::IDC_COMMAND), key);
        EXPECT_FALSE(w->isVisible());
    }
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(panel.manualCommandWindow(), w);
}

TEST_F(ManualCommandTest, ReopeningAfterCloseClearsBothFields) {
    camera.setReg(0x01, 0x4C, 0x600000);
    type("014C");
    click(CManualCommand::IDC_READ);
    ASSERT_EQ(w->answerText(), "600000");
    click(CManualCommand::IDC_CLOSE);
    panel.OpenManualCommand();
    EXPECT_TRUE(w.isNull());
    w = panel.manualCommandWindow();
    EXPECT_EQ(w->commandText(), "");
    EXPECT_EQ(w->answerText(), "");
}
