// Loopback TCP throughput: 64 MB in 16 KB texts through tcp_send and socket_receive against plain
// send and recv on the same connected pair of sockets. The sender runs on a thread of its own;
// both ways wait with poll when the socket would block, as non-blocking sockets must. The two
// ways alternate round by round (in the order ABBA, so that neither always goes first), so that
// a busy machine slows both alike. Besides the wall-clock throughput, the processor time the
// process spent per round is compared: it is far less disturbed by other work on the machine.
#include <poll.h>
#include <sys/socket.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <vexel/net.h>

#include "net/socket_table.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kBlock = 16 << 10;
constexpr size_t kTotal = 64 << 20;
constexpr int kRounds = 12;

struct Round {
    double wall = 0;  // seconds
    double cpu = 0;   // seconds of processor time, both threads
};

double cpu_now() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Transfer>
Round timed(Transfer transfer) {
    const double cpu_start = cpu_now();
    const auto start = Clock::now();
    transfer();
    return {std::chrono::duration<double>(Clock::now() - start).count(), cpu_now() - cpu_start};
}

int handle_of(int32_t socket) {
    return vexel::net::socket_table().used(socket)->handle;
}

void wait_for(int handle, short events) {
    pollfd watch{handle, events, 0};
    ::poll(&watch, 1, -1);
}

void engine_transfer(int32_t sender, int32_t receiver) {
    const vexel::DynString block(std::string(kBlock, 'x').c_str());
    const int receive_handle = handle_of(receiver);
    std::thread send_side([&] {
        for (size_t sent = 0; sent < kTotal; sent += kBlock)
            vexel::tcp_send(sender, block);
    });
    vexel::DynString text;
    size_t received = 0;
    while (received < kTotal) {
        const int32_t count = vexel::socket_receive(receiver, text, kBlock);
        if (count > 0) {
            received += static_cast<size_t>(count);
        } else if (count == -2) {
            wait_for(receive_handle, POLLIN);
        } else {
            std::fprintf(stderr, "socket_receive failed: %s\n", vexel::socket_error_text().c_str());
            std::exit(1);
        }
    }
    send_side.join();
}

void plain_transfer(int send_handle, int receive_handle) {
    const std::string block(kBlock, 'x');
    std::thread send_side([&] {
        for (size_t sent = 0; sent < kTotal; sent += kBlock) {
            size_t done = 0;
            while (done < kBlock) {
                const ssize_t count =
                    ::send(send_handle, block.data() + done, kBlock - done, MSG_NOSIGNAL);
                if (count >= 0) {
                    done += static_cast<size_t>(count);
                } else {
                    wait_for(send_handle, POLLOUT);
                }
            }
        }
    });
    std::vector<char> buffer(kBlock + 1);
    size_t received = 0;
    while (received < kTotal) {
        const ssize_t count = ::recv(receive_handle, buffer.data(), kBlock, 0);
        if (count > 0) {
            received += static_cast<size_t>(count);
        } else {
            wait_for(receive_handle, POLLIN);
        }
    }
    send_side.join();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    vexel::socket_init();
    const int32_t listener = vexel::tcp_listen(0);
    const int32_t client =
        vexel::tcp_connect("127.0.0.1", vexel::socket_remote_port(listener), 2000);
    int32_t peer = 0;
    int32_t server = -1;
    while (client >= 0 && (server = vexel::tcp_accept(listener, peer)) < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (client < 0) {
        std::fprintf(stderr, "no loopback connection: %s\n", vexel::socket_error_text().c_str());
        return 1;
    }

    std::vector<double> engine_wall, engine_cpu, plain_wall, plain_cpu;
    for (int round = 0; round < kRounds; ++round) {
        const bool engine_first = round % 4 == 0 || round % 4 == 3;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == engine_first) {
                const Round r = timed([&] { engine_transfer(client, server); });
                engine_wall.push_back(r.wall);
                engine_cpu.push_back(r.cpu);
            } else {
                const Round r =
                    timed([&] { plain_transfer(handle_of(client), handle_of(server)); });
                plain_wall.push_back(r.wall);
                plain_cpu.push_back(r.cpu);
            }
        }
    }
    const double megabytes = static_cast<double>(kTotal) / (1 << 20);
    const double engine = megabytes / median(engine_wall);
    const double plain = megabytes / median(plain_wall);
    const double engine_per_cpu = megabytes / median(engine_cpu);
    const double plain_per_cpu = megabytes / median(plain_cpu);
    std::printf("loopback TCP, %zu MB in %zu KB texts, median of %d rounds each (ABBA order)\n",
                kTotal >> 20, kBlock >> 10, kRounds);
    std::printf("                           wall MB/s   MB per processor second\n");
    std::printf("  tcp_send/socket_receive  %9.0f   %9.0f\n", engine, engine_per_cpu);
    std::printf("  send/recv                %9.0f   %9.0f\n", plain, plain_per_cpu);
    std::printf("  ratio                    %9.2f   %9.2f\n", engine / plain,
                engine_per_cpu / plain_per_cpu);
    vexel::socket_shutdown();
    return 0;
}
