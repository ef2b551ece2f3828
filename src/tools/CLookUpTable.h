#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "params/LutCsv.h"
#include "params/LutTransfer.h"
#include "tools/LutDragEdit.h"
#include "tools/LutWalkRunner.h"
#include "widgets/ToolWindow.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;

// The look-up table editor: views and edits the camera's output look-up table
// (256 entries per colour channel) as three curves, dragged point by point
// with the mouse. It holds its own copy of the table; only the end of a drag
// and WRITE send entries to the camera, through the owning panel.
class CLookUpTable : public zr::widgets::ToolWindow {
    Q_OBJECT
  public:
    enum { IDD = 130 };
    enum ControlId {
        IDC_CLOSE = 2,
        IDC_OPEN = 1023,
        IDC_SAVE = 1024,
        IDC_SHOW_R = 1025,
        IDC_SHOW_G = 1026,
        IDC_SHOW_B = 1027,
        IDC_STEP_16 = 1028,
        IDC_STEP_32 = 1029,
        IDC_STEP_64 = 1030,
        IDC_STEP_128 = 1031,
        IDC_STEP_256 = 1032,
        IDC_GAMMA_045 = 1033,
        IDC_GAMMA_10 = 1034,
        IDC_WRITE = 1035,
        IDC_READ = 1039,
    };

    explicit CLookUpTable(QWidget* parent = nullptr);

    // Dialog data, exchanged with the STEP radios and the R, G, B check boxes.
    int stepIndex = 0;
    int showChannel[3] = {1, 1, 1};

    zr::LutTable entries = zr::identityLut();
    int step = 16;
    int selectedIndex = 256;  // 256: no point picked
    int dragging = 0;
    // Entries per channel that READ and WRITE walk, from entry 0; the camera's
    // table has 256. Tests shorten it to keep long runs quick.
    int walkEntries = zr::kLutEntries;
    // READ and WRITE show their progress once they have run this long; tests
    // make it 0 to see the dialog at once.
    int progressDelayMs = 400;

    // Invalidates the plot rectangle (no background erase).
    void RedrawPlot();
    // Sets and sends point a at value v with the entries it pulls along (see
    // LutDragEdit::apply); nothing without a complete context.
    void ApplyPoint(int a, int v);
    // Asks for a table file; an empty string when cancelled.
    QString ChooseLutFile(bool save);

    // Replaces the file dialog (tests, scripted runs): given whether it is to
    // save, returns the chosen path or an empty string.
    using FileChooser = std::function<QString(bool save)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // The plot as painted now.
    QImage plotImage() const;

    // Button handlers.
    void OnStepOrChannel();
    void OnGamma045();
    void OnGamma10();
    void OnRead();
    void OnWrite();
    void OnOpen();
    void OnSave();

  signals:
    // After each entry of a READ or WRITE walk, while its progress dialog
    // (a child of the editor) is up to date and before Qt runs.
    void transferAdvanced(int done, int total);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The editor opens with whatever context it is handed: its handlers do
    // nothing without a complete one, and its boxes then go to the screen.
    bool acceptsContext(const zr::widgets::ToolContext&) const override { return true; }
    void setUpWindow() override;

  private:
    void buildControls();
    void exchangeToControls();
    void exchangeFromControls();
    void showMessage(const std::string& text, bool errorIcon);
    // Runs a READ or WRITE walk, owning the link, then says how it ended.
    void runWalk(LutWalkRunner::Direction direction, const LutWalkRunner::Walk& walk);

    LutDragEdit drag_{{entries, showChannel, step, selectedIndex, dragging}};
    QButtonGroup* stepGroup_ = nullptr;
    QCheckBox* channelBoxes_[3] = {};
    FileChooser chooser_;
};
