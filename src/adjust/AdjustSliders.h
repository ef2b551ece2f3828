#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace zr::widgets {
class ToolWindow;
}  // namespace zr::widgets

// Keeps the twelve adjustment values in step with their track bars and edits
// and sends a moved thumb to the camera.
//
// The values come R, G, B per group: sub voltages, gains, horizontal and
// vertical registrations. A value the camera did not deliver is marked
// unknown and shown as the window's placeholder.
class AdjustSliders {
  public:
    static constexpr int Count = 12;
    // Shown in an edit whose value the camera did not deliver.
    static constexpr const char* UnknownValueText = "--";

    // `sendRefused` tells the user when the camera did not get a thumb's value.
    AdjustSliders(zr::widgets::ToolWindow& window, std::function<void()> sendRefused);

    // Once the window has its controls and context: the track bars' ranges,
    // ticks and notifications.
    void setUp();

    // What the registrations are sent relative to.
    int32_t registrationCentre() const { return registrationCentre_; }
    int32_t value(int index) const { return values_[static_cast<size_t>(index)]; }

    // Reads the values from the camera and places the thumbs; the edits are
    // left to the window's data exchange.
    void readAll();
    void readGains();

    // Data exchange with the edits.
    void takeFromEdits();
    void showInEdits();

  private:
    void onNotify(int id);
    // Reads one value (minus offset) into its slot; marks it unknown when the
    // read fails.
    void readValue(int row, int index, int32_t offset);
    void placeSlider(int index);

    zr::widgets::ToolWindow& window_;
    std::function<void()> sendRefused_;
    std::array<int32_t, Count> values_{};
    std::array<bool, Count> known_{};
    int32_t registrationCentre_ = 0;
};
