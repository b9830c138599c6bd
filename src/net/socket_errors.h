// Internal: the socket layer's last error. Scripts compare it with the classic socket error
// numbers (10035 would block, 10036 in progress or connect time-out, 10054 reset, ...), so every
// system error is translated through one table; the error behind the code is kept for its text.
#pragma once

#include <cstdint>
#include <string>

namespace vexel::net {

inline constexpr int32_t kNoFreeSocket = 8;    // the 1024 entries are all in use
inline constexpr int32_t kWouldBlock = 10035;  // nothing to read yet, or no room to send
inline constexpr int32_t kInProgress = 10036;  // also the code of a connect time-out
inline constexpr int32_t kConnectionAborted = 10053;
inline constexpr int32_t kConnectionReset = 10054;
inline constexpr int32_t kTimedOut = 10060;
inline constexpr int32_t kNotInitialised = 10093;  // socket_init has not been called

// The socket error number for an errno value. An errno without a counterpart is kept as it is:
// errno values are small, so they never meet the 10000s of the table nor the code 8.
int32_t socket_code_for_errno(int error_number);
// The socket error number for a getaddrinfo result (11001 host not found, 11002 try again,
// 11003 no recovery, 11004 no address); EAI_SYSTEM takes the code of error_number.
int32_t socket_code_for_resolver(int resolver_error, int error_number);

// last_error := the code for errno, remembering errno for the text. 0 records success.
void record_errno(int error_number);
void record_resolver_error(int resolver_error, int error_number);
// Codes of the layer's own (kNoFreeSocket, kNotInitialised, a connect time-out, ...): the text
// comes from errno_behind, or from the layer itself when that is 0.
void record_code(int32_t code, int errno_behind = 0);

int32_t last_socket_error();
// The whole record (code and the error behind it), to put back after clean-up calls.
uint64_t saved_socket_error();
void restore_socket_error(uint64_t saved);
// The system's words for the error behind the last code; empty when there are none.
std::string last_socket_error_words();

}  // namespace vexel::net
