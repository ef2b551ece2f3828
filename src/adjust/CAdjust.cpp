#include "adjust/CAdjust.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <initializer_list>

#include "adjust/AdjustControlIds.h"
#include "adjust/AdjustDataLog.h"
#include "adjust/AdjustTemplate.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "widgets/WaitCursor.h"

using namespace adjust_id;

namespace {

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

}  // namespace

CAdjust::CAdjust(QWidget* parent)
    : ToolWindow(EnterKey::AsDialog, parent), sliders_(*this, [this] {
          showBox("Send error", applicationCaption(), zr::MsgIcon::None, this);
      }) {}

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
    sliders_.setUp();
    dataLog_ = std::make_unique<zr::AdjustDataLog>(
        params(), *context.messages, static_cast<QWidget*>(this), sliders_.registrationCentre());
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
    auto clicked = [this](int id, void (CAdjust::*handler)()) {
        connect(control<QAbstractButton>(id), &QAbstractButton::clicked, this, handler);
    };
    clicked(READ, &CAdjust::ReadAdjustData);
    clicked(SAVE, &CAdjust::onSave);
    clicked(SET_SERIAL, &CAdjust::onSetSerial);
    clicked(FACTORY_INITIALIZE, &CAdjust::onFactoryInitialize);
    connect(control<QAbstractButton>(AUTO_ADJUST), &QAbstractButton::clicked, this,
            [this] { autoAdjust_.start(); });
    clicked(CLOSE, &CAdjust::reject);
    connect(control<QAbstractButton>(SAVE_LOG), &QAbstractButton::clicked, this,
            [this] { dataLog_->AppendAdjustDataLog(); });
    connect(control<QCheckBox>(CONTINUOUS), &QAbstractButton::clicked, this,
            [this](bool checked) { temperature_.setContinuous(checked); });
}

void CAdjust::initialise() {
    UpdateData(false);
    UpdateAdjustEnables();
}

void CAdjust::UpdateData(bool save) {
    if (save) {
        adjustStep_ = stepGroup_->checkedId();
        adjustMode_ = modeGroup_->checkedId();
        registrationSwitch_ = registrationGroup_->checkedId();
        sliders_.takeFromEdits();
        return;
    }
    setGroupChecked(stepGroup_, adjustStep_);
    setGroupChecked(modeGroup_, adjustMode_);
    setGroupChecked(registrationGroup_, registrationSwitch_);
    sliders_.showInEdits();
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
    params().changes().notify();
}

void CAdjust::ReadAdjustData() {
    sliders_.readAll();

    int32_t registration = 0;
    if (params().ReadParam(zr::ROW_REGISTRATION_SWITCH, registration) == 0) {
        registrationSwitch_ = registration == 0 ? 1 : 0;
    } else {
        registrationSwitch_ = -1;  // neither ON nor OFF: the camera did not say
    }
    UpdateData(false);

    identity_.read();
    ShowCameraTemperature();
}

void CAdjust::ShowCameraTemperature() {
    temperature_.show();
}

void CAdjust::onSave() {
    params().WriteParam(zr::ROW_ADJUST_SAVE, 4);
}

void CAdjust::onSetSerial() {
    if (!identity_.writeSerialNumber())
        showBox("シリアルナンバが不正です。", "Error", zr::MsgIcon::Exclamation, this);
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

bool CAdjust::isTimerActive(int timerId) const {
    if (timerId == AutoAdjustTimer) return autoAdjust_.isActive();
    if (timerId == TemperatureTimer) return temperature_.isActive();
    return false;
}

void CAdjust::onAutoAdjustEnded(int32_t status) {
    QPointer<CAdjust> alive(this);
    if (status == 0) {
        showBox("Adjust is finished.", "Adjust", zr::MsgIcon::None, this);
    } else {
        showBox("Failed to adjust automaticaly. Please retly.", "error", zr::MsgIcon::Exclamation,
                this);
    }
    if (!alive) return;
    control<QLabel>(AUTO_ADJUST_PROGRESS)->clear();
    sliders_.readGains();
    UpdateData(false);
}

void CAdjust::accept() {}

void CAdjust::reject() {
    autoAdjust_.stop();
    temperature_.setContinuous(false);
    QDialog::reject();
}
