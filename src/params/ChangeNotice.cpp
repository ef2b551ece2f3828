#include "params/ChangeNotice.h"

#include <vector>

namespace zr {

ChangeNotice::Listening& ChangeNotice::Listening::operator=(Listening&& other) noexcept {
    if (this != &other) {
        end();
        listeners_ = std::move(other.listeners_);
        id_ = other.id_;
        other.listeners_.reset();
    }
    return *this;
}

void ChangeNotice::Listening::end() {
    if (const auto listeners = listeners_.lock()) listeners->byId.erase(id_);
    listeners_.reset();
}

ChangeNotice::Listening ChangeNotice::listen(Listener listener) {
    const int id = listeners_->nextId++;
    listeners_->byId.emplace(id, std::move(listener));
    return {listeners_, id};
}

void ChangeNotice::notify() {
    // A listener may open or close a window, and so start or end a listening:
    // each is looked up again just before it is told.
    std::vector<int> ids;
    for (const auto& [id, listener] : listeners_->byId) ids.push_back(id);
    for (int id : ids) {
        const auto it = listeners_->byId.find(id);
        if (it == listeners_->byId.end()) continue;
        const Listener listener = it->second;  // it may end its own listening
        listener();
    }
}

}  // namespace zr
