#include "adjust/CAdjust.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimerEvent>
#include <initializer_list>
#include <optional>

#include "adjust/AdjustControlIds.h"
#include "adjust/AdjustDataLog.h"
#include "adjust/AdjustTemplate.h"
#include "adjust/RegisterText.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "widgets/ConnectClick.h"
#include "widgets/SliderRelease.h"
#include "widgets/WaitCursor.h"

using namespace adjust_id;

namespace {

// Indices into the twelve adjustment values: R, G, B of each group.
constexpr int kSubVoltage = 0;
constexpr int kGain = 3;
constexpr int kHRegistration = 6;
constexpr int kVRegistration = 9;

constexpr int kAutoAdjustFirstMs = 200;
constexpr int kAutoAdjustPollMs = 100;
constexpr int kTemperatureMs = 500;

// Alternates the progress text between polls. It belongs to the program, not
// to one window, so a new window carries on where the last one stopped.
bool g_autoAdjustBlink = false;

// Text register bytes for display. Bytes outside printable ASCII have no
// agreed character on this side; they show as the replacement character
// rather than as some guess.
QString displayText(const std::string& bytes) {
    QString text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x20 && byte <= 0x7E) ? QChar(byte) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

void setGroupChecked(QButtonGroup* group, int index) {
    if (index >= 0 && group->button(index) != nullptr) {
        group->button(index)->setChecked(true);
        return;
    }
    // An exclusive group does not let its checked button go by itself.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

QButtonGroup* makeGroup(QObject* owner, std::initializer_list<QAbstractButton*> buttons) {
    auto* group = new QButtonGroup(owner);
    int index = 0;
    for (QAbstractButton* button : buttons) group->addButton(button, index++);
    return group;
}

// Which values and rows a group of three track bars (R, G, B) moves.
struct SliderBinding {
    int firstId;
    int firstIndex;  // into the adjustment values
    int firstRow;
    bool registration;  // sent as value + RegistrationCentre
    bool vertical;      // value = -1 - position
    int tick;
};

// In the order of the adjustment values, three each.
constexpr SliderBinding kBindings[] = {
    {VSUB_SLIDER_R, kSubVoltage, zr::ROW_SUB_VOLTAGE_R, false, false, 16},
    {GAIN_SLIDER_R, kGain, zr::ROW_ADJUST_GAIN_R, false, false, 16},
    {HREG_SLIDER_R, kHRegistration, zr::ROW_H_REGISTRATION_R, true, false, 4},
    {VREG_SLIDER_R, kVRegistration, zr::ROW_V_REGISTRATION_R, true, true, 4},
};

const SliderBinding* sliderBinding(int id) {
    for (const SliderBinding& b : kBindings) {
        if (id >= b.firstId && id < b.firstId + 3) return &b;
    }
    return nullptr;
}

}  // namespace

CAdjust::CAdjust(QWidget* parent) : ToolWindow(EnterKey::AsDialog, parent) {
    valueKnown_.fill(true);  // the initial zeros are the template's, shown as such
}

CAdjust::~CAdjust() = default;

bool CAdjust::acceptsContext(const zr::widgets::ToolContext& toolContext) const {
    return toolContext.complete() && !context.complete();
}

void CAdjust::setUpWindow() {
    setWindowTitle(QStringLiteral("ZR-K880TM ADJUST"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    adjust_template::build(this);
    controls().addTemplate(this);
    stepGroup_ =
        makeGroup(this, {control<QAbstractButton>(STEP_VSUB), control<QAbstractButton>(STEP_GAIN),
                         control<QAbstractButton>(STEP_REGISTRATION)});
    modeGroup_ = makeGroup(this, {control<QAbstractButton>(ADJUST_MODE_ON),
                                  control<QAbstractButton>(ADJUST_MODE_OFF)});
    registrationGroup_ = makeGroup(this, {control<QAbstractButton>(REGISTRATION_ON),
                                          control<QAbstractButton>(REGISTRATION_OFF)});
    const zr::CameraParamTable& table = params().table();
    registrationCentre_ = table[zr::ROW_H_REGISTRATION_R].maxValue / 2 + 1;
    dataLog_ = std::make_unique<zr::AdjustDataLog>(
        params(), *context.messages, static_cast<QWidget*>(this), registrationCentre_);
    connectControls();
    initialise();
}

zr::ParamAccess& CAdjust::params() {
    return *context.params;
}

void CAdjust::connectControls() {
    connect(stepGroup_, &QButtonGroup::idClicked, this, [this] { onStepChange(); });
    connect(modeGroup_, &QButtonGroup::idClicked, this, [this] { onAdjustMode(); });
    connect(registrationGroup_, &QButtonGroup::idClicked, this, [this] { onRegistrationSwitch(); });
    for (const SliderBinding& b : kBindings) {
        for (int id = b.firstId; id < b.firstId + 3; ++id) {
            auto* slider = control<QSlider>(id);
            // Every action (line, page, drag step) and the end of a drag is
            // one notification; the position is taken from the control.
            connect(slider, &QAbstractSlider::actionTriggered, this, [this, id] {
                // Dropping a held thumb for a box moves it where the drag
                // was; that is no request, and the write of the drag step
                // that brought the box up is still under way.
                if (!zr::widgets::releasingHeldSliders()) onSliderNotify(id);
            });
            connect(slider, &QAbstractSlider::sliderReleased, this, [this, id] {
                // A thumb dropped because a message came up was not let go there.
                if (!zr::widgets::releasingHeldSliders()) onSliderNotify(id);
            });
        }
    }
    auto clicked = [this](int id, void (CAdjust::*handler)()) {
        zr::widgets::connectClick(control<QAbstractButton>(id), this, handler);
    };
    clicked(READ, &CAdjust::ReadAdjustData);
    clicked(SAVE, &CAdjust::onSave);
    clicked(SET_SERIAL, &CAdjust::onSetSerial);
    clicked(FACTORY_INITIALIZE, &CAdjust::onFactoryInitialize);
    clicked(AUTO_ADJUST, &CAdjust::onAutoAdjust);
    clicked(CLOSE, &CAdjust::reject);
    connect(control<QAbstractButton>(SAVE_LOG), &QAbstractButton::clicked, this,
            [this] { dataLog_->AppendAdjustDataLog(); });
    connect(control<QCheckBox>(CONTINUOUS), &QAbstractButton::clicked, this,
            [this](bool checked) { onContinuous(checked); });
}

void CAdjust::initialise() {
    UpdateData(false);
    for (const SliderBinding& b : kBindings) {
        // Both registrations take the range of the horizontal one.
        const zr::CameraParam& row =
            params().table()[b.registration ? zr::ROW_H_REGISTRATION_R : b.firstRow];
        const int offset = b.registration ? registrationCentre_ : 0;
        for (int id = b.firstId; id < b.firstId + 3; ++id) {
            control<QSlider>(id)->setRange(row.minValue - offset, row.maxValue - offset);
            control<QSlider>(id)->setTickInterval(b.tick);
        }
    }
    UpdateAdjustEnables();
}

void CAdjust::UpdateData(bool save) {
    if (save) {
        adjustStep_ = stepGroup_->checkedId();
        adjustMode_ = modeGroup_->checkedId();
        registrationSwitch_ = registrationGroup_->checkedId();
        for (size_t i = 0; i < adjustValues_.size(); ++i) {
            bool ok = false;
            const int value =
                control<QLineEdit>(VSUB_EDIT_R + static_cast<int>(i))->text().toInt(&ok);
            valueKnown_[i] = ok;
            if (ok) adjustValues_[i] = value;
        }
        return;
    }
    setGroupChecked(stepGroup_, adjustStep_);
    setGroupChecked(modeGroup_, adjustMode_);
    setGroupChecked(registrationGroup_, registrationSwitch_);
    for (size_t i = 0; i < adjustValues_.size(); ++i) {
        control<QLineEdit>(VSUB_EDIT_R + static_cast<int>(i))
            ->setText(valueKnown_[i] ? QString::number(adjustValues_[i])
                                     : QString::fromLatin1(UnknownValueText));
    }
}

void CAdjust::UpdateAdjustEnables() {
    const bool on = adjustMode_ == 0;
    const zr::widgets::ControlMap& c = controls();
    c.setEnabled({STEP_VSUB, STEP_GAIN, STEP_REGISTRATION, SERIAL_EDIT, SET_SERIAL}, on);
    // Each step's own controls; labels, track bars and edits come R, G, B.
    auto enableStep = [&c](std::initializer_list<int> ids, std::initializer_list<int> triples,
                           bool enabled) {
        c.setEnabled(ids, enabled);
        for (int first : triples) c.setRangeEnabled(first, first + 2, enabled);
    };
    enableStep({STEP1_FRAME}, {VSUB_LABEL_R, VSUB_SLIDER_R, VSUB_EDIT_R}, on && adjustStep_ == 0);
    enableStep({AUTO_ADJUST, STEP2_FRAME}, {GAIN_LABEL_R, GAIN_SLIDER_R, GAIN_EDIT_R},
               on && adjustStep_ == 1);
    enableStep({STEP3_FRAME, REGISTRATION_ON, REGISTRATION_OFF},
               {HREG_LABEL_R, HREG_SLIDER_R, HREG_EDIT_R, VREG_LABEL_R, VREG_SLIDER_R, VREG_EDIT_R},
               on && adjustStep_ == 2);
}

void CAdjust::onStepChange() {
    UpdateData(true);
    params().WriteParam(zr::ROW_GAIN_STEP, adjustStep_ == 1 ? 1 : 0);
    UpdateAdjustEnables();
}

void CAdjust::onAdjustMode() {
    zr::widgets::WaitCursor wait;
    UpdateData(true);
    zr::ParamAccess& p = params();
    if (adjustMode_ == 0) {
        p.WriteParam(zr::ROW_ADJUST_KEY, zr::AdjustAccessCode);
        p.WriteParam(zr::ROW_MEMORY_LOAD, 0);
        p.WriteParam(zr::ROW_WB_R_GAIN, 25);
        p.WriteParam(zr::ROW_WB_B_GAIN, 214);
        p.WriteParam(zr::ROW_ADJUST_FLAG, 1);
        p.WriteParam(zr::ROW_GAIN_STEP, adjustStep_ == 1 ? 1 : 0);
        ReadAdjustData();
    } else if (adjustMode_ == 1) {
        p.WriteParam(zr::ROW_ADJUST_FLAG, 0);
        p.WriteParam(zr::ROW_GAIN_STEP, 0);
        p.WriteParam(zr::ROW_ADJUST_KEY, 0);
        p.WriteParam(zr::ROW_MEMORY_LOAD, 1);
    }
    UpdateAdjustEnables();
    // Memory and the white balance gains are the panel's rows too: its
    // controls show what the table now holds. The other writes of this
    // window go to rows the panel does not show.
    params().changes().tableChanged();
}

void CAdjust::onSliderNotify(int id) {
    const SliderBinding* binding = sliderBinding(id);
    if (binding == nullptr) return;
    const int offset = id - binding->firstId;
    const auto index = static_cast<size_t>(binding->firstIndex + offset);
    const int position = control<QSlider>(id)->sliderPosition();
    const int32_t value = binding->vertical ? -1 - position : position;
    const int32_t sent = value + (binding->registration ? registrationCentre_ : 0);

    if (params().WriteParam(binding->firstRow + offset, sent) != 0) {
        // The camera did not get the value: the edit, the value behind it
        // and the thumb keep what the camera has.
        if (valueKnown_[index]) {
            const int32_t kept = adjustValues_[index];
            control<QSlider>(id)->setValue(binding->vertical ? -1 - kept : kept);
        }
        showBox("Send error", applicationCaption(), zr::MsgIcon::None, this);
        return;
    }
    adjustValues_[index] = value;
    valueKnown_[index] = true;
    control<QLineEdit>(VSUB_EDIT_R + static_cast<int>(index))->setText(QString::number(value));
}

void CAdjust::readValue(int row, int index, int32_t offset) {
    int32_t value = 0;
    const auto i = static_cast<size_t>(index);
    valueKnown_[i] = params().ReadParam(row, value) == 0;
    if (valueKnown_[i]) adjustValues_[i] = value - offset;
}

void CAdjust::placeSlider(int index) {
    const auto i = static_cast<size_t>(index);
    if (!valueKnown_[i]) return;  // a failed read leaves the slider where it was
    const SliderBinding& b = kBindings[index / 3];
    const int32_t value = adjustValues_[i];
    // No notification, nothing is sent.
    control<QSlider>(b.firstId + index % 3)->setValue(b.vertical ? -1 - value : value);
}

void CAdjust::showText(int id, const std::string& bytes) {
    control<QLabel>(id)->setText(displayText(bytes));
}

void CAdjust::ReadAdjustData() {
    for (int i = 0; i < 3; ++i) {
        for (const SliderBinding& b : kBindings) {
            readValue(b.firstRow + i, b.firstIndex + i, b.registration ? registrationCentre_ : 0);
        }
    }
    for (int index = 0; index < 12; ++index) placeSlider(index);

    int32_t registration = 0;
    if (params().ReadParam(zr::ROW_REGISTRATION_SWITCH, registration) == 0) {
        registrationSwitch_ = registration == 0 ? 1 : 0;
    } else {
        registrationSwitch_ = -1;  // neither ON nor OFF: the camera did not say
    }
    UpdateData(false);

    // Vendor and model: up to eight registers, ending after the first one
    // that holds a zero byte; the serial number: always all four. A failed
    // read shows the template's placeholder.
    auto readText = [this](int firstRow, int rows, bool endAtZero) -> std::optional<std::string> {
        std::string text;
        for (int row = firstRow; row < firstRow + rows; ++row) {
            int32_t value = 0;
            if (params().ReadParam(row, value) != 0) return std::nullopt;
            text += register_text::chars(value);
            if (endAtZero &&
                (register_text::highByte(value) == 0 || register_text::lowByte(value) == 0)) {
                break;
            }
        }
        return register_text::cutAtZero(text);
    };
    auto readPair = [this](int row, int32_t& first, int32_t& second) {
        return params().ReadParam(row, first) == 0 && params().ReadParam(row + 1, second) == 0;
    };
    const std::string names[] = {"****************", "******", "********"};

    showText(VENDOR, readText(zr::ROW_VENDOR_NAME, zr::NameRegisterRows, true).value_or(names[0]));
    showText(MODEL, readText(zr::ROW_MODEL_NAME, zr::NameRegisterRows, true).value_or(names[0]));

    int32_t first = 0;
    int32_t second = 0;
    showText(CPU_VERSION, readPair(zr::ROW_CPU_VERSION, first, second)
                              ? register_text::cpuVersion(first, second)
                              : names[1]);
    showText(FPGA_VERSION, readPair(zr::ROW_FPGA_VERSION, first, second)
                               ? register_text::fpgaVersion(first, second)
                               : names[1]);

    showText(SERIAL_NUMBER,
             readText(zr::ROW_SERIAL_NUMBER, zr::SerialNumberRows, false).value_or(names[2]));

    ShowCameraTemperature();
}

void CAdjust::ShowCameraTemperature() {
    // The first register is read for the camera's sake; only the second is shown.
    int32_t value = 0;
    params().ReadParam(zr::ROW_TEMPERATURE_FIRST, value);
    int32_t tenths = 0;
    const bool ok = params().ReadParam(zr::ROW_TEMPERATURE, tenths) == 0;
    control<QLabel>(TEMPERATURE)
        ->setText(ok ? QString::fromStdString(register_text::temperature(tenths))
                     : QString::fromLatin1(UnknownTemperatureText));
}

void CAdjust::onSave() {
    params().WriteParam(zr::ROW_ADJUST_SAVE, 4);
}

void CAdjust::onSetSerial() {
    const QByteArray text = control<QLineEdit>(SERIAL_EDIT)->text().toUtf8();
    const auto registers =
        register_text::serialRegisters(std::string_view(text.constData(), text.size()));
    if (!registers) {
        showBox("シリアルナンバが不正です。", "Error", zr::MsgIcon::Exclamation, this);
        return;
    }
    for (int i = 0; i < zr::SerialNumberRows; ++i)
        params().WriteParam(zr::ROW_SERIAL_NUMBER + i, (*registers)[i]);
}

void CAdjust::onFactoryInitialize() {
    params().WriteParam(zr::ROW_FACTORY_SETTING, 1);
}

void CAdjust::onRegistrationSwitch() {
    const int shown = registrationSwitch_;
    UpdateData(true);
    if (params().WriteParam(zr::ROW_REGISTRATION_SWITCH, registrationSwitch_ == 0 ? 1 : 0) != 0) {
        // The camera kept its setting: so does the pair.
        registrationSwitch_ = shown;
        setGroupChecked(registrationGroup_, shown);
    }
}

void CAdjust::onAutoAdjust() {
    params().WriteParam(zr::ROW_AUTO_ADJUST, 1);
    polling_ = true;
    autoAdjustTimer_.start(kAutoAdjustFirstMs, this);
}

void CAdjust::onContinuous(bool checked) {
    continuous_ = checked;
    if (checked) {
        temperatureTimer_.start(kTemperatureMs, this);
    } else {
        temperatureTimer_.stop();
    }
}

void CAdjust::timerEvent(QTimerEvent* event) {
    if (event->timerId() == autoAdjustTimer_.timerId()) {
        onAutoAdjustTimer();
    } else if (event->timerId() == temperatureTimer_.timerId()) {
        onTemperatureTimer();
    } else {
        QDialog::timerEvent(event);
    }
}

bool CAdjust::isTimerActive(int timerId) const {
    if (timerId == AutoAdjustTimer) return autoAdjustTimer_.isActive();
    if (timerId == TemperatureTimer) return temperatureTimer_.isActive();
    return false;
}

void CAdjust::onAutoAdjustTimer() {
    autoAdjustTimer_.stop();
    if (!polling_) return;
    switch (linkState()) {
        case LinkState::Closed:
            // No poll can succeed on a closed port; asking on would put up the
            // link's refusal on every tick. The adjustment ends quietly.
            polling_ = false;
            control<QLabel>(AUTO_ADJUST_PROGRESS)->clear();
            return;
        case LinkState::Busy:
            autoAdjustTimer_.start(kAutoAdjustPollMs, this);
            return;
        case LinkState::Idle:
            break;
    }
    int32_t status = 1;  // a failed read counts as still adjusting
    params().ReadParam(zr::ROW_AUTO_ADJUST, status);
    // A link message shown during the read lets the window be closed meanwhile.
    if (!polling_) return;
    auto* progress = control<QLabel>(AUTO_ADJUST_PROGRESS);
    if (status == 1) {
        progress->setText(g_autoAdjustBlink ? QStringLiteral("Adjusting...") : QString());
        g_autoAdjustBlink = !g_autoAdjustBlink;
        autoAdjustTimer_.start(kAutoAdjustPollMs, this);
        return;
    }
    polling_ = false;
    QPointer<CAdjust> alive(this);
    if (status == 0) {
        showBox("Adjust is finished.", "Adjust", zr::MsgIcon::None, this);
    } else {
        showBox("Failed to adjust automaticaly. Please retly.", "error", zr::MsgIcon::Exclamation,
                this);
    }
    if (!alive) return;
    progress->clear();
    for (int i = 0; i < 3; ++i) readValue(zr::ROW_ADJUST_GAIN_R + i, kGain + i, 0);
    for (int i = 0; i < 3; ++i) placeSlider(kGain + i);
    UpdateData(false);
}

void CAdjust::onTemperatureTimer() {
    temperatureTimer_.stop();
    if (!continuous_) return;
    switch (linkState()) {
        case LinkState::Closed:
            // As with the adjustment poll: no refusal on every tick. The
            // refresh ends and the check box says so.
            continuous_ = false;
            control<QCheckBox>(CONTINUOUS)->setChecked(false);
            return;
        case LinkState::Busy:
            temperatureTimer_.start(kTemperatureMs, this);
            return;
        case LinkState::Idle:
            break;
    }
    ShowCameraTemperature();
    if (continuous_) temperatureTimer_.start(kTemperatureMs, this);
}

void CAdjust::accept() {}

void CAdjust::reject() {
    autoAdjustTimer_.stop();
    temperatureTimer_.stop();
    polling_ = false;
    continuous_ = false;
    QDialog::reject();
}
