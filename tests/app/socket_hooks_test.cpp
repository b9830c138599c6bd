#include <gtest/gtest.h>

#include <vexel/net.h>

#include "app/subsystem_hooks.h"

namespace vexel {
namespace {

TEST(SocketHooks, ShutdownBalancesUpToSixteenInitsAndClosesTheSockets) {
    for (int i = 0; i < 16; ++i)
        socket_init();
    const int32_t kept = tcp_listen(0);
    const int32_t closed = tcp_listen(0);
    ASSERT_GE(kept, 0);
    hooks::close_engine_socket(closed);
    EXPECT_EQ(socket_remote_port(closed), 0);
    EXPECT_NE(socket_remote_port(kept), 0);

    hooks::shutdown_sockets();
    EXPECT_EQ(socket_remote_port(kept), 0);
    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(socket_last_error(), 10093);
}

}  // namespace
}  // namespace vexel
