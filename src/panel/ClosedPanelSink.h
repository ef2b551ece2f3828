#pragma once

#include "link/Message.h"

// Where the panel's boxes go once the panel is closing: closing the window
// ends the program's conversation with the camera, so nothing is shown any
// more. A box is answered as if closed at once: OK, and No to a question, so
// that nothing is confirmed for a window that has gone.
class ClosedPanelSink : public zr::MessageSink {
  public:
    zr::MsgResult show(const zr::Message& message) override;
};
