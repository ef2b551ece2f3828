#pragma once

namespace zr::widgets {

// Lets go of every slider and scroll bar that a mouse button holds: the
// auto-repeat of a held arrow or page area stops and a held thumb is dropped,
// as a release of the button would do. Called before a message box comes up:
// the box takes the real release, so the repeat would otherwise run on inside
// the box and bring box after box.
void releaseHeldSliders();

// True while releaseHeldSliders() drops a thumb. Such a release is no
// position the user chose: release handlers write nothing then.
bool releasingHeldSliders();

}  // namespace zr::widgets
