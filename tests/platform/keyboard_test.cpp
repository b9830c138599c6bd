#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include <vexel/keys.h>

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

// Every key the engine reads has its name in <vexel/keys.h>, and every name is a key it reads.
TEST(Keyboard, EveryMappedKeyHasAPublicName) {
    // clang-format off
    const int32_t names[] = {
        kKeyEscape, kKey1, kKey2, kKey3, kKey4, kKey5, kKey6, kKey7, kKey8, kKey9, kKey0,
        kKeyMinus, kKeyEquals, kKeyBackspace, kKeyTab, kKeyQ, kKeyW, kKeyE, kKeyR, kKeyT, kKeyY,
        kKeyU, kKeyI, kKeyO, kKeyP, kKeyLeftBracket, kKeyRightBracket, kKeyEnter, kKeyLeftControl,
        kKeyA, kKeyS, kKeyD, kKeyF, kKeyG, kKeyH, kKeyJ, kKeyK, kKeyL, kKeySemicolon,
        kKeyApostrophe, kKeyGrave, kKeyLeftShift, kKeyBackslash, kKeyZ, kKeyX, kKeyC, kKeyV, kKeyB,
        kKeyN, kKeyM, kKeyComma, kKeyPeriod, kKeySlash, kKeyRightShift, kKeyLeftAlt, kKeySpace,
        kKeyCapsLock, kKeyNonUsBackslash, kKeyRightControl, kKeyRightAlt, kKeyLeftSuper,
        kKeyRightSuper, kKeyMenu, kKeyF1, kKeyF2, kKeyF3, kKeyF4, kKeyF5, kKeyF6, kKeyF7, kKeyF8,
        kKeyF9, kKeyF10, kKeyF11, kKeyF12, kKeyF13, kKeyF14, kKeyF15, kKeyPrintScreen,
        kKeyScrollLock, kKeyPause, kKeyInsert, kKeyDelete, kKeyHome, kKeyEnd, kKeyPageUp,
        kKeyPageDown, kKeyUp, kKeyLeft, kKeyRight, kKeyDown, kKeyNumLock, kKeyPadDivide,
        kKeyPadMultiply, kKeyPadMinus, kKeyPadPlus, kKeyPadEnter, kKeyPadPeriod, kKeyPadComma,
        kKeyPadEquals, kKeyPad0, kKeyPad1, kKeyPad2, kKeyPad3, kKeyPad4, kKeyPad5, kKeyPad6,
        kKeyPad7, kKeyPad8, kKeyPad9, kKeyKana, kKeyAbntC1, kKeyConvert, kKeyNoConvert, kKeyYen,
        kKeyPreviousTrack, kKeyNextTrack, kKeyMute, kKeyCalculator, kKeyPlayPause, kKeyMediaStop,
        kKeyVolumeDown, kKeyVolumeUp, kKeyWebHome, kKeyPower, kKeySleep, kKeyWebSearch,
        kKeyWebFavorites, kKeyWebRefresh, kKeyWebStop, kKeyWebForward, kKeyWebBack, kKeyMyComputer,
        kKeyMail, kKeyMediaSelect};
    // clang-format on
    const std::set<int32_t> named(std::begin(names), std::end(names));
    std::set<int32_t> mapped;
    for (int32_t code = 0; code < kKeyCount; ++code) {
        if (native_from_scan_code(code) != 0) mapped.insert(code);
    }
    EXPECT_EQ(named.size(), std::size(names));  // no two names for one key
    EXPECT_EQ(named, mapped);
}

TEST(Keyboard, APressIsKeptUntilTheNextRefreshAndCountsAsAHitOfThatFrame) {
    keyboard_set_key(kKeySpace, true);
    keyboard_set_key(kKeySpace, false);
    EXPECT_EQ(keyboard_device_state()[kKeySpace], 0);
    keyboard_refresh(true);
    EXPECT_TRUE(keyboard_key_down(kKeySpace));
    EXPECT_TRUE(keyboard_key_hit(kKeySpace));
    keyboard_refresh(false);  // a read within the same frame: the tap is over, the hit stays
    EXPECT_FALSE(keyboard_key_down(kKeySpace));
    EXPECT_TRUE(keyboard_key_hit(kKeySpace));
    keyboard_refresh(true);
    EXPECT_FALSE(keyboard_key_hit(kKeySpace));

    keyboard_set_key(kKeyA, true);
    keyboard_set_key(kKeyA, true);  // auto-repeat
    keyboard_refresh(true);
    keyboard_set_key(kKeyA, true);
    keyboard_refresh(true);
    EXPECT_TRUE(keyboard_key_down(kKeyA));
    EXPECT_FALSE(keyboard_key_hit(kKeyA));

    keyboard_set_key(kKeyB, true);
    keyboard_release_all();  // a released device forgets its presses
    keyboard_refresh(true);
    EXPECT_FALSE(keyboard_key_down(kKeyB));
    EXPECT_FALSE(keyboard_key_hit(kKeyB));
}

TEST(Keyboard, TheSnapshotFollowsTheDeviceOnlyWhileFocused) {
    keyboard_set_key(1, true);
    EXPECT_EQ(keyboard_device_state()[1], kKeyDownBit);
    EXPECT_FALSE(keyboard_key_down(1));
    keyboard_refresh(false);
    EXPECT_TRUE(keyboard_key_down(1));
    EXPECT_TRUE(keyboard_key_down(257));  // only the low 8 bits count

    keyboard_set_focus(false);
    keyboard_set_key(1, false);
    keyboard_set_key(57, true);
    keyboard_refresh(false);
    EXPECT_TRUE(keyboard_key_down(1));
    EXPECT_FALSE(keyboard_key_down(57));

    keyboard_set_focus(true);
    keyboard_refresh(false);
    EXPECT_FALSE(keyboard_key_down(1));
    EXPECT_TRUE(keyboard_key_down(57));

    keyboard_release_all();
    keyboard_refresh(false);
    for (int32_t code = 0; code < kKeyCount; ++code)
        EXPECT_FALSE(keyboard_key_down(code));
}

}  // namespace
}  // namespace vexel
