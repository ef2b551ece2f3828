#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "params/LutTransfer.h"
#include "tools/LutProgressDialog.h"
#include "widgets/WaitCursor.h"

// Runs one READ or WRITE walk over the look-up table under the wait cursor and
// its progress dialog, and words how a walk that ended short ended.
class LutWalkRunner {
  public:
    using Direction = LutProgressDialog::Direction;
    using Walk = std::function<zr::LutWalkResult(const zr::LutProgress&)>;

    // `walkEntries`: the entries the walk takes of each channel; the dialog,
    // a child of `parent`, shows once the walk has run `delayMs`.
    LutWalkRunner(Direction direction, int walkEntries, int delayMs, QWidget* parent);

    LutProgressDialog& progress() { return progress_; }

    // Runs the walk, then hides the dialog and ends the wait cursor. Returns
    // the text of the box for a walk that failed or was cancelled, or nothing
    // for one that ran to its end.
    std::string run(const Walk& walk);

  private:
    zr::widgets::WaitCursor wait_;
    LutProgressDialog progress_;
};
