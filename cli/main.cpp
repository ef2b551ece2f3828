#include <cstdio>
#include <string>

#include "CliCommands.h"
#include "CliOptions.h"

int main(int argc, char** argv) {
    zr::cli::CliOptions options;
    std::string error;
    if (!zr::cli::parseCliOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "zrk880ctl: %s\n\n%s", error.c_str(), zr::cli::kUsage);
        return zr::cli::kExitUsage;
    }
    if (options.help) {
        std::fputs(zr::cli::kUsage, stdout);
        return zr::cli::kExitOk;
    }
    if (options.version) {
        std::puts("zrk880ctl 1.1.2.0");
        return zr::cli::kExitOk;
    }
    return zr::cli::runCommand(options);
}
