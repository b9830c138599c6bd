#include "net/http_fetch.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

#include <vexel/net.h>

#include "io/file_stream.h"
#include "net/http_header.h"
#include "net/socket_errors.h"
#include "net/socket_table.h"

namespace vexel::net {

namespace {

constexpr int32_t kDefaultPort = 80;
// Large pieces keep the system calls few; the result does not depend on their size.
constexpr int32_t kPieceSize = 64 << 10;

// Appends as much of the piece as the limit leaves room for, growing the block geometrically.
void append_limited(DynString& text, uint32_t limit, const char* bytes, size_t count) {
    const auto room = static_cast<size_t>(limit - std::min(limit, text.length()));
    const auto taken = static_cast<uint32_t>(std::min(room, count));
    if (taken == 0) return;
    const uint32_t needed = text.length() + taken;
    if (text.capacity() < needed + 1) {
        text.reserve(std::min(std::max(needed, text.capacity() * 2), limit), true);
    }
    text.append(bytes, taken);
}

// Sends the request and takes the response until the server closes it.
bool exchange(int32_t socket, const HttpGet& get, FileStream& file) {
    socket_set_blocking(socket, 0);
    const std::string request = http_request(get.host, get.path);
    if (tcp_send(socket, DynString(request.c_str())) != static_cast<int32_t>(request.size())) {
        return false;
    }
    const int handle = socket_table().used(socket)->handle;
    std::vector<char> piece(kPieceSize);
    HeaderScan scan;
    for (;;) {
        const int32_t count = receive_once(socket, piece.data(), kPieceSize);
        if (count == 0) return true;
        if (count == kNoData) {
            if (wait_for(handle, POLLIN, get.idle_limit_ms)) continue;
            record_code(kTimedOut, ETIMEDOUT);
            return false;
        }
        if (count < 0) return false;
        const size_t header = header_bytes(scan, piece.data(), static_cast<size_t>(count));
        const char* body = piece.data() + header;
        const size_t body_length = static_cast<size_t>(count) - header;
        errno = 0;
        if (body_length > 0 && file.is_open() &&
            !file.write(body, static_cast<uint32_t>(body_length))) {
            record_errno(errno ? errno : EIO);
            return false;
        }
        if (get.text) {
            append_limited(*get.text, get.text_limit, body, body_length);
            if (get.text->length() >= get.text_limit) return true;
        }
    }
}

}  // namespace

std::string http_request(const char* host, const char* path) {
    std::string request = "GET ";
    request += path;
    request += " HTTP/1.0\r\nHost:";
    request += host;
    request += "\r\nAccept: */*\r\nUser-Agent: Vexel\r\n\r\n";
    return request;
}

bool http_get(const HttpGet& get) {
    if (get.text) *get.text = DynString();
    FileStream file;
    // open_write refuses "mem://" names before touching anything, so no traffic follows.
    if (get.file && !file.open_write(get.file)) return false;
    socket_init();
    const int32_t socket =
        tcp_connect(get.host, get.port == 0 ? kDefaultPort : get.port, get.connect_timeout_ms);
    bool done = false;
    try {
        done = socket >= 0 && exchange(socket, get, file);
    } catch (const std::bad_alloc&) {
        record_errno(ENOMEM);
    }
    if (done) {
        file.close();
        socket_close(socket);
        return true;
    }
    const uint64_t cause = saved_socket_error();
    if (socket >= 0) socket_close(socket);
    socket_shutdown();
    restore_socket_error(cause);
    return false;
}

}  // namespace vexel::net

namespace vexel {

int32_t web_fetch_to_file(const DynString& host, const DynString& path, int32_t port,
                          const DynString& file, int32_t timeout_ms) {
    net::HttpGet get;
    get.host = host.c_str();
    get.path = path.c_str();
    get.port = port;
    get.connect_timeout_ms = timeout_ms;
    get.file = file.c_str();
    return net::http_get(get) ? 1 : 0;
}

DynString web_fetch_to_text(const DynString& host, const DynString& path, int32_t port,
                            int32_t max_length, int32_t timeout_ms) {
    DynString text;
    net::HttpGet get;
    get.host = host.c_str();
    get.path = path.c_str();
    get.port = port;
    get.connect_timeout_ms = timeout_ms;
    get.text = &text;
    get.text_limit = static_cast<uint32_t>(std::max(max_length, 0));
    if (!net::http_get(get)) return DynString();
    text.truncate(static_cast<int32_t>(std::strlen(text.c_str())));
    return text;
}

}  // namespace vexel
