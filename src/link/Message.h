#pragma once

#include <string>

namespace zr {

enum class MsgIcon { None, Error, Warning, Exclamation, Question, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No, Cancel };

// The owner of a message box, opaque to the core (the panel's address, say).
// nullptr means no owner window.
using MsgOwner = const void*;

// One message box: everything the user sees and how it behaves.
struct Message {
    std::string text;
    std::string caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgOwner owner = nullptr;
    bool systemModal = false;
};

// Where the core shows its message boxes. Always called on the thread that
// serves the user interface (MessageRelay hands worker messages over).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual MsgResult show(const Message& message) = 0;
};

}  // namespace zr
