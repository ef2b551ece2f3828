#pragma once

namespace zr {

// The port choice remembered in the user's profile between runs (section
// "Recent", entry "ComPort").
class SavedPortChoice {
  public:
    // -1 when absent or not a value OK can write (0..14).
    static int load();
    static void save(int choice);
};

}  // namespace zr
