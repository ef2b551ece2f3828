#pragma once

#include <functional>
#include <vector>

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

    void click(QWidget* widget);
    void expectFocus(int id);
    bool reachable(QWidget* widget) const;

    SoakSession& s_;
    std::vector<Action> actions_;
    int totalWeight_ = 0;
};

}  // namespace zr::test
