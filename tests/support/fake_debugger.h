#pragma once

#include <sys/types.h>

namespace vexel::testing {

// Attaches a helper process to this one as its tracer, without stopping it, so that the engine
// sees a debugger attached; detaches when destroyed.
class ScopedFakeDebugger {
public:
    ScopedFakeDebugger();
    ~ScopedFakeDebugger();
    ScopedFakeDebugger(const ScopedFakeDebugger&) = delete;
    ScopedFakeDebugger& operator=(const ScopedFakeDebugger&) = delete;

    bool attached() const { return attached_; }
    // Ends the tracer now (a leak checker at exit cannot work under a tracer).
    void detach();

private:
    pid_t tracer_ = -1;
    bool attached_ = false;
};

}  // namespace vexel::testing
