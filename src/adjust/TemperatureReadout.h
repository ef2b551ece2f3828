#pragma once

#include "widgets/IdleLinkPoll.h"

namespace zr::widgets {
class ToolWindow;
}  // namespace zr::widgets

// Shows the camera's temperature in the adjustment window: on request, and
// every half second while the CONTINUOUS box is checked.
class TemperatureReadout {
  public:
    // Shown in place of a temperature whose read failed.
    static constexpr const char* UnknownText = "--.-";

    explicit TemperatureReadout(zr::widgets::ToolWindow& window);

    // Reads the temperature once and shows it.
    void show();
    // Starts or ends the refresh.
    void setContinuous(bool on);
    bool isActive() const { return poll_.isActive(); }

  private:
    void poll();

    zr::widgets::ToolWindow& window_;
    zr::widgets::IdleLinkPoll poll_;
};
