#include <gtest/gtest.h>

#include <regex>
#include <string>

#include <vexel/net.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using testing::bytes;

TEST(HostAddresses, AddressesAndTheirTextMeet) {
    EXPECT_EQ(bytes(ip_to_text(0x7F000001)), "127.0.0.1");
    EXPECT_EQ(bytes(ip_to_text(static_cast<int32_t>(0xC0A800FEu))), "192.168.0.254");
    EXPECT_EQ(bytes(ip_to_text(-1)), "255.255.255.255");
    EXPECT_EQ(bytes(ip_to_text(0)), "0.0.0.0");
    EXPECT_EQ(resolve_host("127.0.0.1"), 0x7F000001);
    EXPECT_EQ(resolve_host("10.1.2.3"), 0x0A010203);
    EXPECT_EQ(socket_last_error(), 0);
}

TEST(HostAddresses, LocalListPutsLoopbackLastAndLeavesTheLayerAsItWas) {
    const std::string list = bytes(local_ip_list());
    ASSERT_FALSE(list.empty());
    EXPECT_LE(list.size(), 2047u);
    const std::regex dotted_list(
        R"((\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})(\|\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})*)");
    EXPECT_TRUE(std::regex_match(list, dotted_list)) << list;
    // The machine running the tests has its loopback interface up.
    EXPECT_TRUE(list == "127.0.0.1" || list.ends_with("|127.0.0.1")) << list;
    EXPECT_EQ(list.find("127.0.0.1"), list.rfind("127.0.0.1"));

    // An empty name stands for this machine: the list's first address.
    const std::string first = list.substr(0, list.find('|'));
    EXPECT_EQ(bytes(ip_to_text(resolve_host(""))), first);

    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(socket_last_error(), 10093);
}

}  // namespace
}  // namespace vexel
