#include "HandleTable.h"

namespace zr::lib {

HandleTable& HandleTable::instance() {
    // Never destroyed: handles a program leaves open at its exit are left to
    // the system, rather than closed while the process's statics go away.
    static HandleTable* table = new HandleTable;
    return *table;
}

uintptr_t HandleTable::add(std::shared_ptr<Camera> camera) {
    std::lock_guard lock(mutex_);
    const uintptr_t handle = next_++;
    cameras_.emplace(handle, std::move(camera));
    return handle;
}

std::shared_ptr<Camera> HandleTable::find(uintptr_t handle) {
    std::lock_guard lock(mutex_);
    const auto it = cameras_.find(handle);
    return it == cameras_.end() ? nullptr : it->second;
}

std::shared_ptr<Camera> HandleTable::remove(uintptr_t handle) {
    std::lock_guard lock(mutex_);
    const auto it = cameras_.find(handle);
    if (it == cameras_.end()) return nullptr;
    std::shared_ptr<Camera> camera = std::move(it->second);
    cameras_.erase(it);
    return camera;
}

}  // namespace zr::lib
