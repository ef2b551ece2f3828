#pragma once

#include <cstdint>
#include <memory>

#include "adjust/AdjustIdentity.h"
#include "adjust/AdjustSliders.h"
#include "adjust/AutoGainAdjust.h"
#include "adjust/TemperatureReadout.h"
#include "widgets/ToolWindow.h"

class QButtonGroup;

namespace zr {
class AdjustDataLog;
class ParamAccess;
}  // namespace zr

// The factory adjustment window: builds it, switches the camera's adjust mode,
// step and registration, and exchanges its controls' data. The track bars,
// the identity, the automatic gain adjustment, the temperature and the data
// log are parts of their own that it holds and wires to its controls. It
// keeps no camera state of its own: every value goes through the panel's
// parameter operations.
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
    static constexpr const char* UnknownValueText = AdjustSliders::UnknownValueText;
    static constexpr const char* UnknownTemperatureText = TemperatureReadout::UnknownText;

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
    int32_t adjustValue(int index) const { return sliders_.value(index); }
    int32_t registrationCentre() const { return sliders_.registrationCentre(); }
    bool isTimerActive(int timerId) const;
    zr::AdjustDataLog& dataLog() { return *dataLog_; }

  public slots:
    void accept() override;  // Enter: the window stays as it is
    void reject() override;  // CLOSE, close box, Escape

  protected:
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
    void onSave();
    void onSetSerial();
    void onFactoryInitialize();
    void onRegistrationSwitch();
    // Reports how the automatic gain adjustment ended and shows the gains.
    void onAutoAdjustEnded(int32_t status);

    QButtonGroup* stepGroup_ = nullptr;
    QButtonGroup* modeGroup_ = nullptr;
    QButtonGroup* registrationGroup_ = nullptr;
    std::unique_ptr<zr::AdjustDataLog> dataLog_;

    int adjustStep_ = 0;
    int adjustMode_ = 1;           // OFF
    int registrationSwitch_ = -1;  // neither button until the camera is read
    AdjustSliders sliders_;
    AdjustIdentity identity_{*this};

    AutoGainAdjust autoAdjust_{*this, [this](int32_t status) { onAutoAdjustEnded(status); }};
    TemperatureReadout temperature_{*this};
};
