#pragma once

#include <string>

namespace zr::test {

// A temporary port directory named by ZRK880_PORT_DIR for the test's life.
// COM1..COM10 start as links to nothing, so the machine's own serial ports
// (the built-in defaults) never take part in a test.
class PortDir {
  public:
    PortDir();
    ~PortDir();
    PortDir(const PortDir&) = delete;
    PortDir& operator=(const PortDir&) = delete;

    const std::string& path() const { return path_; }
    std::string entry(int portNumber) const;
    // COMn -> target (replacing what was there).
    void link(int portNumber, const std::string& target);
    void remove(int portNumber);
    // A plain file: somewhere to create things that are not terminals.
    std::string writeFile(const std::string& name, const std::string& content);

  private:
    std::string path_;
};

}  // namespace zr::test
