// Internal: the one worker behind both web-fetch commands.
#pragma once

#include <cstdint>
#include <string>

#include <vexel/dyn_string.h>

namespace vexel::net {

// A fetch gives up when the server has sent nothing for this long without closing.
inline constexpr int32_t kFetchIdleLimitMs = 30000;

struct HttpGet {
    const char* host = "";
    const char* path = "";
    int32_t port = 80;  // 0 means 80
    int32_t connect_timeout_ms = 0;
    const char* file = nullptr;  // the body is written here when set
    DynString* text = nullptr;   // and appended here when set, at most text_limit bytes
    uint32_t text_limit = 0;
    int32_t idle_limit_ms = kFetchIdleLimitMs;
};

// The request exactly as it is sent.
std::string http_request(const char* host, const char* path);

// True when the server closed the connection after the whole body (or the text was full). On
// failure the file keeps the body bytes that arrived, the socket layer's init is undone and its
// last error tells the cause.
bool http_get(const HttpGet& get);

}  // namespace vexel::net
