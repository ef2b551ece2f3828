#pragma once

#include <QWidget>

#include "link/Message.h"

namespace zr {

// Shows the core's message boxes with QMessageBox. The owner handle is the
// QWidget that owns the box; no owner means a box without a parent. A
// system-modal box is application-modal and stays on top.
class QtMessageSink : public MessageSink {
  public:
    explicit QtMessageSink(QWidget* defaultParent = nullptr);
    MsgResult show(const Message& message) override;

  private:
    QWidget* defaultParent_;
};

}  // namespace zr
