#include "BusyLoad.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zr::bench {

BusyLoad::BusyLoad(int count) {
    for (int i = 0; i < count; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Ends with the bench, however the bench ends.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            volatile unsigned long spin = 0;
            for (;;) spin = spin + 1;
        }
        if (pid > 0) children_.push_back(pid);
    }
}

BusyLoad::~BusyLoad() {
    for (const pid_t pid : children_) ::kill(pid, SIGKILL);
    for (const pid_t pid : children_) ::waitpid(pid, nullptr, 0);
}

}  // namespace zr::bench
