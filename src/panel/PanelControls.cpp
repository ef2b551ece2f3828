#include "panel/PanelControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QScrollBar>

#include "panel/ControlStates.h"
#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"
#include "panel/ReadoutText.h"
#include "params/ParamAccess.h"
#include "widgets/ControlMap.h"
#include "widgets/ScrollInputFilter.h"
#include "widgets/ScrollRequest.h"

namespace zr::panel {

namespace {

// clang-format off
// Rows of the radio groups in the order the refresh walks them.
constexpr int kRadioRefreshRows[] = {
    ROW_TRIGGER_MODE, ROW_TRIGGER_POLARITY, ROW_TRIGGER_SOURCE, ROW_CL_DATA_BITS,
    ROW_CL_VSYNC, ROW_CL_HSYNC, ROW_SHUTTER_SPEED, ROW_KNEE_SWITCH, ROW_ALC,
    ROW_LUT_SWITCH, ROW_WHITE_BALANCE, ROW_GAMMA_SWITCH, ROW_SHARPNESS_SWITCH,
    ROW_MASKING_SWITCH, ROW_PAINT_BLACK_SWITCH, ROW_WHITE_SHADING_SWITCH,
    ROW_WHITE_SPOT_CORRECTION, ROW_SMEAR_SWITCH, ROW_OUTPUT_SIGNAL,
    ROW_OUTPUT_POLARITY};

// Scroll bar ids in the order their ranges are set at start.
constexpr int kScrollRangeOrder[] = {
    IDC_WB_RGAIN_SCROLL, IDC_WB_BGAIN_SCROLL, IDC_WB_GGAIN_SCROLL, IDC_GAIN_SCROLL,
    IDC_BRIGHT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_KNEE_POINT_SCROLL, IDC_KNEE_SLOPE_SCROLL,
    IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL, IDC_SAT_MG_SCROLL,
    IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL, IDC_HUE_CY_SCROLL,
    IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL, IDC_HUE_YE_SCROLL,
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_SHARP_SCROLL,
    IDC_VIDEO_SCROLL, IDC_GAMMA_SCROLL};

// Scroll bar ids in the order the refresh shows them.
constexpr int kScrollRefreshOrder[] = {
    IDC_GAIN_SCROLL, IDC_BRIGHT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_KNEE_POINT_SCROLL,
    IDC_KNEE_SLOPE_SCROLL, IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL,
    IDC_SAT_MG_SCROLL, IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL,
    IDC_HUE_CY_SCROLL, IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL,
    IDC_HUE_YE_SCROLL, IDC_WB_RGAIN_SCROLL, IDC_WB_BGAIN_SCROLL, IDC_WB_GGAIN_SCROLL,
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_SHARP_SCROLL,
    IDC_VIDEO_SCROLL, IDC_GAMMA_SCROLL};
// clang-format on

}  // namespace

PanelControls::PanelControls(QWidget* panel, widgets::ControlMap& controls, ParamAccess& params)
    : panel_(panel), controls_(controls), params_(params) {
    bind();
    const CameraParamTable& rows = params_.table();
    for (int id : kScrollRangeOrder) {
        const CameraParam& row = rows[findScroll(id)->row];
        controls_.scrollBar(id)->setRange(row.minValue, row.maxValue);
    }
    listening_ = params_.changes().listen([this] { RefreshPanel(); });
}

void PanelControls::bind() {
    for (const RadioBinding& binding : radioBindings()) {
        QButtonGroup*& group = radioGroups_[binding.row];
        if (group == nullptr) group = new QButtonGroup(panel_);
        QAbstractButton* button = controls_.button(binding.id);
        group->addButton(button, binding.id);
        const int id = binding.id;
        QObject::connect(button, &QAbstractButton::clicked, panel_,
                         [this, id] { OnRadioClicked(id); });
    }
    for (const ScrollBinding& binding : scrollBindings()) {
        const int id = binding.id;
        new widgets::ScrollInputFilter(controls_.scrollBar(id), [this, id](int code, int position) {
            OnHScroll(code, position, id);
        });
    }
}

void PanelControls::OnRadioClicked(int id) {
    const RadioBinding* binding = findRadio(id);
    QAbstractButton* button = controls_.button(id);
    if (binding == nullptr || button == nullptr || !button->isChecked()) return;
    if (params_.WriteParam(binding->row, binding->value) == 0) {
        shownRows_.insert(binding->row);
        UpdateControlStates(id);
        return;
    }
    // Neither the camera nor the table changed: the group shows again what it
    // showed before the click.
    if (shownRows_.contains(binding->row)) {
        refreshRadioGroup(binding->row);
    } else {
        showRadio(binding->row, 0);
    }
}

void PanelControls::OnHScroll(int code, int position, int scrollId) {
    const ScrollBinding* binding = findScroll(scrollId);
    QScrollBar* bar = controls_.scrollBar(scrollId);
    if (binding == nullptr || bar == nullptr) return;

    const std::optional<int> target =
        widgets::scrollTarget(code, bar->value(), position, bar->minimum(), bar->maximum());
    if (!target) return;
    const int next = *target;
    // A refused write leaves the thumb and the read-out where they were.
    if (params_.WriteParam(binding->row, next) == 0)
        ShowScrollValue(scrollId, binding->readoutId, next);
}

void PanelControls::RefreshPanel() {
    const CameraParamTable& rows = params_.table();
    for (int row : kRadioRefreshRows) {
        refreshRadioGroup(row);
        shownRows_.insert(row);
    }

    for (int id : kScrollRefreshOrder) {
        const ScrollBinding* binding = findScroll(id);
        ShowScrollValue(id, binding->readoutId, rows[binding->row].value);
    }

    const int memory = rows[ROW_MEMORY_LOAD].value;
    controls_.setText(IDC_MEMORY_CURRENT, memory == 0 ? QStringLiteral("DEFAULT")
                                                      : QStringLiteral("FILE %1").arg(memory));

    UpdateControlStates(0);
}

void PanelControls::refreshRadioGroup(int row) {
    const int value = params_.table()[row].value;
    int checkedId = 0;  // a value without a button leaves every button unchecked
    for (const RadioBinding& binding : radioBindings()) {
        if (binding.row == row && binding.value == value) checkedId = binding.id;
    }
    // The shutter's fixed speeds 0..8 lie in id order and 9 lands on
    // VARIABLE, the id after them, as 255 does.
    if (row == ROW_SHUTTER_SPEED && value == 9) checkedId = IDC_SHUTTER_VARIABLE;
    showRadio(row, checkedId);
}

void PanelControls::showRadio(int row, int checkedId) {
    QButtonGroup* group = radioGroups_.value(row, nullptr);
    if (group == nullptr) return;
    // An exclusive group cannot be emptied by unchecking its button.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == checkedId);
    }
    group->setExclusive(true);
}

void PanelControls::ShowScrollValue(int scrollId, int readoutId, int position) {
    if (QScrollBar* bar = controls_.scrollBar(scrollId)) bar->setValue(position);
    controls_.setText(readoutId, QString::fromStdString(readoutText(scrollId, position)));
    UpdateControlStates(scrollId);
}

void PanelControls::UpdateControlStates(int id) {
    QWidget* focused = panel_->focusWidget();
    updateControlStates(controls_, id);
    parkFocusIfDisabled(focused);
}

void PanelControls::parkFocusIfDisabled(QWidget* focused) {
    // The toolkit hands the focus of a disabled control on to the next one,
    // where an arrow key would change a setting the user never touched. The
    // panel itself takes it instead: it ignores arrow keys, and a click or
    // Tab picks the next control.
    if (focused == nullptr || focused == panel_ || focused->isEnabled()) return;
    panel_->setFocus(Qt::OtherFocusReason);
}

}  // namespace zr::panel
