#include "net/socket_table.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "net/socket_errors.h"

namespace vexel::net {

void SocketTable::init() {
    if (init_count_++ > 0) return;
    entries_.fill(SocketEntry{});
    raise_open_file_limit();
}

void SocketTable::shutdown() {
    if (init_count_ <= 0) return;
    if (--init_count_ > 0) return;
    for (SocketEntry& entry : entries_) {
        if (entry.handle != -1) close_entry(entry);
    }
}

int32_t SocketTable::free_index() {
    if (!initialised()) {
        record_code(kNotInitialised);
        return -1;
    }
    for (int32_t i = 0; i < kSocketCount; ++i) {
        if (entries_[i].handle == -1) return i;
    }
    record_code(kNoFreeSocket);
    return -1;
}

SocketEntry* SocketTable::used(int32_t socket) {
    if (!initialised()) {
        record_code(kNotInitialised);
        return nullptr;
    }
    SocketEntry* entry = any(socket);
    if (!entry || entry->handle == -1) {
        record_errno(ENOTSOCK);
        return nullptr;
    }
    return entry;
}

SocketEntry* SocketTable::any(int32_t socket) {
    if (socket < 0 || socket >= kSocketCount) return nullptr;
    return &entries_[socket];
}

bool SocketTable::close_entry(SocketEntry& entry) {
    const int handle = entry.handle;
    entry = SocketEntry{};
    const linger off{};
    ::setsockopt(handle, SOL_SOCKET, SO_LINGER, &off, sizeof off);
    ::shutdown(handle, SHUT_RDWR);
    const bool closed = ::close(handle) == 0;
    record_errno(closed ? 0 : errno);
    return closed;
}

SocketTable& socket_table() {
    static SocketTable table;
    return table;
}

void raise_open_file_limit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    const rlim_t wanted = limit.rlim_cur + kSocketCount;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_cur >= limit.rlim_max) return;
    limit.rlim_cur =
        limit.rlim_max == RLIM_INFINITY ? wanted : std::min<rlim_t>(wanted, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

int32_t receive_once(int32_t socket, char* buffer, int32_t size) {
    SocketEntry* entry = socket_table().used(socket);
    if (!entry) return -1;
    ssize_t count;
    do {
        if (entry->is_udp) {
            entry->address = sockaddr_in{};
            socklen_t length = sizeof entry->address;
            count = ::recvfrom(entry->handle, buffer, static_cast<size_t>(size), 0,
                               reinterpret_cast<sockaddr*>(&entry->address), &length);
        } else {
            count = ::recv(entry->handle, buffer, static_cast<size_t>(size), 0);
        }
    } while (count < 0 && errno == EINTR);
    if (count >= 0) {
        record_errno(0);
        return static_cast<int32_t>(count);
    }
    const int error = errno;
    record_errno(error);
    if (error == ECONNRESET) return 0;
    if (error == EAGAIN || error == EWOULDBLOCK) return kNoData;
    return -1;
}

int32_t receive_exactly(int32_t socket, char* buffer, int32_t size) {
    const SocketEntry* entry = socket_table().used(socket);
    if (!entry) return -1;
    const int handle = entry->handle;
    int32_t got = 0;
    while (got < size) {
        const int32_t count = receive_once(socket, buffer + got, size - got);
        if (count > 0) {
            got += count;
        } else if (count != kNoData) {
            return count;
        } else if (got == 0) {
            return kNoData;
        } else {
            wait_for(handle, POLLIN, -1);
        }
    }
    return got;
}

bool wait_for(int handle, short events, int timeout_ms) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    pollfd watch{handle, events, 0};
    for (;;) {
        int wait_ms = -1;
        if (timeout_ms >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait_ms = static_cast<int>(std::max<int64_t>(left.count(), 0));
        }
        const int ready = ::poll(&watch, 1, wait_ms);
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return true;  // the next call on the socket reports the fault
    }
}

}  // namespace vexel::net
