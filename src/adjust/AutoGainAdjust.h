#pragma once

#include <cstdint>
#include <functional>

#include "widgets/IdleLinkPoll.h"

namespace zr::widgets {
class ToolWindow;
}  // namespace zr::widgets

// Runs the camera's automatic gain adjustment: starts it and polls the camera,
// blinking the progress text, until the adjustment has ended.
class AutoGainAdjust {
  public:
    // `ended` gets the camera's last status: 0 when the adjustment finished,
    // anything else when it failed. The progress text is left to it.
    AutoGainAdjust(zr::widgets::ToolWindow& window, std::function<void(int32_t status)> ended);

    void start();
    // The window closes: no more polls, nothing reported.
    void stop();
    bool isActive() const { return poll_.isActive(); }

  private:
    void poll();

    zr::widgets::ToolWindow& window_;
    std::function<void(int32_t status)> ended_;
    zr::widgets::IdleLinkPoll poll_;
};
