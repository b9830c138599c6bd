#include <gtest/gtest.h>

#include <set>

#include "platform/keyboard.h"

namespace vexel {
namespace {

using namespace platform;

// Back-end key codes are USB HID usage numbers.
TEST(Keyboard, PhysicalKeysGetTheirDirectInputScanCodes) {
    EXPECT_EQ(scan_code_from_native(41), 1);     // Escape
    EXPECT_EQ(scan_code_from_native(30), 2);     // 1
    EXPECT_EQ(scan_code_from_native(39), 11);    // 0
    EXPECT_EQ(scan_code_from_native(20), 16);    // Q
    EXPECT_EQ(scan_code_from_native(4), 30);     // A
    EXPECT_EQ(scan_code_from_native(40), 28);    // Enter
    EXPECT_EQ(scan_code_from_native(226), 56);   // left Alt
    EXPECT_EQ(scan_code_from_native(44), 57);    // Space
    EXPECT_EQ(scan_code_from_native(61), 62);    // F4
    EXPECT_EQ(scan_code_from_native(82), 200);   // Up
    EXPECT_EQ(scan_code_from_native(80), 203);   // Left
    EXPECT_EQ(scan_code_from_native(79), 205);   // Right
    EXPECT_EQ(scan_code_from_native(81), 208);   // Down
    EXPECT_EQ(scan_code_from_native(88), 156);   // keypad Enter
    EXPECT_EQ(scan_code_from_native(230), 184);  // right Alt
    EXPECT_EQ(scan_code_from_native(0), 0);
    EXPECT_EQ(scan_code_from_native(100000), 0);
}

TEST(Keyboard, ScanCodesAndBackEndCodesMapBothWays) {
    std::set<int32_t> natives;
    int mapped = 0;
    for (int32_t code = 0; code < kKeyCount; ++code) {
        const int32_t native = native_from_scan_code(code);
        if (native == 0) continue;
        ++mapped;
        EXPECT_TRUE(natives.insert(native).second) << code;
        EXPECT_EQ(scan_code_from_native(native), code);
    }
    EXPECT_GT(mapped, 100);
    EXPECT_EQ(native_from_scan_code(0), 0);
    EXPECT_EQ(native_from_scan_code(129), 0);
}

TEST(Keyboard, TheSnapshotFollowsTheDeviceOnlyWhileFocused) {
    keyboard_set_key(1, true);
    EXPECT_EQ(keyboard_device_state()[1], kKeyDownBit);
    EXPECT_FALSE(keyboard_key_down(1));
    keyboard_refresh();
    EXPECT_TRUE(keyboard_key_down(1));
    EXPECT_TRUE(keyboard_key_down(257));  // only the low 8 bits count

    keyboard_set_focus(false);
    keyboard_set_key(1, false);
    keyboard_set_key(57, true);
    keyboard_refresh();
    EXPECT_TRUE(keyboard_key_down(1));
    EXPECT_FALSE(keyboard_key_down(57));

    keyboard_set_focus(true);
    keyboard_refresh();
    EXPECT_FALSE(keyboard_key_down(1));
    EXPECT_TRUE(keyboard_key_down(57));

    keyboard_release_all();
    keyboard_refresh();
    for (int32_t code = 0; code < kKeyCount; ++code)
        EXPECT_FALSE(keyboard_key_down(code));
}

}  // namespace
}  // namespace vexel
