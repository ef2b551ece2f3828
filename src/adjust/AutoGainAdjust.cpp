#include "adjust/AutoGainAdjust.h"

#include <QLabel>

#include "adjust/AdjustControlIds.h"
#include "params/ParamAccess.h"
#include "widgets/ToolWindow.h"

using namespace adjust_id;

namespace {

constexpr int kFirstPollMs = 200;
constexpr int kPollMs = 100;

// Alternates the progress text between polls. It belongs to the program, not
// to one window, so a new window carries on where the last one stopped.
bool g_blink = false;

}  // namespace

AutoGainAdjust::AutoGainAdjust(zr::widgets::ToolWindow& window,
                               std::function<void(int32_t status)> ended)
    : window_(window),
      ended_(std::move(ended)),
      poll_(
          window, kPollMs, [this] { poll(); },
          [this] {
              // The adjustment ends quietly.
              window_.control<QLabel>(AUTO_ADJUST_PROGRESS)->clear();
          }) {}

void AutoGainAdjust::start() {
    window_.context.params->WriteParam(zr::ROW_AUTO_ADJUST, 1);
    poll_.start(kFirstPollMs);
}

void AutoGainAdjust::stop() {
    poll_.stop();
}

void AutoGainAdjust::poll() {
    int32_t status = 1;  // a failed read counts as still adjusting
    window_.context.params->ReadParam(zr::ROW_AUTO_ADJUST, status);
    // A link message shown during the read lets the window be closed meanwhile.
    if (!poll_.running()) return;
    if (status == 1) {
        window_.control<QLabel>(AUTO_ADJUST_PROGRESS)
            ->setText(g_blink ? QStringLiteral("Adjusting...") : QString());
        g_blink = !g_blink;
        poll_.start();
        return;
    }
    poll_.stop();  // the adjustment is over: nothing polls on
    ended_(status);
}
