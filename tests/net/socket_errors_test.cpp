#include <gtest/gtest.h>
#include <netdb.h>

#include <cerrno>

#include "net/socket_errors.h"

namespace vexel::net {
namespace {

TEST(SocketErrors, SystemErrorsBecomeTheNumbersScriptsCompareWith) {
    const struct {
        int error_number;
        int32_t code;
    } cases[] = {
        {0, 0},
        {EWOULDBLOCK, 10035},
        {EAGAIN, 10035},
        {EINPROGRESS, 10036},
        {EALREADY, 10037},
        {ENOTSOCK, 10038},
        {EDESTADDRREQ, 10039},
        {EMSGSIZE, 10040},
        {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},
        {ENETUNREACH, 10051},
        {ECONNABORTED, 10053},
        {EPIPE, 10053},
        {ECONNRESET, 10054},
        {ENOBUFS, 10055},
        {EISCONN, 10056},
        {ENOTCONN, 10057},
        {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061},
        {EHOSTUNREACH, 10065},
        {EINVAL, 10022},
        {ENOMEM, 8},
        // No counterpart: kept as it is.
        {ENOENT, ENOENT},
        {EROFS, EROFS},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(socket_code_for_errno(c.error_number), c.code) << c.error_number;
    }
}

TEST(SocketErrors, ResolverErrorsBecomeTheHostLookupNumbers) {
    EXPECT_EQ(socket_code_for_resolver(EAI_NONAME, 0), 11001);
    EXPECT_EQ(socket_code_for_resolver(EAI_AGAIN, 0), 11002);
    EXPECT_EQ(socket_code_for_resolver(EAI_FAIL, 0), 11003);
    EXPECT_EQ(socket_code_for_resolver(EAI_NODATA, 0), 11004);
    EXPECT_EQ(socket_code_for_resolver(EAI_SYSTEM, ECONNREFUSED), 10061);

    record_resolver_error(EAI_NONAME, 0);
    EXPECT_EQ(last_socket_error(), 11001);
    EXPECT_EQ(last_socket_error_words(), gai_strerror(EAI_NONAME));
}

TEST(SocketErrors, TheWordsBelongToTheErrorBehindTheCode) {
    record_code(kInProgress, ETIMEDOUT);
    EXPECT_EQ(last_socket_error(), 10036);
    EXPECT_EQ(last_socket_error_words(), "Connection timed out");
    const uint64_t saved = saved_socket_error();
    record_errno(0);
    EXPECT_EQ(last_socket_error_words(), "Success");
    restore_socket_error(saved);
    EXPECT_EQ(last_socket_error(), 10036);
    EXPECT_EQ(last_socket_error_words(), "Connection timed out");
}

}  // namespace
}  // namespace vexel::net
