#pragma once

#include <functional>
#include <map>
#include <memory>

namespace zr {

// Tells whoever shows a value that it changed: the one home of the value
// keeps one (the parameter table's owner, the panel's port state), whoever
// changes it says so once, and every view brings itself up to date the same
// way. One thread (the user interface's); a listener may come or go while
// others are told, and a listening may outlive the notice.
class ChangeNotice {
    struct Listeners {
        std::map<int, std::function<void()>> byId;
        int nextId = 1;
    };

  public:
    using Listener = std::function<void()>;

    // Ends a listening when destroyed; movable, so a window can hold one.
    class Listening {
      public:
        Listening() = default;
        Listening(const std::shared_ptr<Listeners>& listeners, int id)
            : listeners_(listeners), id_(id) {}
        Listening(Listening&&) noexcept = default;
        Listening& operator=(Listening&& other) noexcept;
        ~Listening() { end(); }
        void end();

      private:
        std::weak_ptr<Listeners> listeners_;
        int id_ = 0;
    };

    ChangeNotice() = default;
    ChangeNotice(const ChangeNotice&) = delete;
    ChangeNotice& operator=(const ChangeNotice&) = delete;

    // Listeners are told in the order they started listening.
    [[nodiscard]] Listening listen(Listener listener);
    void notify();

  private:
    std::shared_ptr<Listeners> listeners_ = std::make_shared<Listeners>();
};

}  // namespace zr
