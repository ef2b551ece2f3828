#include "params/TableChanges.h"

#include <vector>

namespace zr {

TableChanges::Listening& TableChanges::Listening::operator=(Listening&& other) noexcept {
    if (this != &other) {
        end();
        changes_ = other.changes_;
        id_ = other.id_;
        other.changes_ = nullptr;
    }
    return *this;
}

void TableChanges::Listening::end() {
    if (changes_ != nullptr) changes_->listeners_.erase(id_);
    changes_ = nullptr;
}

TableChanges::Listening TableChanges::listen(Listener listener) {
    const int id = nextId_++;
    listeners_.emplace(id, std::move(listener));
    return {this, id};
}

void TableChanges::tableChanged() {
    // A listener may open or close a window, and so start or end a listening:
    // each is looked up again just before it is told.
    std::vector<int> ids;
    for (const auto& [id, listener] : listeners_) ids.push_back(id);
    for (int id : ids) {
        const auto it = listeners_.find(id);
        if (it == listeners_.end()) continue;
        const Listener listener = it->second;  // it may end its own listening
        listener();
    }
}

}  // namespace zr
