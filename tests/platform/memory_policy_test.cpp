#include "platform/memory_policy.h"

#include <gtest/gtest.h>

#include <cstdlib>  // defines __GLIBC__ with glibc
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vexel::platform {
namespace {

// A large block comes from the heap, not from a mapping of its own, and its memory stays with
// the process after it is freed.
TEST(MemoryPolicy, FreedLargeBlocksStayWithTheProcess) {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "glibc's allocator only";
#else
    constexpr size_t kBlock = size_t{8} << 20;
    keep_freed_memory();
    const size_t mapped = mallinfo2().hblkhd;
    void* block = std::malloc(kBlock);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, kBlock);
    EXPECT_EQ(mallinfo2().hblkhd, mapped);
    std::free(block);
    EXPECT_GE(mallinfo2().fordblks, kBlock);
#endif
}

}  // namespace
}  // namespace vexel::platform
