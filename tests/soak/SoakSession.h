#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "BoxCloser.h"
#include "ExchangeTracker.h"
#include "PanelChecker.h"
#include "Watchdog.h"
#include "model/CameraModel.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "support/FaultSchedule.h"
#include "support/PassClock.h"

namespace zr::test {

// One seeded run: the whole panel with its real link and worker on the
// in-process simulated camera (virtual time), a random operator, a random
// camera, and the checks after every action.
class SoakSession {
  public:
    SoakSession(uint32_t seed, const std::string& folder, Watchdog& watchdog);
    ~SoakSession();
    SoakSession(const SoakSession&) = delete;
    SoakSession& operator=(const SoakSession&) = delete;

    // Plays `actions` actions; a failure aborts the program through the watchdog.
    void play(int actions, std::chrono::milliseconds budget);

    // --- what the actions use -------------------------------------------------
    bool openLink();  // as the Serial Port command's OPEN, on the in-process port
    void vanish();    // the port goes away under the open link
    bool vanished() const { return vanished_; }
    // Runs the event loop for about `ms` real milliseconds.
    void idle(int ms);
    // A problem found by an action itself.
    void fail(const std::string& why);
    // The operator closes the panel's window, now (also from inside a box or
    // a walk); once the action is over a fresh panel starts on the camera.
    void closePanel();
    bool panelClosed() const { return panelClosed_; }
    // Closes the panel from inside the next box that comes up in this action.
    void closeAtNextBox() { closeAtNextBox_ = true; }
    // The camera falls silent once it has received `frames` more frames, for
    // the rest of the action.
    void silenceAfter(int frames);
    // The camera misbehaves no more for the rest of the action.
    void calmCamera() { faults_.setRate(0); }
    // The panel's status line.
    std::string statusText() const;
    int pick(int below) { return static_cast<int>(random() % static_cast<uint32_t>(below)); }

    std::mt19937 random;
    std::string folder;  // files the operator saves and opens
    PassClock clock;
    sim::CameraModel camera;
    ExchangeTracker tracker;
    std::unique_ptr<CZR_K880TM_ControlDlg> panel;
    int lastClicked = 0;  // the control the operator last clicked on the panel

  private:
    uint32_t step();
    void startPanel();
    void restartPanel();
    bool linkBusy();
    void waitUntilIdle();

    Watchdog& watchdog_;
    FaultSchedule faults_;
    BoxCloser closer_;
    std::unique_ptr<PanelChecker> checker_;
    bool vanished_ = false;
    bool panelClosed_ = false;
    bool closeAtNextBox_ = false;
    std::atomic<size_t> silenceAt_{0};  // frames the camera takes before it falls silent, 0 never
};

}  // namespace zr::test
