#include "PanelChecker.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>

#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"
#include "panel/ReadoutText.h"
#include "params/ParamAccess.h"
#include "tools/CLookUpTable.h"
#include "tools/CWhiteSpot.h"

namespace zr::test {

using namespace zr::panel;

namespace {

// The shutter's VARIABLE button stands for 255 and for 9, the value after
// the fixed speeds.
bool radioShows(const RadioBinding& binding, int value) {
    if (binding.id == IDC_SHUTTER_VARIABLE) return value == 255 || value == 9;
    return binding.value == value;
}

constexpr int kRowTemperatureFirst = 99;
constexpr int kRowTemperature = 100;
constexpr int kRowAutoGainStatus = 63;

std::string where(int id, int row) {
    return "control " + std::to_string(id) + " (row " + std::to_string(row) + ")";
}

}  // namespace

std::vector<std::string> PanelChecker::check() {
    std::vector<std::string> problems;
    checkRadios(problems);
    checkScrollBars(problems);
    checkToolWindows(problems);
    checkCamera(problems);
    return problems;
}

void PanelChecker::checkRadios(std::vector<std::string>& problems) {
    for (const RadioBinding& binding : radioBindings()) {
        auto* button = qobject_cast<QAbstractButton*>(panel_.control(binding.id));
        const int value = panel_.table()[binding.row].value;
        // The white balance ADJUST button writes 3 and leaves the group as
        // it was until the next refresh: the panel's rule, not a slip.
        if (binding.row == ROW_WHITE_BALANCE && value == 3) continue;
        if (button->isChecked() != radioShows(binding, value)) {
            problems.push_back(where(binding.id, binding.row) + " is " +
                               (button->isChecked() ? "checked" : "not checked") +
                               " while the table holds " + std::to_string(value));
        }
    }
    const int memory = panel_.table()[ROW_MEMORY_LOAD].value;
    const QString shown = qobject_cast<QLabel*>(panel_.control(IDC_MEMORY_CURRENT))->text();
    const QString expected =
        memory == 0 ? QStringLiteral("DEFAULT") : QStringLiteral("FILE %1").arg(memory);
    if (shown != expected) {
        problems.push_back("memory read-out shows \"" + shown.toStdString() + "\", table holds " +
                           std::to_string(memory));
    }
}

void PanelChecker::checkScrollBars(std::vector<std::string>& problems) {
    for (const ScrollBinding& binding : scrollBindings()) {
        auto* bar = qobject_cast<QScrollBar*>(panel_.control(binding.id));
        const int value = panel_.table()[binding.row].value;
        if (bar->value() != value || bar->sliderPosition() != value) {
            problems.push_back(where(binding.id, binding.row) + " shows " +
                               std::to_string(bar->value()) + " (thumb " +
                               std::to_string(bar->sliderPosition()) + ") while the table holds " +
                               std::to_string(value));
            continue;
        }
        auto* readout = qobject_cast<QLabel*>(panel_.control(binding.readoutId));
        const std::string expected = readoutText(binding.id, value);
        if (readout->text().toStdString() != expected) {
            problems.push_back("read-out " + std::to_string(binding.readoutId) + " shows \"" +
                               readout->text().toStdString() + "\", expected \"" + expected + "\"");
        }
    }
}

void PanelChecker::checkToolWindows(std::vector<std::string>& problems) {
    if (CWhiteSpot* spot = panel_.whiteSpotWindow(); spot && spot->isVisible()) {
        auto* bar = qobject_cast<QScrollBar*>(spot->control(CWhiteSpot::IDC_THRESHOLD));
        const int value = panel_.table()[ROW_WHITE_SPOT_LEVEL].value;
        if (bar && bar->value() != value) {
            problems.push_back("white spot threshold shows " + std::to_string(bar->value()) +
                               " while the table holds " + std::to_string(value));
        }
    }
    if (CLookUpTable* lut = panel_.lookUpTableWindow(); lut && lut->dragging != 0) {
        problems.push_back("look-up table editor still drags point " +
                           std::to_string(lut->selectedIndex) + " with no button held");
    }
}

void PanelChecker::checkCamera(std::vector<std::string>& problems) {
    const CameraParamTable& table = panel_.table();
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        // The camera works the temperature out at each read; no register
        // holds it. A read of a status moves the camera on (detection, gain
        // adjustment): after a resend the register is past the answer taken.
        if (row == kRowTemperatureFirst || row == kRowTemperature || row == ROW_WHITE_SPOT_DETECT ||
            row == kRowAutoGainStatus) {
            continue;
        }
        const CameraParam& p = table[row];
        const ExchangeTracker::Known known = tracker_.known(p.writeArea, p.address);
        if (!known.acked) continue;
        const uint32_t reg = camera_.reg(p.writeArea, p.address);
        if (reg != known.data) continue;  // the camera changed it on its own since
        const AnswerBytes bytes{uint8_t(reg >> 16), uint8_t(reg >> 8), uint8_t(reg)};
        const int32_t cameraValue = ParamAccess::valueFromAnswer(p, bytes);
        if (p.value != cameraValue) {
            problems.push_back("row " + std::to_string(row) + ": table holds " +
                               std::to_string(p.value) + ", camera " + std::to_string(cameraValue) +
                               " after an acknowledged exchange");
        }
    }
}

}  // namespace zr::test
