#pragma once

#include <functional>
#include <map>

namespace zr {

// Tells whoever shows the parameter table that its values were read or
// written anew: the panel, its tool windows. The table's owner keeps one;
// a walk, a settings file or a tool window that changed many rows says so
// once, and every view brings itself up to date the same way. One thread
// (the user interface's); a listener may come or go while others are told.
class TableChanges {
  public:
    using Listener = std::function<void()>;

    // Ends a listening when destroyed; movable, so a window can hold one.
    class Listening {
      public:
        Listening() = default;
        Listening(TableChanges* changes, int id) : changes_(changes), id_(id) {}
        Listening(Listening&& other) noexcept { *this = std::move(other); }
        Listening& operator=(Listening&& other) noexcept;
        ~Listening() { end(); }
        void end();

      private:
        TableChanges* changes_ = nullptr;
        int id_ = 0;
    };

    TableChanges() = default;
    TableChanges(const TableChanges&) = delete;
    TableChanges& operator=(const TableChanges&) = delete;

    // Listeners are told in the order they started listening.
    [[nodiscard]] Listening listen(Listener listener);
    void tableChanged();

  private:
    std::map<int, Listener> listeners_;
    int nextId_ = 1;
};

}  // namespace zr
