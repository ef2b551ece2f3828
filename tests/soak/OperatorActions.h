#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class CLinkTrace;
class QAbstractSlider;
class QWidget;

namespace zr::test {

class SoakSession;

// Everything the operator can do, one table: name, weight, what it does.
// An action whose window is not open does nothing (the operator cannot reach
// it); pick() draws from the seeded sequence of the session.
class OperatorActions {
  public:
    struct Action {
        const char* name;
        int weight;
        std::function<void()> run;
    };

    explicit OperatorActions(SoakSession& session);
    const Action& pick();
    // What the new kinds of action did, "what count, ...", for the run's note.
    std::string doneSummary() const;

  private:
    // The panel.
    void clickRadio();
    void scrollAction();
    void holdScrollArrow();
    void dragScrollThumb();
    void scrollContextMenu();
    void wheel();
    void arrowKey();
    void pushButton();
    void selectMemory();
    void menuCommand();
    void accelerator();
    void reopenPort();
    void vanishPort();
    // The tool windows.
    void lookUpTable();
    void lookUpTableDrag();
    void lookUpTableCancel();
    void lookUpTableFile();
    void whiteSpot();
    void manualCommand();
    void adjust();
    void adjustSave();
    // Real presses, moves and releases on a thumb.
    void adjustDrag();
    void whiteSpotDrag();
    // The panel's settings file commands and its link trace window.
    void settingsFile();
    void checkSavedFile(const std::string& text);
    void linkTrace();
    void traceStep(CLinkTrace* trace);
    void closePanel();

    void click(QWidget* widget);
    void dragThumb(QAbstractSlider* slider);
    void expectFocus(int id);
    bool reachable(QWidget* widget) const;

    SoakSession& s_;
    void did(const char* what) { ++done_[what]; }

    bool traceAway_ = false;
    bool inWalk_ = false;              // a look-up table walk runs below
    std::map<std::string, int> done_;  // the operator scrolled the trace view up from its end
    std::vector<Action> actions_;
    int totalWeight_ = 0;
};

}  // namespace zr::test
