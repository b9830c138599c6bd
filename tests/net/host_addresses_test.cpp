#include <gtest/gtest.h>

#include <regex>
#include <string>

#include <vexel/net.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using testing::bytes;

TEST(HostAddresses, TextsNamesAndTheLocalList) {
    EXPECT_EQ(bytes(ip_to_text(static_cast<int32_t>(0xC0A800FEu))), "192.168.0.254");
    EXPECT_EQ(resolve_host("10.1.2.3"), 0x0A010203);

    const std::string list = bytes(local_ip_list());
    const std::string address = R"(\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})";
    EXPECT_TRUE(std::regex_match(list, std::regex("(" + address + R"(\|)*127\.0\.0\.1)"))) << list;
    // An empty name is this machine: the list's first address.
    EXPECT_EQ(bytes(ip_to_text(resolve_host(""))), list.substr(0, list.find('|')));
    // The list left the layer as it found it: not initialised.
    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(socket_last_error(), 10093);
}

}  // namespace
}  // namespace vexel
