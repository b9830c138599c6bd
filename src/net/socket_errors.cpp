#include "net/socket_errors.h"

#include <netdb.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace vexel::net {

namespace {

struct ErrnoCode {
    int error_number;
    int32_t code;
};

// Where the classic numbers have a POSIX twin. EAGAIN and EWOULDBLOCK are one value on Linux
// but not everywhere, so both are listed; the first match wins.
constexpr ErrnoCode kErrnoCodes[] = {
    {0, 0},
    {ENOMEM, kNoFreeSocket},
    {EINTR, 10004},
    {EBADF, 10009},
    {EACCES, 10013},
    {EFAULT, 10014},
    {EINVAL, 10022},
    {EMFILE, 10024},
    {ENFILE, 10024},
    {EWOULDBLOCK, kWouldBlock},
    {EAGAIN, kWouldBlock},
    {EINPROGRESS, kInProgress},
    {EALREADY, 10037},
    {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},
    {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},
    {ENETUNREACH, 10051},
    {ENETRESET, 10052},
    {ECONNABORTED, kConnectionAborted},
    // A send on a connection the peer has gone from: the connection is over from our side.
    {EPIPE, kConnectionAborted},
    {ECONNRESET, kConnectionReset},
    {ENOBUFS, 10055},
    {EISCONN, 10056},
    {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},
    {ETOOMANYREFS, 10059},
    {ETIMEDOUT, kTimedOut},
    {ECONNREFUSED, 10061},
    {ELOOP, 10062},
    {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},
    {ENOTEMPTY, 10066},
    {EUSERS, 10068},
    {EDQUOT, 10069},
    {ESTALE, 10070},
    {EREMOTE, 10071},
};

// Where the words of the last error come from.
enum class Cause : uint8_t { kErrno, kResolver, kLayer };

// Code, cause and the value behind it in one word, so that a reader on another thread never
// sees the code of one error with the words of another.
std::atomic<uint64_t> g_last{0};

uint64_t pack(int32_t code, Cause cause, int value) {
    return static_cast<uint32_t>(code) | static_cast<uint64_t>(cause) << 32 |
           static_cast<uint64_t>(static_cast<uint16_t>(value)) << 40;
}

const char* layer_words(int32_t code) {
    switch (code) {
        case kNoFreeSocket:
            return "No free socket number: all 1024 are in use";
        case kNotInitialised:
            return "The socket layer is not initialised (socket_init)";
        default:
            return "";
    }
}

}  // namespace

int32_t socket_code_for_errno(int error_number) {
    for (const ErrnoCode& entry : kErrnoCodes) {
        if (entry.error_number == error_number) return entry.code;
    }
    return error_number;
}

int32_t socket_code_for_resolver(int resolver_error, int error_number) {
    switch (resolver_error) {
        case 0:
            return 0;
        case EAI_NONAME:
            return 11001;
        case EAI_AGAIN:
            return 11002;
        case EAI_FAIL:
            return 11003;
        case EAI_NODATA:
        case EAI_ADDRFAMILY:
            return 11004;
        case EAI_MEMORY:
            return kNoFreeSocket;
        case EAI_FAMILY:
            return 10047;
        case EAI_SOCKTYPE:
            return 10044;
        case EAI_SERVICE:
            return 10109;
        case EAI_SYSTEM:
            return socket_code_for_errno(error_number);
        default:
            return 11003;
    }
}

void record_errno(int error_number) {
    g_last.store(pack(socket_code_for_errno(error_number), Cause::kErrno, error_number),
                 std::memory_order_relaxed);
}

void record_resolver_error(int resolver_error, int error_number) {
    const int32_t code = socket_code_for_resolver(resolver_error, error_number);
    if (resolver_error == EAI_SYSTEM) {
        g_last.store(pack(code, Cause::kErrno, error_number), std::memory_order_relaxed);
    } else {
        g_last.store(pack(code, Cause::kResolver, resolver_error), std::memory_order_relaxed);
    }
}

void record_code(int32_t code, int errno_behind) {
    g_last.store(
        errno_behind ? pack(code, Cause::kErrno, errno_behind) : pack(code, Cause::kLayer, 0),
        std::memory_order_relaxed);
}

int32_t last_socket_error() {
    return static_cast<int32_t>(static_cast<uint32_t>(g_last.load(std::memory_order_relaxed)));
}

uint64_t saved_socket_error() {
    return g_last.load(std::memory_order_relaxed);
}

void restore_socket_error(uint64_t saved) {
    g_last.store(saved, std::memory_order_relaxed);
}

std::string last_socket_error_words() {
    const uint64_t last = g_last.load(std::memory_order_relaxed);
    const auto code = static_cast<int32_t>(static_cast<uint32_t>(last));
    const auto cause = static_cast<Cause>((last >> 32) & 0xFF);
    const auto value = static_cast<int16_t>(static_cast<uint16_t>(last >> 40));
    switch (cause) {
        case Cause::kErrno:
            return std::strerror(value);
        case Cause::kResolver:
            return gai_strerror(value);
        case Cause::kLayer:
            return code == 0 ? std::strerror(0) : layer_words(code);
    }
    return "";
}

}  // namespace vexel::net
