#include "support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace vexel::testing {

namespace {

constexpr int kPollSliceMs = 20;
constexpr auto kPieceGap = std::chrono::milliseconds(50);

// A non-blocking socket of the given type bound to 127.0.0.1 at a free port.
int bound_loopback_socket(int type, int32_t* port) {
    const int handle = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return handle;
}

bool readable(int handle) {
    pollfd watch{handle, POLLIN, 0};
    return ::poll(&watch, 1, kPollSliceMs) > 0;
}

}  // namespace

ScriptedHttpServer::ScriptedHttpServer(std::vector<std::string> pieces, bool close_after)
    : pieces_(std::move(pieces)), close_after_(close_after) {
    listener_ = bound_loopback_socket(SOCK_STREAM, &port_);
    ::listen(listener_, 4);
    thread_ = std::thread([this] { serve(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
    finish();
    ::close(listener_);
}

std::string ScriptedHttpServer::finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return request_;
}

void ScriptedHttpServer::serve() {
    int client = -1;
    while ((client = ::accept(listener_, nullptr, nullptr)) < 0) {
        if (stop_) return;
        readable(listener_);
    }
    client_came_ = true;
    char buffer[4096];
    while (request_.find("\r\n\r\n") == std::string::npos && !stop_) {
        if (!readable(client)) continue;
        const ssize_t count = ::recv(client, buffer, sizeof buffer, 0);
        if (count <= 0) break;
        request_.append(buffer, static_cast<size_t>(count));
    }
    for (size_t i = 0; i < pieces_.size(); ++i) {
        if (i > 0) std::this_thread::sleep_for(kPieceGap);
        ::send(client, pieces_[i].data(), pieces_[i].size(), MSG_NOSIGNAL);
    }
    while (!close_after_ && !stop_) {
        if (readable(client) && ::recv(client, buffer, sizeof buffer, 0) <= 0) break;
    }
    ::close(client);
}

int32_t unused_loopback_port(bool udp) {
    int32_t port = 0;
    ::close(bound_loopback_socket(udp ? SOCK_DGRAM : SOCK_STREAM, &port));
    return port;
}

}  // namespace vexel::testing
