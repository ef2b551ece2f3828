#pragma once

#include "link/Message.h"

namespace zr {

// Shows the core's message boxes with QMessageBox. The owner handle is the
// QWidget that owns the box; no owner means a box without a parent. A
// system-modal box is application-modal and stays on top.
class QtMessageSink : public MessageSink {
  public:
    MsgResult show(const Message& message) override;
};

}  // namespace zr
