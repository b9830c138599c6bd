#include "net/host_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>

#include <cerrno>
#include <cstdio>

#include <vexel/net.h>

#include "net/socket_errors.h"
#include "net/socket_table.h"

namespace vexel::net {

namespace {

bool lookup(const char* host, uint32_t* address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host, nullptr, &hints, &found);
    if (result != 0 || !found) {
        record_resolver_error(result ? result : EAI_NONAME, errno);
        return false;
    }
    *address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    record_errno(0);
    return true;
}

}  // namespace

bool resolve_ipv4(const char* host, uint32_t* address) {
    if (host && *host) return lookup(host, address);
    std::string first = local_address_list('\n');
    first.resize(first.find('\n') == std::string::npos ? 0 : first.find('\n'));
    for (const char* name : {first.c_str(), "127.0.0.1", "localhost.local"}) {
        if (*name && lookup(name, address)) return true;
    }
    return false;
}

std::string local_address_list(char separator) {
    std::string list;
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        record_errno(errno);
        return list;
    }
    constexpr const char* kLoopback = "127.0.0.1";
    bool loopback_seen = false;
    const auto add = [&](const std::string& text) {
        if (list.size() + text.size() + 1 > kAddressListLimit) return false;
        list += text;
        list += separator;
        return true;
    };
    for (const ifaddrs* item = interfaces; item; item = item->ifa_next) {
        if (!item->ifa_addr || item->ifa_addr->sa_family != AF_INET) continue;
        if (!(item->ifa_flags & IFF_UP)) continue;
        const auto* ip = reinterpret_cast<const sockaddr_in*>(item->ifa_addr);
        const std::string text = dotted(ntohl(ip->sin_addr.s_addr));
        if (text == kLoopback) {
            loopback_seen = true;
        } else if (!add(text)) {
            break;
        }
    }
    ::freeifaddrs(interfaces);
    if (loopback_seen) add(kLoopback);
    record_errno(0);
    return list;
}

std::string dotted(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

sockaddr_in socket_address(uint32_t address, int32_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(static_cast<uint16_t>(port));
    result.sin_addr.s_addr = htonl(address);
    return result;
}

}  // namespace vexel::net

namespace vexel {

int32_t resolve_host(const DynString& host) {
    uint32_t address = 0;
    return net::resolve_ipv4(host.c_str(), &address) ? static_cast<int32_t>(address) : -1;
}

DynString ip_to_text(int32_t address) {
    return DynString(net::dotted(static_cast<uint32_t>(address)).c_str());
}

DynString local_ip_list() {
    net::socket_table().init();
    std::string list = net::local_address_list('|');
    net::socket_table().shutdown();
    if (!list.empty()) list.pop_back();
    return DynString(list.c_str());
}

}  // namespace vexel
