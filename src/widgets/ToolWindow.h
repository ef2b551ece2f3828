#pragma once

#include <QDialog>
#include <string>

#include "link/Message.h"
#include "widgets/ControlMap.h"
#include "widgets/DialogUnits.h"
#include "widgets/ToolContext.h"

class QKeyEvent;

namespace zr::widgets {

// What every tool window the panel opens has in common: the context it was
// handed, its modeless creation, its controls by template id, its keys and
// its message boxes. A base class rather than free helpers because the keys
// need the dialog's own event handler and the creation needs a hook per
// window; the windows keep only what is their own.
class ToolWindow : public QDialog {
    Q_OBJECT
  public:
    // What Enter away from a push button does.
    enum class EnterKey {
        Hides,     // hides the window, as Escape and CLOSE do
        AsDialog,  // left to the dialog: clicks a default button if one is set
    };

    explicit ToolWindow(EnterKey enterKey, QWidget* parent = nullptr);

    // Keeps what the window uses of the program, makes it modeless and runs
    // the window's own set-up. Returns false, keeping nothing, for a context
    // the window refuses.
    virtual bool CreateModeless(const ToolContext& toolContext);

    // The control with a template id, or nullptr.
    QWidget* control(int id) const { return controls_.widget(id); }
    template <typename T>
    T* control(int id) const {
        return qobject_cast<T*>(control(id));
    }

    ToolContext context;

    // True while a tool window's long walk runs (see LongWalk).
    static bool walkRunning();

    // What a timer tick of the window may do with the link.
    enum class LinkState { Closed, Busy, Idle };
    LinkState linkState() const;

  protected:
    // By default a window needs every part of the context.
    virtual bool acceptsContext(const ToolContext& toolContext) const {
        return toolContext.complete();
    }
    // The window's own set-up, once the context is kept.
    virtual void setUpWindow() {}

    ControlMap& controls() { return controls_; }

    // Lays the window out from its .ui template: in the template font, at
    // the template's dialog units, its controls taken by id.
    template <typename Ui>
    DialogUnits setUpFromTemplate(Ui& ui) {
        const QFont font = templateFont();
        setFont(font);
        ui.setupUi(this);
        controls_.addTemplate(this);
        const DialogUnits units(font);
        units.applyToTemplate(this);
        return units;
    }

    // While one lives, a long walk (the look-up table's READ or WRITE, whose
    // progress dialog lets Qt run between its exchanges) owns the link: the
    // timer ticks of every tool window read it as busy, so no poll slips in
    // between two entries. GUI thread only.
    class LongWalk {
      public:
        LongWalk() { ++running_; }
        ~LongWalk() { --running_; }
        LongWalk(const LongWalk&) = delete;
        LongWalk& operator=(const LongWalk&) = delete;
        static bool running() { return running_ > 0; }

      private:
        static inline int running_ = 0;
    };

    // An OK box through the program's message relay; before the window has a
    // context, straight to the screen, so that no box is ever lost.
    MsgResult showBox(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgOwner owner);
    // The caption of the tool windows' own boxes.
    static std::string applicationCaption();

    void keyPressEvent(QKeyEvent* event) override;

  private:
    EnterKey enterKey_;
    ControlMap controls_;  // id -> widget of the template
};

}  // namespace zr::widgets
