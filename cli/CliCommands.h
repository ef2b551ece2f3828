#pragma once

#include "CliOptions.h"

namespace zr::cli {

enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitDiffers = 3 };

// Runs the command named in the options; returns the process exit status.
int runCommand(const CliOptions& options);

}  // namespace zr::cli
