#pragma once

namespace zr {

// The executable's base name: the application name of captions and of the profile.
inline constexpr char kApplicationName[] = "ZR_K880TM_Control";
// The profile's organisation: the key the original Windows build kept its settings under.
inline constexpr char kProfileOrganisation[] =
    "アプリケーション ウィザードで生成されたローカル アプリケーション";

}  // namespace zr
