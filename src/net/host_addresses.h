// Internal: names and local addresses as the socket commands and the web fetch need them.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>

namespace vexel::net {

inline constexpr size_t kAddressListLimit = 2047;

// The IPv4 address of a name or dotted address, in host order; an empty name is this machine
// (its first interface address, else 127.0.0.1). False with the resolver's error recorded.
bool resolve_ipv4(const char* host, uint32_t* address);

// The IPv4 addresses of the interfaces that are up, each followed by the separator, in the
// interfaces' order with "127.0.0.1" moved last; never longer than kAddressListLimit.
std::string local_address_list(char separator);

// "%d.%d.%d.%d" of a host-order address.
std::string dotted(uint32_t address);
// The socket address of a host-order address and a port.
sockaddr_in socket_address(uint32_t address, int32_t port);

}  // namespace vexel::net
