// The panel as built from its template: ids, texts, hidden controls, places.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include "PanelFixture.h"
#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"
#include "widgets/DialogUnits.h"

using namespace zr::panel;
using namespace zr::widgets;

namespace zr::test {
namespace {

class PanelTemplate : public PanelTest {
  protected:
    // Every control with an id, hidden ones included.
    std::vector<QWidget*> controls() const {
        std::vector<QWidget*> all;
        for (int id = 1; id <= 1300; ++id) {
            if (QWidget* w = panel->control(id)) all.push_back(w);
        }
        return all;
    }
};

TEST(DialogUnitsTest, ConvertsEdgesWithTheFontBaseUnits) {
    const DialogUnits units(7, 13);
    EXPECT_EQ(units.toPixelsX(494), 865);  // 864.5 rounds up
    EXPECT_EQ(units.toPixelsY(338), 549);  // 549.25 rounds down
    EXPECT_EQ(units.toPixels(QRect(7, 7, 108, 112)), QRect(12, 11, 189, 182));
    // Touching rectangles still touch.
    EXPECT_EQ(units.toPixels(QRect(7, 126, 108, 107)).bottom() + 1,
              units.toPixels(QRect(7, 233, 108, 39)).top());
}

TEST(DialogUnitsTest, BaseUnitsComeFromTheFont) {
    QFont font;
    font.setPointSize(8);
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(units.baseHeight(), metrics.height());
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(units.baseWidth(), (letters / 26 + 1) / 2);
}

TEST_F(PanelTemplate, CaptionIdsAndStartState) {
    EXPECT_EQ(panel->windowTitle(), "ZR_K880TM Control");
    EXPECT_EQ(controls().size(), 157u);
    for (const RadioBinding& b : radioBindings()) EXPECT_FALSE(checked(b.id)) << b.id;
    for (const ScrollBinding& b : scrollBindings()) {
        EXPECT_EQ(scrollBar(b.id)->value(), 0) << b.id;
        EXPECT_EQ(scrollBar(b.id)->minimum(), 0) << b.id;
        EXPECT_EQ(scrollBar(b.id)->maximum(), panel->table()[b.row].maxValue) << b.id;
    }
    EXPECT_EQ(scrollBar(IDC_GAIN_SCROLL)->maximum(), 341);
    EXPECT_EQ(scrollBar(IDC_VSHUTTER_SCROLL)->maximum(), 1536);
    EXPECT_EQ(scrollBar(IDC_KNEE_POINT_SCROLL)->maximum(), 32);
    EXPECT_EQ(scrollBar(IDC_KNEE_SLOPE_SCROLL)->maximum(), 159);
    EXPECT_EQ(text(IDC_SAT_YE_VALUE), "Static");
    EXPECT_EQ(text(IDC_HUE_R_VALUE), "Static");
    EXPECT_EQ(text(IDC_GAIN_VALUE), "");
    EXPECT_EQ(text(IDC_MEMORY_CURRENT), "DEFAULT");
    EXPECT_EQ(button(IDC_ALC_AGC_AES)->text(), "AGC&&AES");  // shown as AGC&AES

    auto* memory = qobject_cast<QComboBox*>(panel->control(IDC_MEMORY_SELECT));
    QStringList entries;
    for (int i = 0; i < memory->count(); ++i) entries << memory->itemText(i);
    EXPECT_EQ(entries, (QStringList{"DEFAULT", "FILE 1", "FILE 2", "FILE 3", "FILE 4"}));
    EXPECT_EQ(memory->currentIndex(), 0);
    EXPECT_TRUE(memory->isEditable());
}

TEST_F(PanelTemplate, PushLikeButtonsAndHiddenControls) {
    for (int id : {IDC_TRIG_OFF, IDC_TRIG_POSI, IDC_TRIG_9PIN, IDC_CL_FVAL, IDC_CL_36BIT,
                   IDC_OUT_FLASH, IDC_OUT_NEGA}) {
        auto* push = qobject_cast<QPushButton*>(panel->control(id));
        ASSERT_NE(push, nullptr) << id;
        EXPECT_TRUE(push->isCheckable()) << id;
    }
    EXPECT_NE(qobject_cast<QRadioButton*>(panel->control(IDC_SHUTTER_OFF)), nullptr);
    for (int id : {IDC_WB_GGAIN_LABEL, IDC_WB_GGAIN_VALUE, IDC_WB_GGAIN_SCROLL, IDCANCEL,
                   IDC_ADJUST, IDC_SMEAR_GROUP, IDC_SMEAR_OFF, IDC_SMEAR_ON}) {
        EXPECT_TRUE(panel->control(id)->isHidden()) << id;
    }
    EXPECT_FALSE(panel->control(IDC_WB_RGAIN_SCROLL)->isHidden());
}

TEST_F(PanelTemplate, VisibleControlsNeitherOverlapNorCutTheirText) {
    panel->show();
    std::vector<QWidget*> visible;
    for (QWidget* w : controls()) {
        if (!w->isHidden() && !qobject_cast<QGroupBox*>(w)) visible.push_back(w);
    }
    const QRect client = visible.front()->parentWidget()->rect();
    for (size_t i = 0; i < visible.size(); ++i) {
        const QRect a = visible[i]->geometry();
        EXPECT_TRUE(client.contains(a)) << visible[i]->objectName().toStdString();
        for (size_t j = i + 1; j < visible.size(); ++j) {
            EXPECT_FALSE(a.intersects(visible[j]->geometry()))
                << visible[i]->objectName().toStdString() << " / "
                << visible[j]->objectName().toStdString();
        }
        // Buttons' and labels' texts fit; read-outs are checked with their
        // longest texts below.
        const QString caption = qobject_cast<QAbstractButton*>(visible[i])
                                    ? qobject_cast<QAbstractButton*>(visible[i])->text()
                                    : QString();
        if (auto* radio = qobject_cast<QRadioButton*>(visible[i])) {
            EXPECT_LE(radio->sizeHint().width(), a.width()) << caption.toStdString();
        } else if (qobject_cast<QPushButton*>(visible[i])) {
            EXPECT_LE(
                visible[i]->fontMetrics().horizontalAdvance(QString(caption).replace("&&", "&")) +
                    6,
                a.width())
                << caption.toStdString();
        } else if (auto* label = qobject_cast<QLabel*>(visible[i])) {
            EXPECT_LE(label->sizeHint().width(), a.width()) << label->text().toStdString();
            EXPECT_LE(label->sizeHint().height(), a.height() + 2) << label->text().toStdString();
        }
    }
    // The longest read-outs fit.
    panel->ShowScrollValue(IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE, 0);
    panel->ShowScrollValue(IDC_GAIN_SCROLL, IDC_GAIN_VALUE, 341);
    panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 255);
    for (int id : {IDC_VSHUTTER_VALUE, IDC_GAIN_VALUE, IDC_BRIGHT_VALUE, IDC_SAT_R_VALUE,
                   IDC_PB_RED_VALUE, IDC_WB_RGAIN_VALUE}) {
        auto* label = qobject_cast<QLabel*>(panel->control(id));
        if (id == IDC_SAT_R_VALUE || id == IDC_PB_RED_VALUE || id == IDC_WB_RGAIN_VALUE) {
            label->setText(" 255 ");
        }
        EXPECT_LE(label->sizeHint().width(), label->width()) << id;
    }
}

TEST_F(PanelTemplate, ControlsKeepTheirPlacesWhenTheWindowIsResized) {
    panel->show();
    const QPoint before = panel->control(IDC_MEMORY_SAVE)->mapTo(panel.get(), QPoint(0, 0));
    panel->resize(panel->width() + 300, panel->height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(panel->control(IDC_MEMORY_SAVE)->mapTo(panel.get(), QPoint(0, 0)), before);
    // Nor does a long library path on the status line widen the window.
    const int width = panel->minimumSizeHint().width();
    panel->port.setConnection("/opt/" + QString(300, 'x') + "/libclserial.so");
    EXPECT_EQ(panel->minimumSizeHint().width(), width);
}

}  // namespace
}  // namespace zr::test
