#include "panel/ClosedPanelSink.h"

zr::MsgResult ClosedPanelSink::show(const zr::Message& message) {
    return message.buttons == zr::MsgButtons::YesNo ? zr::MsgResult::No : zr::MsgResult::Ok;
}
