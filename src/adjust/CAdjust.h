#pragma once

#include <QBasicTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "link/Message.h"
#include "widgets/ToolWindow.h"

class QButtonGroup;
class QSlider;

namespace zr {
class AdjustDataLog;
class ParamAccess;
}  // namespace zr

// The factory adjustment window: opens the camera's adjust mode, sets the
// sensors' sub voltages, gains and registration, runs the camera's automatic
// gain adjustment, reads its identity and temperature, writes its serial
// number and appends the adjustment to the data log. It keeps no camera state
// of its own: every value goes through the panel's parameter operations.
//
// A value the camera did not deliver is never shown as if it had: a failed
// read puts a placeholder into the value's edit or label instead of the last
// value held.
class CAdjust : public zr::widgets::ToolWindow {
    Q_OBJECT
  public:
    // The window's timers by their identifiers.
    enum TimerId { AutoAdjustTimer = 1, TemperatureTimer = 2 };

    // Shown in place of a value whose read failed.
    static constexpr const char* UnknownValueText = "--";
    static constexpr const char* UnknownTemperatureText = "--.-";

    explicit CAdjust(QWidget* parent = nullptr);
    ~CAdjust() override;

    // Data exchange: save copies the controls into the integers, otherwise
    // the integers are shown in the controls.
    void UpdateData(bool save);
    void UpdateAdjustEnables();
    void ReadAdjustData();
    void ShowCameraTemperature();

    int adjustStep() const { return adjustStep_; }
    int registrationSwitch() const { return registrationSwitch_; }
    int32_t adjustValue(int index) const { return adjustValues_[static_cast<size_t>(index)]; }
    int32_t registrationCentre() const { return registrationCentre_; }
    bool isTimerActive(int timerId) const;
    zr::AdjustDataLog& dataLog() { return *dataLog_; }

  public slots:
    void accept() override;  // Enter: the window stays as it is
    void reject() override;  // CLOSE, close box, Escape

  protected:
    void timerEvent(QTimerEvent* event) override;
    // Made once: a second context is refused.
    bool acceptsContext(const zr::widgets::ToolContext& toolContext) const override;
    // Creates the window's controls (template 133) and reads the camera.
    void setUpWindow() override;

  private:
    zr::ParamAccess& params();
    void connectControls();
    void initialise();

    void onStepChange();
    void onAdjustMode();
    void onSliderNotify(int id);
    void onSave();
    void onSetSerial();
    void onFactoryInitialize();
    void onRegistrationSwitch();
    void onAutoAdjust();
    void onContinuous(bool checked);
    void onAutoAdjustTimer();
    void onTemperatureTimer();

    // Reads one adjustment value (minus offset) into its slot; marks it
    // unknown when the read fails.
    void readValue(int row, int index, int32_t offset);
    void placeSlider(int index);
    void showText(int id, const std::string& bytes);

    QButtonGroup* stepGroup_ = nullptr;
    QButtonGroup* modeGroup_ = nullptr;
    QButtonGroup* registrationGroup_ = nullptr;
    std::unique_ptr<zr::AdjustDataLog> dataLog_;

    int adjustStep_ = 0;
    int adjustMode_ = 1;           // OFF
    int registrationSwitch_ = -1;  // neither button until the camera is read
    std::array<int32_t, 12> adjustValues_{};
    std::array<bool, 12> valueKnown_{};
    int32_t registrationCentre_ = 0;

    QBasicTimer autoAdjustTimer_;
    QBasicTimer temperatureTimer_;
    bool polling_ = false;     // automatic gain adjustment running
    bool continuous_ = false;  // temperature refresh running
};
