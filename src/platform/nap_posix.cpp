#include <time.h>

#include <cerrno>
#include <cmath>

#include "platform/timer.h"

namespace vexel::platform {

void nap_ms(double ms) {
    if (!(ms > 0)) return;
    constexpr long kNanosPerSecond = 1000000000L;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const double nanos = std::fmin(ms, 1000.0) * 1e6;
    deadline.tv_nsec += static_cast<long>(nanos);
    while (deadline.tv_nsec >= kNanosPerSecond) {
        deadline.tv_nsec -= kNanosPerSecond;
        ++deadline.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace vexel::platform
