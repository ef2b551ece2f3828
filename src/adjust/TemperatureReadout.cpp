#include "adjust/TemperatureReadout.h"

#include <QCheckBox>
#include <QLabel>

#include "adjust/AdjustControlIds.h"
#include "params/ParamAccess.h"
#include "params/RegisterText.h"
#include "widgets/ToolWindow.h"

using namespace adjust_id;

namespace {

constexpr int kRefreshMs = 500;

}  // namespace

TemperatureReadout::TemperatureReadout(zr::widgets::ToolWindow& window)
    : window_(window),
      poll_(
          window, kRefreshMs, [this] { poll(); },
          [this] {
              // The refresh ends and the check box says so.
              window_.control<QCheckBox>(CONTINUOUS)->setChecked(false);
          }) {}

void TemperatureReadout::show() {
    zr::ParamAccess& params = *window_.context.params;
    // The first register is read for the camera's sake; only the second is shown.
    int32_t value = 0;
    params.ReadParam(zr::ROW_TEMPERATURE_FIRST, value);
    int32_t tenths = 0;
    const bool ok = params.ReadParam(zr::ROW_TEMPERATURE, tenths) == 0;
    window_.control<QLabel>(TEMPERATURE)
        ->setText(ok ? QString::fromStdString(register_text::temperature(tenths))
                     : QString::fromLatin1(UnknownText));
}

void TemperatureReadout::setContinuous(bool on) {
    if (on) {
        poll_.start();
    } else {
        poll_.stop();
    }
}

void TemperatureReadout::poll() {
    show();
    // Unchecked or closed during the read: the refresh has ended.
    if (poll_.running()) poll_.start();
}
