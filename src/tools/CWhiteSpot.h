#pragma once

#include <QString>
#include <optional>

#include "params/ChangeNotice.h"
#include "widgets/IdleLinkPoll.h"
#include "widgets/ToolWindow.h"
#include "widgets/WaitCursor.h"

// The white spot detection window: sets the camera's detection threshold,
// starts a detection, polls the camera until it has ended, reports the
// outcome and lists the spots the camera found per colour. Every camera
// access goes through the owning panel's parameter operations.
//
// CLOSE, Enter and Escape only hide the window; a detection in progress is
// still polled and reported. The panel deletes a hidden window before it
// opens a new one, which ends the polling.
class CWhiteSpot : public zr::widgets::ToolWindow {
    Q_OBJECT
  public:
    enum ControlId {
        IDC_CLOSE = 2,
        IDC_DETECT = 1017,
        IDC_THRESHOLD = 1018,
        IDC_READ = 1019,
        IDC_SPOT_LIST = 1020,
        IDC_THRESHOLD_TEXT = 1021,
    };
    // The detection poll: a window timer with this id and period.
    static constexpr int kDetectTimerId = 300;
    static constexpr int kDetectPeriodMs = 300;

    explicit CWhiteSpot(QWidget* parent = nullptr);

    // Handlers; the widgets call them, tests may too.
    // A scroll request (ScrollCode) on the threshold scroll bar; `position`
    // is the thumb's position for the thumb requests.
    void OnHScroll(int code, int position);
    void OnDetect();
    // One tick of a window timer; only kDetectTimerId is this window's own.
    void OnTimer(int id);
    void OnRead();
    // Shows a threshold the table holds now (after a read walk, say) in the
    // scroll bar and its read-out; sends nothing.
    void ShowThreshold(int value);

    // Lists the spots the camera holds into the list field. A failed read
    // ends the listing and leaves the field as it was.
    void ListWhiteSpots();
    // One coordinate (0 x, 1 y) of spot n of a colour, or -1 when the read
    // failed.
    int ReadSpotCoordinate(int colour, int spot, int coordinate);

    // The list field's text exactly as set, with its CR LF line ends.
    QString spotListText() const { return spotListText_; }
    bool detectTimerActive() const { return detectPoll_.isActive(); }

  protected:
    // Reads the threshold once the window has its context.
    void setUpWindow() override;

  private:
    void buildControls();
    // Puts the thumb at `value` and `readout` beside it; sends nothing.
    void moveThreshold(int value, const std::string& readout);
    void setSpotList(const QString& text);
    // One poll of a running detection, with the link idle.
    void pollDetection();
    void endDetection();
    void showResult(const char* text);

    zr::widgets::IdleLinkPoll detectPoll_{*this, kDetectPeriodMs, [this] { pollDetection(); },
                                          [this] { endDetection(); }};
    // Up from the first poll to the end of the detection, across the ticks.
    std::optional<zr::widgets::WaitCursor> waitCursor_;
    QString spotListText_;
    zr::ChangeNotice::Listening tableListening_;
};
