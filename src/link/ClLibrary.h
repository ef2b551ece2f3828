#pragma once

#include <string>
#include <vector>

namespace zr {

// A Camera Link serial library loaded with dlopen. Libraries are never
// unloaded: a maker's library stays loaded until the process ends, also when
// its port could not be opened.
//
// Names: one ending in ".dll" (any case) is tried as given, then as
// lib<stem>.so, then <stem>.so; any other name as given. A name with '/' is a
// path and is used as given. Plain names are looked up first in the folders of
// $ZRK880_CL_PATH (colon-separated), then by the system's loader.
class ClLibrary {
  public:
    // nullptr when no candidate loads.
    static ClLibrary* load(const std::string& name);
    static std::vector<std::string> candidateNames(const std::string& name);

    void* symbol(const char* name) const;

  private:
    ClLibrary(std::string name, void* handle) : name_(std::move(name)), handle_(handle) {}

    std::string name_;
    void* handle_;
};

}  // namespace zr
