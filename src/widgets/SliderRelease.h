#pragma once

namespace zr::widgets {

// Lets go of every slider and scroll bar that a mouse button holds: the
// auto-repeat of a held arrow or page area stops and a held thumb is dropped,
// as a release of the button would do. Called before a message box comes up:
// the box takes the real release, so the repeat would otherwise run on inside
// the box and bring box after box.
void releaseHeldSliders();

// Called once a box has closed: a slider whose press began the exchange
// that brought the box up (a click on a track bar's groove) arms its repeat
// after that action returns, when the box has already taken the release; its
// repeat would then run on with no button held, box after box. Queued, so it
// stops those repeats as soon as the press's handling has returned.
void stopRepeatsAfterBox();

// True while releaseHeldSliders() drops a thumb. Such a release is no
// position the user chose: release handlers write nothing then.
bool releasingHeldSliders();

}  // namespace zr::widgets
