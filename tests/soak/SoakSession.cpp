#include "SoakSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>

#include "OperatorActions.h"
#include "link/LinkStatus.h"
#include "model/SimClSerial.h"
#include "panel/PanelClock.h"
#include "support_qt/SimPanelPort.h"

namespace zr::test {

namespace {

constexpr uint32_t kSerialIndex = 0;
// Per mille of frames that meet a fault. Time-outs are rare so that a seed
// spends its actions on the panel, not on waiting; they still come often
// enough in a run of a few hundred actions.
constexpr int kFaultRate = 100;
const FaultMix kFaultMix{1000,
                         {{Fault::DropAck, 4},
                          {Fault::Nak, 10},
                          {Fault::CorruptAnswer, 10},
                          {Fault::CutOff, 6},
                          {Fault::Split, 10},
                          {Fault::Merge, 10},
                          {Fault::Garbage, 10},
                          {Fault::AckDelayUnder, 2},
                          {Fault::AckDelayOver, 2},
                          {Fault::AnswerDelayUnder, 1},
                          {Fault::AnswerDelayOver, 1}}};
// Boxes other than the link's time-outs. A click may show one per command it
// sends (the adjustment window checks no result: ADJUST MODE on a closed port
// shows some twenty); while the operator only watches, a box or two may come
// from a timer's last poll. More is a storm: a timer that fails on and on.
constexpr int kMaxBoxesPerAction = 60;
constexpr int kMaxBoxesWatching = 2;

// The faults the camera met, as "name:count" pairs.
std::string summary(const std::vector<FrameRecord>& frames) {
    std::map<Fault, int> met;
    for (const FrameRecord& frame : frames) {
        if (frame.fault != Fault::None) ++met[frame.fault];
    }
    std::string text;
    for (const auto& [fault, count] : met) {
        text +=
            (text.empty() ? "" : " ") + std::string(faultName(fault)) + ":" + std::to_string(count);
    }
    return text;
}

}  // namespace

SoakSession::SoakSession(uint32_t seed, const std::string& folderPath, Watchdog& watchdog)
    : random(seed),
      folder(folderPath),
      camera(clock),
      tracker(camera, clock),
      watchdog_(watchdog),
      faults_(camera, seed ^ 0x5A5A5A5Au, kFaultMix),
      closer_(seed ^ 0xC105Eu) {
    clock.setStep([this] { return step(); });
    clock.setRealSleep(std::chrono::microseconds(20));
    sim::attachModel(kSerialIndex, &camera);
    panel::setLinkClock(&clock);
    startPanel();
    // The link may give up on an exchange only when no reply came.
    closer_.setOnBox([this](const std::string& text) {
        if (panelClosed_) fail("a box came up after the panel closed: \"" + text + "\"");
        if (text == "There is no [ACK]" && tracker.replied()) {
            fail("the link reported no ACK though the camera's reply came over the line");
        }
        if (closeAtNextBox_) {
            closeAtNextBox_ = false;
            faults_.setRate(kFaultRate);
            closePanel();
        }
    });
    closer_.start();
}

void SoakSession::startPanel() {
    panel = std::make_unique<CZR_K880TM_ControlDlg>();
    panel->show();
    // The panel's trace window still sees the link's events.
    zr::TraceQueue& queue = panel->traceQueue();
    tracker.attach(panel->link(), [&queue](const TraceEvent& e) { queue.push(e); });
    checker_ = std::make_unique<PanelChecker>(*panel, camera, tracker);
    lastClicked = 0;
}

void SoakSession::closePanel() {
    if (panelClosed_) return;
    panelClosed_ = true;
    panel->close();
}

// The old panel ends as the program does after its window closed; a new
// one opens the port again and reads the camera.
void SoakSession::restartPanel() {
    panel->link().CloseLink();
    panel.reset();
    panelClosed_ = false;
    tracker.forgetAll();
    startPanel();
    if (!openLink()) fail("the in-process port did not open for a fresh panel");
}

void SoakSession::silenceAfter(int frames) {
    silenceAt_ = camera.commandTexts().size() + static_cast<size_t>(frames);
}

std::string SoakSession::statusText() const {
    auto* line = panel->findChild<QLabel*>(QStringLiteral("connectionStatus"));
    return line ? line->text().toStdString() : std::string();
}

SoakSession::~SoakSession() {
    faults_.setRate(0);
    panel->reject();
    panel->link().CloseLink();
    panel.reset();
    closer_.stop();
    panel::setLinkClock(nullptr);
    sim::attachModel(kSerialIndex, nullptr);
}

// Time moves one tick a pass, except while the link waits for a reply that
// cannot come yet: then straight on to when it is due or a time-out expires,
// so time-outs cost passes, not seconds.
uint32_t SoakSession::step() {
    if (const size_t at = silenceAt_.load(); at > 0 && camera.commandTexts().size() >= at) {
        silenceAt_ = 0;
        camera.updateFaults([](sim::FaultSettings& f) { f.silent = true; });
    }
    SerialLink& link = panel->link();
    if (link.framePending() || !(link.awaitingAck() || link.awaitingAnswer())) return 1;
    const uint32_t now = clock.tickMs();
    uint32_t next = UINT32_MAX;
    if (camera.replyPending()) next = camera.msUntilReplyDue();
    // From the link's side: a port that vanished delivers no frame to the camera.
    const uint32_t sent = tracker.lastFrameTick();
    for (const uint32_t expiry : {sent + kAckTimeoutMs + 1, sent + kAnswerTimeoutMs + 1}) {
        const uint32_t wait = expiry - now;
        if (static_cast<int32_t>(wait) > 0) next = std::min(next, wait);
    }
    return next == UINT32_MAX ? 1 : std::max<uint32_t>(next, 1);
}

bool SoakSession::openLink() {
    if (vanished_) {
        sim::attachModel(kSerialIndex, &camera);
        vanished_ = false;
        closer_.setQuick(false);
    }
    if (!openSimPort(*panel)) return false;
    panel->bulk().ReadFromCamera();
    return true;
}

void SoakSession::vanish() {
    sim::attachModel(kSerialIndex, nullptr);
    vanished_ = true;
    // Every exchange now ends in a time-out box, up to 768 in one walk: the
    // operator clicks them away quickly.
    closer_.setQuick(true);
}

void SoakSession::idle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void SoakSession::fail(const std::string& why) {
    watchdog_.fail(why + "\n    last exchange: " + tracker.lastExchange());
}

bool SoakSession::linkBusy() {
    SerialLink& link = panel->link();
    return link.inExchange() || panel->messages().hasPending();
}

// Until the link is idle with no box up; the tool windows' timers may start
// exchanges meanwhile, so the checks run right at an idle moment.
void SoakSession::waitUntilIdle() {
    for (;;) {
        // The box closer's timer wakes this loop every few milliseconds.
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) continue;
        if (!linkBusy()) return;
    }
}

void SoakSession::play(int actions, std::chrono::milliseconds budget) {
    OperatorActions table(*this);
    watchdog_.arm("start-up read", budget);
    if (!openLink()) fail("the in-process port did not open");
    waitUntilIdle();
    watchdog_.disarm();
    closer_.takeTexts();
    faults_.setRate(kFaultRate);
    std::map<std::string, int> played;  // how often each action came
    for (int n = 0; n < actions; ++n) {
        const OperatorActions::Action& action = table.pick();
        ++played[action.name];
        const std::string label = "#" + std::to_string(n) + " " + action.name;
        watchdog_.note(label);
        watchdog_.arm(label, budget);
        action.run();
        waitUntilIdle();
        closeAtNextBox_ = false;
        faults_.setRate(kFaultRate);
        if (silenceAt_.exchange(0) > 0 || camera.faults().silent) {
            camera.updateFaults([](sim::FaultSettings& f) { f.silent = false; });
        }
        if (panelClosed_) {
            restartPanel();
            waitUntilIdle();
        }
        watchdog_.disarm();
        const std::vector<std::string> boxes = closer_.takeTexts();
        int storm = 0;
        for (const std::string& box : boxes) {
            watchdog_.note("    box " + box);
            // One time-out box per exchange is the link's rule, also in a
            // walk of 768 writes; any other box comes once per act.
            if (box.find("There is no [") == std::string::npos) ++storm;
        }
        const std::string met = summary(faults_.takeRecords());
        if (!met.empty()) watchdog_.note("    camera " + met);
        const bool watching = std::string_view(action.name) == "idle";
        if (storm > (watching ? kMaxBoxesWatching : kMaxBoxesPerAction)) {
            fail("message storm: " + std::to_string(storm) + " boxes in \"" + label + "\"");
        }
        if (tracker.answersBeforeAck() > 0) {
            fail(
                "the link took an answer frame that came before its exchange's ACK (a late answer "
                "of an earlier read)");
        }
        std::vector<std::string> problems = checker_->check();
        if (!problems.empty()) {
            std::string why = "after \"" + label + "\" the panel does not show the camera:";
            for (const std::string& p : problems) why += "\n    " + p;
            fail(why);
        }
    }
    std::string counts;
    for (const auto& [name, count] : played)
        counts += (counts.empty() ? "" : ", ") + name + " " + std::to_string(count);
    std::printf("[ soak     ] actions: %s\n", counts.c_str());
    std::printf("[ soak     ] done: %s\n", table.doneSummary().c_str());
}

}  // namespace zr::test
