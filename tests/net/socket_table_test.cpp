#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include <vexel/net.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

size_t open_descriptors() {
    const std::filesystem::directory_iterator listing("/proc/self/fd");
    return static_cast<size_t>(std::distance(begin(listing), end(listing)));
}

TEST(SocketTable, TheSocketAfterTheThousandAndTwentyFourthFailsWithEight) {
    // The usual soft limit: 1024 descriptors for everything, the game's own files included.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_max < 2048) GTEST_SKIP() << "hard limit of open files below 2048";
    limit.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    const size_t descriptors_before = open_descriptors();

    socket_init();
    for (int32_t n = 0; n < 1024; ++n)
        ASSERT_EQ(udp_open(0), n) << testing::bytes(socket_error_text());
    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(testing::bytes(socket_error_text()), "8 No free socket number: all 1024 are in use");
    EXPECT_EQ(socket_close(500), 1);
    EXPECT_EQ(tcp_listen(0), 500);

    EXPECT_EQ(socket_shutdown(), 0);
    EXPECT_EQ(open_descriptors(), descriptors_before);
}

}  // namespace
}  // namespace vexel
