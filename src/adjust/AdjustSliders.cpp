#include "adjust/AdjustSliders.h"

#include <QLineEdit>
#include <QSlider>

#include "adjust/AdjustControlIds.h"
#include "params/ParamAccess.h"
#include "widgets/SliderRelease.h"
#include "widgets/ToolWindow.h"

using namespace adjust_id;

namespace {

// Indices into the twelve adjustment values: R, G, B of each group.
constexpr int kSubVoltage = 0;
constexpr int kGain = 3;
constexpr int kHRegistration = 6;
constexpr int kVRegistration = 9;

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

QLineEdit* valueEdit(const zr::widgets::ToolWindow& window, size_t index) {
    return window.control<QLineEdit>(VSUB_EDIT_R + static_cast<int>(index));
}

}  // namespace

AdjustSliders::AdjustSliders(zr::widgets::ToolWindow& window, std::function<void()> sendRefused)
    : window_(window), sendRefused_(std::move(sendRefused)) {
    known_.fill(true);  // the initial zeros are the template's, shown as such
}

void AdjustSliders::setUp() {
    const zr::CameraParamTable& table = window_.context.params->table();
    registrationCentre_ = table[zr::ROW_H_REGISTRATION_R].maxValue / 2 + 1;
    for (const SliderBinding& b : kBindings) {
        // Both registrations take the range of the horizontal one.
        const zr::CameraParam& row = table[b.registration ? zr::ROW_H_REGISTRATION_R : b.firstRow];
        const int offset = b.registration ? registrationCentre_ : 0;
        for (int id = b.firstId; id < b.firstId + 3; ++id) {
            auto* slider = window_.control<QSlider>(id);
            slider->setRange(row.minValue - offset, row.maxValue - offset);
            slider->setTickInterval(b.tick);
            // Every action (line, page, drag step) and the end of a drag is
            // one notification; the position is taken from the control.
            QObject::connect(slider, &QAbstractSlider::actionTriggered, &window_, [this, id] {
                // Dropping a held thumb for a box moves it where the drag
                // was; that is no request, and the write of the drag step
                // that brought the box up is still under way.
                if (!zr::widgets::releasingHeldSliders()) onNotify(id);
            });
            QObject::connect(slider, &QAbstractSlider::sliderReleased, &window_, [this, id] {
                // A thumb dropped because a message came up was not let go there.
                if (!zr::widgets::releasingHeldSliders()) onNotify(id);
            });
        }
    }
}

void AdjustSliders::onNotify(int id) {
    const SliderBinding* binding = sliderBinding(id);
    if (binding == nullptr) return;
    const int offset = id - binding->firstId;
    const auto index = static_cast<size_t>(binding->firstIndex + offset);
    auto* slider = window_.control<QSlider>(id);
    const int position = slider->sliderPosition();
    const int32_t value = binding->vertical ? -1 - position : position;
    const int32_t sent = value + (binding->registration ? registrationCentre_ : 0);

    if (window_.context.params->WriteParam(binding->firstRow + offset, sent) != 0) {
        // The camera did not get the value: the edit, the value behind it
        // and the thumb keep what the camera has.
        if (known_[index]) {
            const int32_t kept = values_[index];
            slider->setValue(binding->vertical ? -1 - kept : kept);
        }
        sendRefused_();
        return;
    }
    values_[index] = value;
    known_[index] = true;
    valueEdit(window_, index)->setText(QString::number(value));
}

void AdjustSliders::readAll() {
    for (int i = 0; i < 3; ++i) {
        for (const SliderBinding& b : kBindings) {
            readValue(b.firstRow + i, b.firstIndex + i, b.registration ? registrationCentre_ : 0);
        }
    }
    for (int index = 0; index < Count; ++index) placeSlider(index);
}

void AdjustSliders::readGains() {
    for (int i = 0; i < 3; ++i) readValue(zr::ROW_ADJUST_GAIN_R + i, kGain + i, 0);
    for (int i = 0; i < 3; ++i) placeSlider(kGain + i);
}

void AdjustSliders::readValue(int row, int index, int32_t offset) {
    int32_t value = 0;
    const auto i = static_cast<size_t>(index);
    known_[i] = window_.context.params->ReadParam(row, value) == 0;
    if (known_[i]) values_[i] = value - offset;
}

void AdjustSliders::placeSlider(int index) {
    const auto i = static_cast<size_t>(index);
    if (!known_[i]) return;  // a failed read leaves the slider where it was
    const SliderBinding& b = kBindings[index / 3];
    const int32_t value = values_[i];
    // No notification, nothing is sent.
    window_.control<QSlider>(b.firstId + index % 3)->setValue(b.vertical ? -1 - value : value);
}

void AdjustSliders::takeFromEdits() {
    for (size_t i = 0; i < values_.size(); ++i) {
        bool ok = false;
        const int value = valueEdit(window_, i)->text().toInt(&ok);
        known_[i] = ok;
        if (ok) values_[i] = value;
    }
}

void AdjustSliders::showInEdits() {
    for (size_t i = 0; i < values_.size(); ++i) {
        valueEdit(window_, i)
            ->setText(known_[i] ? QString::number(values_[i])
                                : QString::fromLatin1(UnknownValueText));
    }
}
