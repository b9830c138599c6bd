// The script's socket commands over the table. Every descriptor is non-blocking and closed on
// exec, so a program the game starts does not inherit its connections.
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <new>

#include <vexel/net.h>

#include "net/host_addresses.h"
#include "net/socket_errors.h"
#include "net/socket_table.h"

namespace vexel {

namespace {

using net::socket_table;
using net::SocketEntry;

constexpr int kListenBacklog = 10;
constexpr int32_t kConnectWaitLimitMs = 30000;
constexpr int32_t kReceiveLimit = 16 << 20;  // no single receive ever returns more

bool valid_port(int32_t port) {
    if (port >= 0 && port <= 0xFFFF) return true;
    net::record_errno(EINVAL);
    return false;
}

// A new descriptor of the given type, or -1 with its error recorded.
int new_socket(int type) {
    const int handle = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (handle < 0) net::record_errno(errno);
    return handle;
}

// Records errno and closes the descriptor of a socket that never made it into the table.
int32_t discard(int handle) {
    const int error = errno;
    ::close(handle);
    net::record_errno(error);
    return -1;
}

int32_t take_entry(int32_t index, int handle, const sockaddr_in& address, bool is_udp) {
    SocketEntry& entry = *socket_table().any(index);
    entry.handle = handle;
    entry.address = address;
    entry.is_udp = is_udp;
    net::record_errno(0);
    return index;
}

void set_option(int handle, int option) {
    const int on = 1;
    ::setsockopt(handle, SOL_SOCKET, option, &on, sizeof on);
}

// Offers the rest of the bytes until all are gone; waits for room instead of retrying at once.
int32_t send_all(int handle, const char* bytes, uint32_t length, const sockaddr_in* to) {
    uint32_t sent = 0;
    while (sent < length) {
        const ssize_t count = to ? ::sendto(handle, bytes + sent, length - sent, MSG_NOSIGNAL,
                                            reinterpret_cast<const sockaddr*>(to), sizeof *to)
                                 : ::send(handle, bytes + sent, length - sent, MSG_NOSIGNAL);
        if (count >= 0) {
            sent += static_cast<uint32_t>(count);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            net::wait_for(handle, POLLOUT, -1);
        } else if (errno != EINTR) {
            net::record_errno(errno);
            return -1;
        }
    }
    net::record_errno(0);
    return static_cast<int32_t>(std::min<uint32_t>(sent, INT32_MAX));
}

// The text after a receive of count bytes into its own block: those bytes, or empty.
void keep_received(DynString& text, int32_t count) {
    if (text.uses_shared_buffer()) return;
    const uint32_t length = count > 0 ? static_cast<uint32_t>(count) : 0;
    text.data()[length] = 0;
    text.sync_length();
    if (text.length() == length) return;
    // A zero byte among the data: the length has to be set by appending.
    DynString whole;
    whole.reserve(text.capacity() - 1, false);
    whole.append(text.c_str(), length);
    text.swap(whole);
}

}  // namespace

int32_t socket_init() {
    socket_table().init();
    net::record_errno(0);
    return 1;
}

int32_t socket_shutdown() {
    net::SocketTable& table = socket_table();
    if (!table.initialised()) return 0;
    table.shutdown();
    return table.initialised() ? table.init_count() : net::last_socket_error();
}

int32_t socket_last_error() {
    return net::last_socket_error();
}

DynString socket_error_text() {
    const std::string words = net::last_socket_error_words();
    if (words.empty()) return DynString();
    char text[544];
    std::snprintf(text, sizeof text, "%d %.511s", static_cast<int>(net::last_socket_error()),
                  words.c_str());
    return DynString(text);
}

int32_t tcp_listen(int32_t port) {
    const int32_t index = socket_table().free_index();
    if (index < 0 || !valid_port(port)) return -1;
    const int handle = new_socket(SOCK_STREAM);
    if (handle < 0) return -1;
    set_option(handle, SO_REUSEADDR);
    sockaddr_in address = net::socket_address(INADDR_ANY, port);
    socklen_t length = sizeof address;
    if (::bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(handle, kListenBacklog) != 0 ||
        ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return discard(handle);
    }
    return take_entry(index, handle, address, false);
}

int32_t tcp_accept(int32_t listener, int32_t& peer_address) {
    peer_address = 0;
    const SocketEntry* listening = socket_table().used(listener);
    if (!listening) return -1;
    if (listening->is_udp) {
        net::record_errno(0);
        return -1;
    }
    const int32_t index = socket_table().free_index();
    if (index < 0) return -1;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    int handle;
    do {
        handle = ::accept4(listening->handle, reinterpret_cast<sockaddr*>(&peer), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        net::record_errno(errno);
        return -1;
    }
    peer_address = static_cast<int32_t>(ntohl(peer.sin_addr.s_addr));
    return take_entry(index, handle, peer, listening->is_udp);
}

int32_t tcp_connect(const DynString& host, int32_t port, int32_t timeout_ms) {
    const int32_t index = socket_table().free_index();
    if (index < 0 || !valid_port(port)) return -1;
    uint32_t address = 0;
    if (!net::resolve_ipv4(host.c_str(), &address)) return -1;
    if (address == 0 && port == 0) {
        net::record_errno(EADDRNOTAVAIL);
        return -1;
    }
    const int handle = new_socket(SOCK_STREAM);
    if (handle < 0) return -1;
    const sockaddr_in target = net::socket_address(address, port);
    if (::connect(handle, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN && errno != EINTR) return discard(handle);
        const int32_t wait_ms =
            timeout_ms <= 0 || timeout_ms > kConnectWaitLimitMs ? kConnectWaitLimitMs : timeout_ms;
        if (!net::wait_for(handle, POLLOUT, wait_ms)) {
            ::close(handle);
            net::record_code(net::kInProgress, ETIMEDOUT);
            return -1;
        }
        // Writable only says the attempt is over; whether it connected is in SO_ERROR.
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
        if (error != 0) {
            errno = error;
            return discard(handle);
        }
    }
    return take_entry(index, handle, target, false);
}

int32_t tcp_send(int32_t socket, const DynString& text) {
    const SocketEntry* entry = socket_table().used(socket);
    if (!entry) return -1;
    return send_all(entry->handle, text.c_str(), text.length(), nullptr);
}

int32_t udp_open(int32_t port) {
    const int32_t index = socket_table().free_index();
    if (index < 0 || !valid_port(port)) return -1;
    const int handle = new_socket(SOCK_DGRAM);
    if (handle < 0) return -1;
    set_option(handle, SO_REUSEADDR);
    if (port != 0) {
        const sockaddr_in address = net::socket_address(INADDR_ANY, port);
        if (::bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            return discard(handle);
        }
    }
    const int on = 1;
    if (::setsockopt(handle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        const char on_byte = 1;
        ::setsockopt(handle, SOL_SOCKET, SO_BROADCAST, &on_byte, sizeof on_byte);
    }
    return take_entry(index, handle, sockaddr_in{}, true);
}

int32_t udp_send(int32_t socket, const DynString& text, int32_t address, int32_t port) {
    const SocketEntry* entry = socket_table().used(socket);
    if (!entry || !valid_port(port)) return -1;
    if (address == 0 && port == 0) {
        net::record_errno(EADDRNOTAVAIL);
        return -1;
    }
    const sockaddr_in target = net::socket_address(static_cast<uint32_t>(address), port);
    return send_all(entry->handle, text.c_str(), text.length(), &target);
}

int32_t socket_receive(int32_t socket, DynString& text, int32_t max_length) {
    const int32_t size = std::clamp(max_length, 0, kReceiveLimit);
    try {
        text.reserve(static_cast<uint32_t>(size), false);
    } catch (const std::bad_alloc&) {
        text = DynString();
        net::record_errno(ENOMEM);
        return -1;
    }
    char nothing = 0;
    char* buffer = text.uses_shared_buffer() ? &nothing : text.data();
    const int32_t count = net::receive_once(socket, buffer, size);
    keep_received(text, count);
    return count;
}

int32_t socket_close(int32_t socket) {
    SocketEntry* entry = socket_table().used(socket);
    if (!entry) return 0;
    return socket_table().close_entry(*entry) ? 1 : 0;
}

int32_t socket_set_blocking(int32_t socket, int32_t flag) {
    const SocketEntry* entry = socket_table().any(socket);
    if (entry && entry->handle != -1) {
        int non_blocking = flag == 0 ? 1 : 0;
        net::record_errno(::ioctl(entry->handle, FIONBIO, &non_blocking) == 0 ? 0 : errno);
    }
    return net::last_socket_error();
}

int32_t socket_remote_ip(int32_t socket) {
    const SocketEntry* entry = socket_table().any(socket);
    if (!entry || entry->handle == -1) return 0;
    return static_cast<int32_t>(ntohl(entry->address.sin_addr.s_addr));
}

int32_t socket_remote_port(int32_t socket) {
    const SocketEntry* entry = socket_table().any(socket);
    if (!entry || entry->handle == -1) return 0;
    return ntohs(entry->address.sin_port);
}

}  // namespace vexel
