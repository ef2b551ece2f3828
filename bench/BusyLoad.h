#pragma once

#include <sys/types.h>

#include <vector>

namespace zr::bench {

// Stands in for the vision software beside the panel: `count` processes at
// normal priority that keep a processor busy each until this object ends.
class BusyLoad {
  public:
    explicit BusyLoad(int count);
    ~BusyLoad();
    BusyLoad(const BusyLoad&) = delete;
    BusyLoad& operator=(const BusyLoad&) = delete;

  private:
    std::vector<pid_t> children_;
};

}  // namespace zr::bench
