#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "Camera.h"

namespace zr::lib {

// The open handles. A handle is a number handed out once and never again, so
// a closed or made-up handle is recognised as such instead of being followed
// to memory that is gone.
class HandleTable {
  public:
    static HandleTable& instance();

    uintptr_t add(std::shared_ptr<Camera> camera);
    // The camera of an open handle, or null. The caller's share keeps it
    // alive through a call that runs while another thread closes it.
    std::shared_ptr<Camera> find(uintptr_t handle);
    // Takes the handle out of the table; null when it was not there.
    std::shared_ptr<Camera> remove(uintptr_t handle);

  private:
    std::mutex mutex_;
    std::map<uintptr_t, std::shared_ptr<Camera>> cameras_;
    uintptr_t next_ = 1;
};

}  // namespace zr::lib
