#pragma once

#include <string>
#include <vector>

#include "support/CamsimProcess.h"

namespace zr::test {

// The result of running a program to its end.
struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments and extra environment (NAME=VALUE), capturing
// stdout and stderr; kills it after `timeoutMs`.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {}, int timeoutMs = 20000);

std::string cliPath();  // the zrk880ctl program

}  // namespace zr::test
