#include "OperatorActions.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <cerrno>
#include <memory>

#include "SoakSession.h"
#include "adjust/AdjustControlIds.h"
#include "adjust/AdjustDataLog.h"
#include "adjust/CAdjust.h"
#include "panel/ConnectionStatusLine.h"
#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"
#include "panel/SettingsCompareDlg.h"
#include "panel/SettingsFileCommands.h"
#include "params/LutCsv.h"
#include "params/ParamNames.h"
#include "params/SettingsFile.h"
#include "support/FileText.h"
#include "tools/CLinkTrace.h"
#include "tools/CLookUpTable.h"
#include "tools/CManualCommand.h"
#include "tools/CWhiteSpot.h"
#include "tools/LutProgressDialog.h"

namespace zr::test {

using namespace zr::panel;

namespace {

constexpr QAbstractSlider::SliderAction kSliderActions[] = {
    QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
    QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
    QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum,
};

constexpr int kArrowKeys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                              Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};

QStyleOptionSlider sliderOption(QAbstractSlider* bar) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    return opt;
}

}  // namespace

OperatorActions::OperatorActions(SoakSession& session) : s_(session) {
    actions_ = {
        {"click radio", 20, [this] { clickRadio(); }},
        {"scroll bar action", 16, [this] { scrollAction(); }},
        {"hold scroll arrow", 4, [this] { holdScrollArrow(); }},
        {"drag scroll thumb", 5, [this] { dragScrollThumb(); }},
        {"scroll context menu", 5, [this] { scrollContextMenu(); }},
        {"wheel", 5, [this] { wheel(); }},
        {"arrow key", 8, [this] { arrowKey(); }},
        {"push button", 6, [this] { pushButton(); }},
        {"select memory", 3, [this] { selectMemory(); }},
        {"menu command", 5, [this] { menuCommand(); }},
        {"accelerator", 5, [this] { accelerator(); }},
        {"reopen port", 8, [this] { reopenPort(); }},
        {"port vanishes", 1, [this] { vanishPort(); }},
        {"look-up table", 9, [this] { lookUpTable(); }},
        {"look-up table drag", 4, [this] { lookUpTableDrag(); }},
        {"look-up table cancel", 3, [this] { lookUpTableCancel(); }},
        {"look-up table file", 3, [this] { lookUpTableFile(); }},
        {"white spot", 12, [this] { whiteSpot(); }},
        {"manual command", 10, [this] { manualCommand(); }},
        {"adjustment", 12, [this] { adjust(); }},
        {"adjustment log", 2, [this] { adjustSave(); }},
        {"adjustment drag", 4, [this] { adjustDrag(); }},
        {"white spot drag", 3, [this] { whiteSpotDrag(); }},
        {"settings file", 6, [this] { settingsFile(); }},
        {"link trace", 6, [this] { linkTrace(); }},
        {"close panel", 2, [this] { closePanel(); }},
        {"idle", 8, [this] { s_.idle(100 + s_.pick(500)); }},
    };
    for (const Action& a : actions_) totalWeight_ += a.weight;
}

const OperatorActions::Action& OperatorActions::pick() {
    int at = s_.pick(totalWeight_);
    for (const Action& a : actions_) {
        if (at < a.weight) return a;
        at -= a.weight;
    }
    return actions_.back();
}

std::string OperatorActions::doneSummary() const {
    std::string text;
    for (const auto& [what, count] : done_)
        text += (text.empty() ? "" : ", ") + what + " " + std::to_string(count);
    return text;
}

bool OperatorActions::reachable(QWidget* widget) const {
    return widget && widget->isVisible() && widget->isEnabled() && widget->window()->isVisible();
}

// A real mouse click, through the window system, so focus and modality act as
// they do for a person; radio buttons and check boxes near their indicator.
void OperatorActions::click(QWidget* widget) {
    if (!reachable(widget)) return;
    const bool indicator =
        (qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget));
    const QPoint at = indicator ? QPoint(6, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

// The operator's click on a panel control: the keys act on it from now on.
void OperatorActions::expectFocus(int id) {
    s_.lastClicked = id;
    QWidget* clicked = s_.panel->control(id);
    QWidget* focus = s_.panel->focusWidget();
    if (!reachable(clicked) || focus == clicked) return;
    s_.fail("a click on control " + std::to_string(id) + " left the keyboard focus on " +
            (focus ? std::string(focus->metaObject()->className()) + " \"" +
                         focus->objectName().toStdString() + "\""
                   : std::string("nothing")) +
            ": the arrow keys act on a control not clicked");
}

// --- the panel ----------------------------------------------------------------

void OperatorActions::clickRadio() {
    const auto radios = radioBindings();
    const int id = radios[static_cast<size_t>(s_.pick(static_cast<int>(radios.size())))].id;
    if (!reachable(s_.panel->control(id))) return;
    click(s_.panel->control(id));
    expectFocus(id);
}

namespace {
QScrollBar* anyScrollBar(SoakSession& s, int* id = nullptr) {
    const auto bars = scrollBindings();
    const int picked = bars[static_cast<size_t>(s.pick(static_cast<int>(bars.size())))].id;
    if (id) *id = picked;
    return qobject_cast<QScrollBar*>(s.panel->control(picked));
}
}  // namespace

void OperatorActions::scrollAction() {
    QScrollBar* bar = anyScrollBar(s_);
    if (!reachable(bar)) return;
    bar->triggerAction(kSliderActions[s_.pick(std::size(kSliderActions))]);
}

// Pressed on an arrow and held: the scroll bar repeats its step until the
// button comes up, while boxes may come and go.
void OperatorActions::holdScrollArrow() {
    int id = 0;
    QScrollBar* bar = anyScrollBar(s_, &id);
    if (!reachable(bar)) return;
    const QPoint at(s_.pick(2) ? 3 : bar->width() - 4, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, at);
    s_.idle(50 + s_.pick(500));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    expectFocus(id);
}

void OperatorActions::dragScrollThumb() {
    int id = 0;
    QScrollBar* bar = anyScrollBar(s_, &id);
    if (!reachable(bar)) return;
    QStyleOptionSlider opt = sliderOption(bar);
    const QRect thumb =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar);
    QPoint at = thumb.center();
    QTest::mousePress(bar, Qt::LeftButton, {}, at);
    for (int n = s_.pick(4); n >= 0; --n) {
        at.rx() = std::clamp(at.x() + s_.pick(41) - 20, 0, bar->width() - 1);
        QTest::mouseMove(bar, at);
        s_.idle(s_.pick(80));
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    expectFocus(id);
}

void OperatorActions::scrollContextMenu() {
    QScrollBar* bar = anyScrollBar(s_);
    if (!reachable(bar)) return;
    const QPoint at(s_.pick(bar->width()), bar->height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &event);
}

void OperatorActions::wheel() {
    QScrollBar* bar = anyScrollBar(s_);
    if (!reachable(bar)) return;
    const QPoint at = bar->rect().center();
    QWheelEvent event(at, bar->mapToGlobal(at), QPoint(), QPoint(0, s_.pick(2) ? 120 : -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &event);
}

// A key goes to the control that has the focus; after a click that is the
// control clicked, and no other row may change.
void OperatorActions::arrowKey() {
    QWidget* focus = s_.panel->focusWidget();
    if (!reachable(focus)) return;
    std::vector<int32_t> before;
    for (int row = 0; row < CameraParamTable::size(); ++row)
        before.push_back(s_.panel->table()[row].value);
    QApplication::setActiveWindow(s_.panel.get());
    QTest::keyClick(focus, static_cast<Qt::Key>(kArrowKeys[s_.pick(std::size(kArrowKeys))]));
    if (s_.lastClicked == 0) return;
    // A click moves the focus (expectFocus checks it); once the enabling
    // rules disable the clicked control the panel takes it, so the key
    // changes nothing but the clicked control's row. An arrow key on a push
    // button moves the focus on to the next control, as in any dialog: the
    // row of the control that had the focus may change too.
    int clickedRow = -1, focusedRow = -1;
    if (const RadioBinding* r = findRadio(s_.lastClicked)) clickedRow = r->row;
    if (const ScrollBinding* b = findScroll(s_.lastClicked)) clickedRow = b->row;
    for (const RadioBinding& r : radioBindings())
        if (s_.panel->control(r.id) == focus) focusedRow = r.row;
    for (const ScrollBinding& b : scrollBindings())
        if (s_.panel->control(b.id) == focus) focusedRow = b.row;
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        if (row != clickedRow && row != focusedRow &&
            s_.panel->table()[row].value != before[static_cast<size_t>(row)]) {
            s_.fail("an arrow key changed row " + std::to_string(row) +
                    " though the operator last clicked control " + std::to_string(s_.lastClicked) +
                    "; the key went to " + focus->metaObject()->className() + " \"" +
                    focus->objectName().toStdString() + "\"" +
                    (s_.panel->control(s_.lastClicked)->isEnabled()
                         ? ""
                         : " (the clicked one is disabled now)"));
        }
    }
}

void OperatorActions::pushButton() {
    const int ids[] = {IDC_WB_ADJUST, IDC_WSHADING_ADJUST, IDC_MEMORY_LOAD, IDC_MEMORY_SAVE};
    const int id = ids[s_.pick(std::size(ids))];
    if (!reachable(s_.panel->control(id))) return;
    click(s_.panel->control(id));
    expectFocus(id);
}

void OperatorActions::selectMemory() {
    auto* box = qobject_cast<QComboBox*>(s_.panel->control(IDC_MEMORY_SELECT));
    box->setCurrentIndex(s_.pick(box->count()));
}

void OperatorActions::menuCommand() {
    const int ids[] = {ID_READ_FROM_CAMERA, ID_WRITE_TO_CAMERA, ID_SERIAL_PORT,
                       ID_APP_ABOUT,        ID_FACTORY_SETTING, ID_MANUAL_COMMAND};
    if (QAction* item = s_.panel->menuAction(ids[s_.pick(std::size(ids))])) item->trigger();
}

void OperatorActions::accelerator() {
    const Qt::Key keys[] = {Qt::Key_R, Qt::Key_W, Qt::Key_L, Qt::Key_M};
    QApplication::setActiveWindow(s_.panel.get());
    QWidget* target = s_.panel->focusWidget() ? s_.panel->focusWidget() : s_.panel.get();
    QTest::keyClick(target, keys[s_.pick(std::size(keys))], Qt::ControlModifier);
}

void OperatorActions::reopenPort() {
    if (s_.panel->link().isOpen() && !s_.vanished()) return;
    // The port came back (or was closed): the operator opens it again.
    s_.panel->link().CloseLink();
    s_.openLink();
}

void OperatorActions::vanishPort() {
    if (s_.panel->link().isOpen()) s_.vanish();
}

// --- the look-up table editor -------------------------------------------------

void OperatorActions::lookUpTable() {
    CLookUpTable* lut = s_.panel->lookUpTableWindow();
    if (!lut || !lut->isVisible()) {
        click(s_.panel->control(IDC_LUT_TABLE));
        return;
    }
    const int ids[] = {CLookUpTable::IDC_READ,
                       CLookUpTable::IDC_WRITE,
                       CLookUpTable::IDC_STEP_16 + s_.pick(5),
                       CLookUpTable::IDC_SHOW_R + s_.pick(3),
                       CLookUpTable::IDC_GAMMA_045,
                       CLookUpTable::IDC_GAMMA_10,
                       CLookUpTable::IDC_CLOSE};
    // The walks over 768 entries are the slow ones: rarer.
    int pickIndex = s_.pick(12);
    pickIndex = pickIndex < 2 ? pickIndex : 2 + (pickIndex - 2) % 5;
    click(lut->control(ids[pickIndex]));
}

// A point dragged on the plot; boxes may come up while the button is held.
// Once the button is up, moving the mouse must change nothing.
void OperatorActions::lookUpTableDrag() {
    CLookUpTable* lut = s_.panel->lookUpTableWindow();
    if (!lut || !lut->isVisible()) return;
    const int index = std::min(255, lut->step * s_.pick(256 / lut->step + 1));
    const int channel = s_.pick(3);
    const int x = index == 255 ? 305 : 50 + index;
    QPoint at(x, 281 - lut->entries[channel][index]);
    QTest::mousePress(lut, Qt::LeftButton, {}, at);
    for (int n = s_.pick(3); n >= 0; --n) {
        at.ry() = 26 + s_.pick(256);
        QTest::mouseMove(lut, at);
        s_.idle(s_.pick(150));
    }
    QTest::mouseRelease(lut, Qt::LeftButton, {}, at);
    s_.idle(s_.pick(50));
    if (!lut->isVisible()) return;
    const LutTable before = lut->entries;
    QTest::mouseMove(lut, QPoint(at.x(), 26 + s_.pick(256)));
    if (lut->entries != before) {
        s_.fail("a mouse move with no button held changed the look-up table (point " +
                std::to_string(lut->selectedIndex) + ")");
    }
}

// READ or WRITE cancelled at a random entry, by the Cancel button or Escape
// in its progress dialog: the walk stops there (or sooner, at a failure), and
// what a READ took in is what the camera holds.
void OperatorActions::lookUpTableCancel() {
    CLookUpTable* lut = s_.panel->lookUpTableWindow();
    if (!lut || !lut->isVisible()) return;
    const bool read = s_.pick(2) == 0;
    // A read walk meets a camera fault that ends it within a few dozen
    // entries, mostly: cancel it early enough to come first.
    const int cancelAt = 1 + s_.pick(read ? 48 : 3 * kLutEntries);
    const bool byButton = s_.pick(2) == 0;
    int advanced = 0;
    bool cancelled = false;
    bool late = false;
    const int delay = lut->progressDelayMs;
    lut->progressDelayMs = 0;
    auto hook = QObject::connect(lut, &CLookUpTable::transferAdvanced, [&](int done, int) {
        advanced = done;
        if (cancelled) late = true;
        if (done != cancelAt) return;
        auto* dialog = lut->findChild<LutProgressDialog*>();
        if (!dialog || !dialog->isVisible()) return;
        cancelled = true;
        if (byButton) {
            click(dialog->findChild<QPushButton*>());
        } else {
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    click(lut->control(read ? CLookUpTable::IDC_READ : CLookUpTable::IDC_WRITE));
    QObject::disconnect(hook);
    lut->progressDelayMs = delay;
    if (late) {
        s_.fail("a cancelled look-up table walk went on after entry " + std::to_string(cancelAt));
    }
    if (!read || !lut->isVisible()) return;
    for (int n = 0; n < advanced; ++n) {
        const int c = n / kLutEntries;
        const int i = n % kLutEntries;
        const uint32_t held =
            s_.camera.reg(static_cast<uint8_t>(0x20 + c), static_cast<uint8_t>(i));
        if (lut->entries[c][i] != static_cast<int>(held >> 16)) {
            s_.fail("after a cancelled READ the editor's entry " + std::to_string(i) +
                    " of channel " + std::to_string(c) + " is not what the camera holds");
            return;
        }
    }
}

// OPEN of a good or a bad file, or SAVE; a rejected file leaves the editor's
// table as it was, a saved file holds the whole table.
void OperatorActions::lookUpTableFile() {
    CLookUpTable* lut = s_.panel->lookUpTableWindow();
    if (!lut || !lut->isVisible()) return;
    const std::string path = s_.folder + "/lut.csv";
    const LutTable before = lut->entries;
    const int kind = s_.pick(5);
    LutTable written = identityLut();
    if (kind == 0) {  // SAVE
        lut->setFileChooser([&](bool) { return QString::fromStdString(path); });
        click(lut->control(CLookUpTable::IDC_SAVE));
        LutTable saved{};
        const std::string text = readFile(path);
        if (!parseLutCsv(text, saved).ok() || saved != lut->entries) {
            s_.fail("the saved look-up table file does not hold the editor's table: \"" +
                    text.substr(0, 80) + "...\"");
        }
        return;
    }
    for (auto& channel : written) {
        for (auto& v : channel) v = static_cast<uint8_t>(s_.pick(256));
    }
    std::string text = formatLutCsv(written);
    if (kind == 2) text.replace(text.find('\n') + 1, 3, "300");            // out of range
    if (kind == 3) text.resize(text.size() / 2);                           // cut short
    if (kind == 4) text.resize(text.find('\n', text.find('\n') + 1) + 1);  // two lines
    writeFile(path, text);
    lut->setFileChooser([&](bool) { return QString::fromStdString(path); });
    click(lut->control(CLookUpTable::IDC_OPEN));
    if (!lut->isVisible()) return;
    if (kind == 1 && lut->entries != written)
        s_.fail("a good look-up table file was not taken in whole");
    const char* const kinds[] = {"", "", "a value of 300", "a file cut short", "a line missing"};
    if (kind > 1 && lut->entries != before) {
        s_.fail(std::string("a look-up table file with ") + kinds[kind] +
                " changed the editor's table");
    }
}

// --- white spot detection -----------------------------------------------------

void OperatorActions::whiteSpot() {
    CWhiteSpot* spot = s_.panel->whiteSpotWindow();
    if (!spot || !spot->isVisible()) {
        click(s_.panel->control(IDC_WSPOT_DETECT));
        return;
    }
    switch (s_.pick(6)) {
        case 0:
        case 1:
            click(spot->control(CWhiteSpot::IDC_DETECT));
            break;
        case 2:
            if (auto* bar = qobject_cast<QScrollBar*>(spot->control(CWhiteSpot::IDC_THRESHOLD));
                reachable(bar)) {
                bar->triggerAction(kSliderActions[s_.pick(std::size(kSliderActions))]);
            }
            break;
        case 3:
            click(spot->control(CWhiteSpot::IDC_READ));
            break;
        case 4:
            s_.idle(100 + s_.pick(400));  // watch the detection poll
            break;
        default:
            click(spot->control(CWhiteSpot::IDC_CLOSE));
            break;
    }
}

// --- manual command -------------------------------------------------------------

void OperatorActions::manualCommand() {
    CManualCommand* console = s_.panel->manualCommandWindow();
    if (!console || !console->isVisible()) {
        s_.panel->OpenManualCommand();
        return;
    }
    if (s_.pick(8) == 0) {
        click(console->control(CManualCommand::IDC_CLOSE));
        return;
    }
    // Register texts the table does not follow, valid and not.
    const char* const texts[] = {"0108050000", "8108000000", "0116010000", "9600000000",
                                 "01G8050000", "0108 50000", "01080500",   "010805000000",
                                 "",           "zz",         "8143000000", "2010400000"};
    auto* edit = qobject_cast<QLineEdit*>(console->control(CManualCommand::IDC_COMMAND));
    edit->setText(QString::fromLatin1(texts[s_.pick(std::size(texts))]));
    s_.tracker.setUntracked(true);
    click(console->control(s_.pick(2) ? CManualCommand::IDC_WRITE : CManualCommand::IDC_READ));
    SerialLink& link = s_.panel->link();
    while (link.inExchange()) s_.idle(1);
    s_.tracker.setUntracked(false);
}

// --- the adjustment window --------------------------------------------------------

void OperatorActions::adjust() {
    CAdjust* window = s_.panel->adjustWindow();
    if (!window || !window->isVisible()) {
        s_.panel->OpenAdjust();  // its panel button is hidden; the feature stays
        return;
    }
    using namespace adjust_id;
    switch (s_.pick(10)) {
        case 0:
            click(window->control(s_.pick(3) ? ADJUST_MODE_ON : ADJUST_MODE_OFF));
            break;
        case 1:
            click(window->control(STEP_VSUB + s_.pick(3)));
            break;
        case 2:
        case 3: {
            const int firsts[] = {VSUB_SLIDER_R, GAIN_SLIDER_R, HREG_SLIDER_R, VREG_SLIDER_R};
            auto* slider = window->control<QSlider>(firsts[s_.pick(4)] + s_.pick(3));
            if (reachable(slider))
                slider->triggerAction(kSliderActions[s_.pick(std::size(kSliderActions))]);
            break;
        }
        case 4:
            click(window->control(AUTO_ADJUST));
            s_.idle(s_.pick(400));
            break;
        case 5:
            click(window->control(READ));
            break;
        case 6:
            if (auto* edit = window->control<QLineEdit>(SERIAL_EDIT); reachable(edit)) {
                edit->setText(QString::number(s_.pick(100000)));
                click(window->control(SET_SERIAL));
            }
            break;
        case 7:
            click(window->control(CONTINUOUS));
            break;
        case 8:
            click(window->control(REGISTRATION_ON +
                                  (s_.pick(2) ? 0 : REGISTRATION_OFF - REGISTRATION_ON)));
            break;
        default:
            click(window->control(CLOSE));
            break;
    }
}

// The log goes to the run's folder; now and then the disk fills in the
// middle of a record. The file then still holds whole records only.
void OperatorActions::adjustSave() {
    CAdjust* window = s_.panel->adjustWindow();
    if (!window || !window->isVisible()) return;
    const std::string path = s_.folder + "/adjust.csv";
    window->dataLog().setPath(path);
    auto room = std::make_shared<long>(s_.pick(3) == 0 ? s_.pick(200) : 1L << 30);
    window->dataLog().setWriter([room](int fd, const void* data, size_t size) -> ssize_t {
        if (*room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const size_t now = std::min(size, static_cast<size_t>(*room));
        *room -= static_cast<long>(now);
        return ::write(fd, data, now);
    });
    click(window->control(adjust_id::SAVE_LOG));
    const std::string text = readFile(path);
    if (!text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)) {
        s_.fail("the adjustment log ends in the middle of a record: \"..." +
                text.substr(text.size() > 60 ? text.size() - 60 : 0) + "\"");
    }
}

// --- real drags on the thumbs of the tool windows ---------------------------------

// Pressed on the thumb, moved a few times (boxes may come and go meanwhile),
// let go where it was moved to.
void OperatorActions::dragThumb(QAbstractSlider* slider) {
    if (!reachable(slider)) return;
    const QPointer<QAbstractSlider> held(slider);
    // The control's own style options (a vertical track bar is drawn upside down).
    struct Options : QSlider {
        static void of(QSlider* s, QStyleOptionSlider* o) { (s->*(&Options::initStyleOption))(o); }
    };
    QStyleOptionSlider opt = sliderOption(slider);
    if (auto* track = qobject_cast<QSlider*>(slider)) Options::of(track, &opt);
    const bool bar = qobject_cast<QScrollBar*>(slider) != nullptr;
    const QRect thumb = slider->style()->subControlRect(
        bar ? QStyle::CC_ScrollBar : QStyle::CC_Slider, &opt,
        bar ? QStyle::SC_ScrollBarSlider : QStyle::SC_SliderHandle, slider);
    QPoint at = thumb.center();
    QTest::mousePress(slider, Qt::LeftButton, {}, at);
    for (int n = s_.pick(4); n >= 0 && held; --n) {
        if (slider->orientation() == Qt::Horizontal) {
            at.rx() = std::clamp(at.x() + s_.pick(61) - 30, 0, slider->width() - 1);
        } else {
            at.ry() = std::clamp(at.y() + s_.pick(61) - 30, 0, slider->height() - 1);
        }
        QTest::mouseMove(slider, at);
        s_.idle(s_.pick(60));
    }
    if (held) QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
}

// After the drag the thumb and the edit beside it show the same value: the
// one last sent, or what the camera had when the write was refused.
void OperatorActions::adjustDrag() {
    CAdjust* window = s_.panel->adjustWindow();
    if (!window || !window->isVisible()) {
        s_.panel->OpenAdjust();
        return;
    }
    using namespace adjust_id;
    const int firsts[] = {VSUB_SLIDER_R, GAIN_SLIDER_R, HREG_SLIDER_R, VREG_SLIDER_R};
    const int group = s_.pick(4);
    const int offset = s_.pick(3);
    auto* slider = window->control<QSlider>(firsts[group] + offset);
    const QPointer<CAdjust> alive(window);
    if (!reachable(slider)) {
        // Its step first, in adjust mode.
        if (window->adjustStep() < 0 || !reachable(window->control(STEP_VSUB)))
            click(window->control(ADJUST_MODE_ON));
        if (alive) click(window->control(STEP_VSUB + std::min(group, 2)));
        if (!alive || !reachable(slider)) return;
    }
    did("adjustment slider dragged");
    dragThumb(slider);
    if (!alive || !window->isVisible()) return;
    bool known = false;
    const int shown =
        window->control<QLineEdit>(VSUB_EDIT_R + 3 * group + offset)->text().toInt(&known);
    const int thumb = group == 3 ? -1 - slider->value() : slider->value();
    if (slider->sliderPosition() != slider->value()) {
        s_.fail("after a drag the adjustment slider " + std::to_string(firsts[group] + offset) +
                " is drawn at " + std::to_string(slider->sliderPosition()) + ", its value is " +
                std::to_string(slider->value()));
    } else if (known && thumb != shown) {
        s_.fail("after a drag the adjustment slider " + std::to_string(firsts[group] + offset) +
                " shows " + std::to_string(thumb) + ", its edit " + std::to_string(shown));
    }
}

void OperatorActions::whiteSpotDrag() {
    CWhiteSpot* spot = s_.panel->whiteSpotWindow();
    if (!spot || !spot->isVisible()) {
        click(s_.panel->control(IDC_WSPOT_DETECT));
        return;
    }
    auto* bar = qobject_cast<QScrollBar*>(spot->control(CWhiteSpot::IDC_THRESHOLD));
    if (!reachable(bar)) return;
    did("white spot bar dragged");
    dragThumb(bar);
}

// --- settings files -----------------------------------------------------------------

namespace {

int32_t cameraValue(sim::CameraModel& camera, int row) {
    const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
    const uint32_t reg = camera.reg(p.writeArea, p.address);
    return ParamAccess::valueFromAnswer(p, {uint8_t(reg >> 16), uint8_t(reg >> 8), uint8_t(reg)});
}

}  // namespace

// What `zrk880ctl diff` holds the file against: each of its settings is what
// the camera has.
void OperatorActions::checkSavedFile(const std::string& text) {
    std::vector<SettingsEntry> entries;
    std::string error;
    if (!SettingsFile::parse(text, s_.panel->table(), entries, error)) {
        s_.fail("a saved settings file does not load: " + error);
        return;
    }
    if (entries.size() != static_cast<size_t>(UserParamCount))
        s_.fail("a saved settings file holds " + std::to_string(entries.size()) + " settings");
    for (const SettingsEntry& e : entries) {
        if (e.value != cameraValue(s_.camera, e.row)) {
            s_.fail("a saved settings file holds " + std::string(ParamNames::name(e.row)) + " = " +
                    std::to_string(e.value) + ", the camera " +
                    std::to_string(cameraValue(s_.camera, e.row)));
            return;
        }
    }
}

// Save, Load and Compare on files in the run's folder: good ones, refused
// ones, and now and then a camera that falls silent in the middle of the walk.
void OperatorActions::settingsFile() {
    using Commands = SettingsFileCommands;
    const std::string path = s_.folder + (s_.pick(2) ? "/settings.json" : "/settings.csv");
    s_.panel->settingsFiles().setPathChooser(
        [p = QString::fromStdString(path)](Commands::Action) { return p; });
    if (auto* line = s_.panel->findChild<ConnectionStatusLine*>()) line->showNote({});
    // A calm camera now and then, so that a whole Save goes through.
    switch (s_.pick(5)) {
        case 0:
            s_.silenceAfter(s_.pick(60));
            did("settings: camera silent mid-walk");
            break;
        case 1:
        case 2:
            s_.calmCamera();
            break;
        default:
            break;
    }
    const int kind = s_.pick(8);
    if (kind < 3) {
        const std::string before = readFile(path);
        s_.panel->menuAction(ID_SAVE_SETTINGS_FILE)->trigger();
        const std::string text = readFile(path);
        did("settings: Save");
        if (s_.statusText() == "Saved 53 settings to " + path) {
            did("settings: saved file checked against the camera");
            checkSavedFile(text);
        } else if (text != before) {
            s_.fail("a Save that did not say so changed " + path);
        }
        return;
    }
    if (kind < 7) {
        // A good file of random values, or one with a bad entry.
        std::vector<SettingsEntry> entries;
        for (int row = 0; row < UserParamCount; ++row) {
            if (s_.pick(3) == 0) continue;
            const CameraParam& p = s_.panel->table()[row];
            entries.push_back({row, p.minValue + s_.pick(p.maxValue - p.minValue + 1)});
        }
        std::string text = SettingsFile::format(entries, SettingsFile::formatForPath(path));
        const bool bad = kind >= 5;
        if (bad && !entries.empty()) {
            const std::string name(ParamNames::name(entries.front().row));
            const size_t at = text.find(name);
            text.replace(at, name.size(), s_.pick(2) ? name + "_x" : std::string("gain_level"));
        }
        writeFile(path, text);
        const bool load = s_.pick(3) != 0;
        did(load ? (bad ? "settings: Load of a refused file" : "settings: Load of a good file")
                 : (bad ? "settings: Compare with a refused file"
                        : "settings: Compare with a good file"));
        s_.panel->menuAction(load ? ID_LOAD_SETTINGS_FILE : ID_COMPARE_SETTINGS_FILE)->trigger();
        if (const std::string said = s_.statusText(); said.rfind("Loaded ", 0) == 0) {
            int loaded = 0;
            for (const SettingsEntry& e : entries) loaded += e.row < ROW_MEMORY_LOAD ? 1 : 0;
            if (bad && !entries.empty() && entries.front().row != ROW_GAIN_LEVEL)
                s_.fail("a refused settings file was loaded: " + said);
            else if (said != "Loaded " + std::to_string(loaded) + " settings from " + path)
                s_.fail("Load of " + std::to_string(loaded) + " settings said \"" + said + "\"");
        }
    } else {
        did("settings: Compare with the last file");
        s_.panel->menuAction(ID_COMPARE_SETTINGS_FILE)->trigger();
    }
    if (const QPointer<SettingsCompareDlg> compare = s_.panel->settingsFiles().compareWindow()) {
        s_.idle(s_.pick(50));
        if (compare) compare->close();
    }
}

// --- the link trace window ----------------------------------------------------------

void OperatorActions::traceStep(CLinkTrace* trace) {
    QScrollBar* bar =
        trace->findChild<QPlainTextEdit*>(QStringLiteral("traceView"))->verticalScrollBar();
    const char* const kSteps[] = {"trace: Pause",
                                  "trace: Clear",
                                  "trace: Save CSV",
                                  "trace: CLOSE",
                                  "trace: scrolled up",
                                  "trace: scrolled to the end",
                                  "trace: scrolled to the end"};
    const int step = s_.pick(7);
    did(kSteps[step]);
    if (inWalk_) did("trace: worked during a walk");
    switch (step) {
        case 0:
            click(trace->findChild<QPushButton*>(QStringLiteral("pauseButton")));
            break;
        case 1:
            click(trace->findChild<QPushButton*>(QStringLiteral("clearButton")));
            traceAway_ = false;
            break;
        case 2: {
            const std::string path = s_.folder + "/trace.csv";
            trace->setChooser([p = QString::fromStdString(path)] { return p; });
            click(trace->findChild<QPushButton*>(QStringLiteral("saveButton")));
            const std::string text = readFile(path);
            if (text.rfind(traceCsvHeader(), 0) != 0)
                s_.fail("a saved trace does not start with its header: \"" + text.substr(0, 60) +
                        "\"");
            break;
        }
        case 3:
            click(trace->findChild<QPushButton*>(QStringLiteral("closeButton")));
            break;
        case 4:
            if (bar->maximum() > 0) {
                bar->triggerAction(QAbstractSlider::SliderPageStepSub);
                traceAway_ = true;
            }
            break;
        default:
            bar->triggerAction(QAbstractSlider::SliderToMaximum);
            traceAway_ = false;
            break;
    }
}

// Opened, paused, cleared, saved, scrolled and closed, also in the middle of a
// look-up table walk. A view the operator has not scrolled away from its end
// shows the newest line.
void OperatorActions::linkTrace() {
    CLinkTrace* trace = s_.panel->linkTraceWindow();
    if (!trace || !trace->isVisible()) {
        traceAway_ = false;
        s_.panel->menuAction(ID_LINK_TRACE)->trigger();
        return;
    }
    const QPointer<CLinkTrace> alive(trace);
    CLookUpTable* lut = s_.panel->lookUpTableWindow();
    const bool duringWalk = s_.pick(2) == 0;
    if (duringWalk && (!lut || !lut->isVisible())) {
        click(s_.panel->control(IDC_LUT_TABLE));
        lut = s_.panel->lookUpTableWindow();
    }
    if (duringWalk && lut && lut->isVisible()) {
        // A shorter walk: the operator acts while the lines pour in.
        const int entries = lut->walkEntries;
        lut->walkEntries = 16 + s_.pick(48);
        const int at = 1 + s_.pick(3 * lut->walkEntries);
        auto hook = QObject::connect(lut, &CLookUpTable::transferAdvanced, [&](int done, int) {
            if (done != at || !alive || !alive->isVisible()) return;
            inWalk_ = true;
            traceStep(trace);
            inWalk_ = false;
        });
        click(lut->control(s_.pick(2) ? CLookUpTable::IDC_READ : CLookUpTable::IDC_WRITE));
        QObject::disconnect(hook);
        lut->walkEntries = entries;
    } else {
        traceStep(trace);
    }
    if (!alive || !trace->isVisible() || trace->paused() || traceAway_) return;
    trace->poll();
    QScrollBar* bar =
        trace->findChild<QPlainTextEdit*>(QStringLiteral("traceView"))->verticalScrollBar();
    if (bar->value() != bar->maximum()) {
        s_.fail("the link trace view stands at " + std::to_string(bar->value()) + " of " +
                std::to_string(bar->maximum()) + " though the operator never scrolled away (" +
                std::to_string(trace->lines().size()) + " lines)");
    }
}

// --- closing the panel ----------------------------------------------------------------

// At a quiet moment, inside the next box (a time-out box of the worker's among
// them), or in the middle of a look-up table walk. No box may come up after.
void OperatorActions::closePanel() {
    switch (s_.pick(4)) {
        case 0:
            did("panel closed at a quiet moment");
            s_.closePanel();
            return;
        case 1: {
            did("panel closed in the next box of an action");
            s_.closeAtNextBox();
            const Action& other = pick();
            if (std::string_view(other.name) != "close panel") other.run();
            return;
        }
        case 2: {
            // The camera falls silent: the next write ends in the worker's box.
            did("panel closed in the worker's time-out box");
            s_.silenceAfter(0);
            s_.closeAtNextBox();
            clickRadio();
            return;
        }
        default: {
            CLookUpTable* lut = s_.panel->lookUpTableWindow();
            if (!lut || !lut->isVisible()) {
                click(s_.panel->control(IDC_LUT_TABLE));
                lut = s_.panel->lookUpTableWindow();
            }
            if (!lut || !lut->isVisible()) {
                did("panel closed at a quiet moment");
                s_.closePanel();
                return;
            }
            const int at = 1 + s_.pick(3 * lut->walkEntries);
            auto hook = QObject::connect(lut, &CLookUpTable::transferAdvanced, [&](int done, int) {
                if (done != at) return;
                did("panel closed in a look-up table walk");
                s_.closePanel();
            });
            click(lut->control(s_.pick(2) ? CLookUpTable::IDC_READ : CLookUpTable::IDC_WRITE));
            QObject::disconnect(hook);
            return;
        }
    }
}

}  // namespace zr::test
