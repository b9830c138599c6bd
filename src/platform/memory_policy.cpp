#include "platform/memory_policy.h"

#include <cstdlib>  // defines __GLIBC__ with glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vexel::platform {

namespace {

constexpr int kLargestHeapBlock = 32 << 20;  // glibc's limit for the mmap threshold
constexpr int kFreeHeapKept = 64 << 20;

}  // namespace

void keep_freed_memory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kFreeHeapKept);
#endif
}

}  // namespace vexel::platform
