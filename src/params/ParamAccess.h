#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/Message.h"
#include "link/SerialLink.h"
#include "params/CameraParamTable.h"
#include "params/ChangeNotice.h"

namespace zr {

// The parameter operations every window uses to talk to the camera. They own
// the table and work on the one link; the main panel holds one instance and
// hands it to its tool windows. `owner` is the window that owns the range
// check's message box (opaque here).
class ParamAccess {
  public:
    ParamAccess(SerialLink& link, MsgOwner owner = nullptr);

    // 0 on success, -1 when out of range or refused by the link.
    int32_t WriteParam(int row, int32_t value);
    // The link's result: 0 on success, non-zero on failure. No table row.
    int32_t WriteCommandText(std::string_view text);
    // 0 on success (value and row updated), -2 on failure (both untouched).
    int32_t ReadParam(int row, int32_t& value);
    // 1 when answer data arrived (answer written), 0 otherwise (untouched).
    int32_t ReadRegister(std::string_view text, AnswerBytes& answer);

    CameraParamTable& table() { return table_; }
    const CameraParamTable& table() const { return table_; }
    // Whoever changed many rows at once says so here; the views listen.
    ChangeNotice& changes() { return changes_; }
    SerialLink& link() { return link_; }
    MsgOwner owner() const { return owner_; }
    void setOwner(MsgOwner owner) { owner_ = owner; }

    // Pure encoding, shared with whoever needs the texts without sending.
    static std::string writeText(const CameraParam& row, int32_t value);
    static std::string readText(const CameraParam& row);
    static int32_t valueFromAnswer(const CameraParam& row, const AnswerBytes& answer);

  private:
    SerialLink& link_;
    CameraParamTable table_;
    ChangeNotice changes_;
    MsgOwner owner_;
};

}  // namespace zr
