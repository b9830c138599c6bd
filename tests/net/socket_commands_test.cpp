#include <fcntl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include <vexel/net.h>

#include "net/socket_table.h"
#include "support/http_test_server.h"
#include "support/text_bytes.h"

namespace vexel {
namespace {

using Clock = std::chrono::steady_clock;
using testing::bytes;

constexpr int32_t kLoopback = 0x7F000001;
constexpr int32_t kNoData = -2;

// Repeats a non-blocking call while it answers "nothing yet", for at most two seconds.
template <typename Call>
int32_t when_ready(Call call) {
    const auto give_up = Clock::now() + std::chrono::seconds(2);
    int32_t result;
    while ((result = call()) == kNoData && Clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return result;
}

struct Connection {
    int32_t listener = tcp_listen(0);
    int32_t client = tcp_connect("127.0.0.1", socket_remote_port(listener), 2000);
    int32_t peer = 0;
    int32_t server = when_ready([this] {
        const int32_t accepted = tcp_accept(listener, peer);
        return accepted < 0 && socket_last_error() == 10035 ? kNoData : accepted;
    });
};

class SocketCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(socket_init(), 1); }
    void TearDown() override { socket_shutdown(); }
};

TEST_F(SocketCommands, ListenConnectAcceptAndExchangeText) {
    const Connection c;
    EXPECT_EQ(c.listener, 0);  // the lowest free numbers, in order
    EXPECT_EQ(c.client, 1);
    ASSERT_EQ(c.server, 2);
    EXPECT_EQ(socket_remote_port(c.client), socket_remote_port(c.listener));
    EXPECT_EQ(c.peer, kLoopback);
    EXPECT_EQ(socket_remote_ip(c.server), kLoopback);

    DynString text = "left over";
    EXPECT_EQ(socket_receive(c.server, text, 100), kNoData);
    EXPECT_EQ(socket_last_error(), 10035);
    EXPECT_EQ(bytes(text), "");

    const std::string message("hello\0world", 11);
    EXPECT_EQ(tcp_send(c.client, testing::text_of(message)), 11);
    EXPECT_EQ(when_ready([&] { return socket_receive(c.server, text, 100); }), 11);
    EXPECT_EQ(bytes(text), message);
    EXPECT_EQ(tcp_send(c.server, "abcdef"), 6);
    EXPECT_EQ(when_ready([&] { return socket_receive(c.client, text, 4); }), 4);
    EXPECT_EQ(bytes(text), "abcd");

    const int handle = net::socket_table().used(c.server)->handle;
    EXPECT_EQ(socket_set_blocking(c.server, 1), 0);
    EXPECT_EQ(fcntl(handle, F_GETFL) & O_NONBLOCK, 0);
    socket_set_blocking(c.server, 0);
    EXPECT_NE(fcntl(handle, F_GETFL) & O_NONBLOCK, 0);

    EXPECT_EQ(socket_close(c.client), 1);
    EXPECT_EQ(when_ready([&] { return socket_receive(c.server, text, 100); }), 0);
    EXPECT_EQ(bytes(text), "");
    EXPECT_EQ(udp_open(0), c.client);  // the freed number comes back first
}

TEST_F(SocketCommands, ConnectFailsWhenRefusedAndWhenItsTimeOutPasses) {
    EXPECT_EQ(tcp_connect("127.0.0.1", testing::unused_loopback_port(), 2000), -1);
    EXPECT_EQ(bytes(socket_error_text()), "10061 Connection refused");

    // A listener that never accepts: once its queue is full Linux drops further attempts
    // without an answer, so the next connect waits.
    const int32_t port = socket_remote_port(tcp_listen(0));
    int32_t result = 0;
    Clock::duration waited{};
    for (int attempt = 0; attempt < 64 && result >= 0; ++attempt) {
        const auto start = Clock::now();
        result = tcp_connect("127.0.0.1", port, 200);
        waited = Clock::now() - start;
    }
    EXPECT_EQ(bytes(socket_error_text()), "10036 Connection timed out");
    EXPECT_GE(waited, std::chrono::milliseconds(190));
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST_F(SocketCommands, UdpUnboundSendsAndReceiveTellsTheSender) {
    const int32_t port = testing::unused_loopback_port(true);
    const int32_t receiver = udp_open(port);
    const int32_t sender = udp_open(0);
    EXPECT_EQ(udp_send(sender, "ping", kLoopback, port), 4);
    DynString text;
    EXPECT_EQ(when_ready([&] { return socket_receive(receiver, text, 100); }), 4);
    EXPECT_EQ(bytes(text), "ping");
    EXPECT_EQ(socket_remote_ip(receiver), kLoopback);
    // The address the receive filled in reaches the unbound sender.
    udp_send(receiver, "pong", socket_remote_ip(receiver), socket_remote_port(receiver));
    EXPECT_EQ(when_ready([&] { return socket_receive(sender, text, 100); }), 4);
    EXPECT_EQ(bytes(text), "pong");

    int32_t peer = 99;
    EXPECT_EQ(socket_receive(receiver, text, 100), kNoData);
    EXPECT_EQ(tcp_accept(receiver, peer), -1);
    EXPECT_EQ(socket_last_error(), 0);
}

TEST_F(SocketCommands, SendingToAPeerThatWentAwayFailsWithoutASignal) {
    const Connection c;
    socket_close(c.server);
    const DynString block = testing::text_of(std::string(64 << 10, 'x'));
    int32_t result = 0;
    for (int attempt = 0; attempt < 100 && result >= 0; ++attempt) {
        result = tcp_send(c.client, block);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(socket_last_error() == 10053 || socket_last_error() == 10054);
}

TEST_F(SocketCommands, NumbersAndPortsOutOfRangeAreRefused) {
    for (const int32_t socket : {-1, 5, 1024}) {
        DynString text = "old";
        EXPECT_EQ(socket_close(socket), 0);
        EXPECT_EQ(socket_receive(socket, text, 10), -1);
        EXPECT_EQ(bytes(text), "");
        EXPECT_EQ(tcp_send(socket, "x"), -1);
        EXPECT_EQ(socket_set_blocking(socket, 1), 10038);  // skipped; the last error only read
    }
    EXPECT_EQ(tcp_listen(65536), -1);
    EXPECT_EQ(socket_last_error(), 10022);
    EXPECT_EQ(udp_send(udp_open(0), "x", 0, 0), -1);
    EXPECT_EQ(socket_last_error(), 10049);
}

TEST_F(SocketCommands, ReceiveExactlyWaitsForTheRestOnceDataHasCome) {
    const Connection c;
    char buffer[8] = {};
    EXPECT_EQ(net::receive_exactly(c.server, buffer, 8), kNoData);
    tcp_send(c.client, "abc");
    std::thread rest([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        tcp_send(c.client, "defgh");
    });
    EXPECT_EQ(when_ready([&] { return net::receive_exactly(c.server, buffer, 8); }), 8);
    rest.join();
    EXPECT_EQ(std::string(buffer, 8), "abcdefgh");
    tcp_send(c.client, "ab");
    socket_close(c.client);
    EXPECT_EQ(when_ready([&] { return net::receive_exactly(c.server, buffer, 8); }), 0);
}

}  // namespace
}  // namespace vexel
