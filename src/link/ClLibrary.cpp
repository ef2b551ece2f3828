#include "link/ClLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>
#include <mutex>

namespace zr {

namespace {

bool endsWithDll(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(c | 0x20);
    return tail == ".dll";
}

std::vector<std::string> searchDirs() {
    std::vector<std::string> dirs;
    const char* value = std::getenv("ZRK880_CL_PATH");
    if (!value) return dirs;
    std::string list(value);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) dirs.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return dirs;
}

// Every library once loaded, so that its wrapper lives as long as the process.
std::mutex registryMutex;
std::vector<std::unique_ptr<ClLibrary>>& registry() {
    static std::vector<std::unique_ptr<ClLibrary>> libraries;
    return libraries;
}

}  // namespace

std::vector<std::string> ClLibrary::candidateNames(const std::string& name) {
    if (name.find('/') != std::string::npos || !endsWithDll(name)) return {name};
    const std::string stem = name.substr(0, name.size() - 4);
    return {name, "lib" + stem + ".so", stem + ".so"};
}

ClLibrary* ClLibrary::load(const std::string& name) {
    if (name.empty()) return nullptr;
    void* handle = nullptr;
    const bool isPath = name.find('/') != std::string::npos;
    const std::vector<std::string> dirs = isPath ? std::vector<std::string>() : searchDirs();
    for (const std::string& candidate : candidateNames(name)) {
        for (const std::string& dir : dirs) {
            handle = dlopen((dir + "/" + candidate).c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle) break;
        }
        if (!handle) handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle) break;
    }
    if (!handle) return nullptr;

    std::lock_guard lock(registryMutex);
    for (const auto& library : registry()) {
        if (library->handle_ == handle && library->name_ == name) {
            dlclose(handle);  // drop the extra reference; one stays for good
            return library.get();
        }
    }
    registry().push_back(std::unique_ptr<ClLibrary>(new ClLibrary(name, handle)));
    return registry().back().get();
}

void* ClLibrary::symbol(const char* name) const {
    return dlsym(handle_, name);
}

}  // namespace zr
