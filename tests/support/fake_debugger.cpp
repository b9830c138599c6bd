#include "support/fake_debugger.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexel::testing {

ScopedFakeDebugger::ScopedFakeDebugger() {
    int ready[2];
    if (pipe(ready) != 0) return;
    // Yama may only let a tracer attach where the tracee agreed to it.
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    const pid_t tracee = getpid();
    tracer_ = fork();
    if (tracer_ == 0) {
        close(ready[0]);
        // The tracer must not outlive a tracee that ends through exit().
        prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
        // SEIZE attaches without stopping the tracee.
        const char ok = ptrace(PTRACE_SEIZE, tracee, nullptr, nullptr) == 0 ? 1 : 0;
        (void)!write(ready[1], &ok, 1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char ok = 0;
    if (tracer_ > 0 && read(ready[0], &ok, 1) == 1) attached_ = ok == 1;
    close(ready[0]);
}

ScopedFakeDebugger::~ScopedFakeDebugger() {
    detach();
}

void ScopedFakeDebugger::detach() {
    if (tracer_ <= 0) return;
    kill(tracer_, SIGKILL);
    waitpid(tracer_, nullptr, 0);
    tracer_ = -1;
    attached_ = false;
}

}  // namespace vexel::testing
