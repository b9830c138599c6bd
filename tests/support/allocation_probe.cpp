#include "support/allocation_probe.h"

#include <atomic>
#include <new>

namespace vexel::testing {

namespace {

std::atomic<size_t> g_largest{0};

}  // namespace

void reset_largest_nothrow_array() {
    g_largest = 0;
}

size_t largest_nothrow_array() {
    return g_largest;
}

}  // namespace vexel::testing

// Replaces the library's version for the whole test program: it notes the size and allocates
// as the throwing form does, so that every delete[] still matches.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    size_t largest = vexel::testing::g_largest.load();
    while (size > largest && !vexel::testing::g_largest.compare_exchange_weak(largest, size)) {
    }
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
