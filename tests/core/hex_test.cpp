#include <gtest/gtest.h>

#include <vexel/text.h>

namespace vexel {
namespace {

TEST(Hex, EncodesHighNibbleFirstInEitherCase) {
    const unsigned char bytes[] = {0x01, 0xAB, 0x00, 0xFF};
    EXPECT_STREQ(hex_encode(bytes, 2, true).c_str(), "01AB");
    EXPECT_STREQ(hex_encode(bytes, 4, false).c_str(), "01ab00ff");
    EXPECT_EQ(hex_encode(bytes, 0, true).length(), 0u);
    EXPECT_EQ(hex_pair_value('a', 'B'), 0xAB);
    EXPECT_EQ(hex_pair_value('0', '9'), 9);
    EXPECT_EQ(hex_pair_value('z', 'F'), 15);
}

}  // namespace
}  // namespace vexel
