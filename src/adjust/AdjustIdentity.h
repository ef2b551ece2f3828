#pragma once

namespace zr::widgets {
class ToolWindow;
}  // namespace zr::widgets

// Shows the camera's identity in the adjustment window (vendor, model,
// versions, serial number) and writes a new serial number.
class AdjustIdentity {
  public:
    explicit AdjustIdentity(zr::widgets::ToolWindow& window) : window_(window) {}

    // Reads the identity registers into their labels; a failed read shows the
    // template's placeholder.
    void read();
    // Writes the serial number edit's text to the camera; false, writing
    // nothing, when the text is no serial number.
    bool writeSerialNumber();

  private:
    zr::widgets::ToolWindow& window_;
};
