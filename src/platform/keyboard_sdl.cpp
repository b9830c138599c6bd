#include <SDL.h>

#include <vexel/keys.h>

#include "platform/keyboard.h"

namespace vexel::platform {

namespace {

struct KeyPair {
    SDL_Scancode native;
    int32_t scan_code;
};

// Positional: each physical key keeps its scan code whatever the keyboard layout.
constexpr KeyPair kKeyPairs[] = {
    {SDL_SCANCODE_ESCAPE, kKeyEscape},
    {SDL_SCANCODE_1, kKey1},
    {SDL_SCANCODE_2, kKey2},
    {SDL_SCANCODE_3, kKey3},
    {SDL_SCANCODE_4, kKey4},
    {SDL_SCANCODE_5, kKey5},
    {SDL_SCANCODE_6, kKey6},
    {SDL_SCANCODE_7, kKey7},
    {SDL_SCANCODE_8, kKey8},
    {SDL_SCANCODE_9, kKey9},
    {SDL_SCANCODE_0, kKey0},
    {SDL_SCANCODE_MINUS, kKeyMinus},
    {SDL_SCANCODE_EQUALS, kKeyEquals},
    {SDL_SCANCODE_BACKSPACE, kKeyBackspace},
    {SDL_SCANCODE_TAB, kKeyTab},
    {SDL_SCANCODE_Q, kKeyQ},
    {SDL_SCANCODE_W, kKeyW},
    {SDL_SCANCODE_E, kKeyE},
    {SDL_SCANCODE_R, kKeyR},
    {SDL_SCANCODE_T, kKeyT},
    {SDL_SCANCODE_Y, kKeyY},
    {SDL_SCANCODE_U, kKeyU},
    {SDL_SCANCODE_I, kKeyI},
    {SDL_SCANCODE_O, kKeyO},
    {SDL_SCANCODE_P, kKeyP},
    {SDL_SCANCODE_LEFTBRACKET, kKeyLeftBracket},
    {SDL_SCANCODE_RIGHTBRACKET, kKeyRightBracket},
    {SDL_SCANCODE_RETURN, kKeyEnter},
    {SDL_SCANCODE_LCTRL, kKeyLeftControl},
    {SDL_SCANCODE_A, kKeyA},
    {SDL_SCANCODE_S, kKeyS},
    {SDL_SCANCODE_D, kKeyD},
    {SDL_SCANCODE_F, kKeyF},
    {SDL_SCANCODE_G, kKeyG},
    {SDL_SCANCODE_H, kKeyH},
    {SDL_SCANCODE_J, kKeyJ},
    {SDL_SCANCODE_K, kKeyK},
    {SDL_SCANCODE_L, kKeyL},
    {SDL_SCANCODE_SEMICOLON, kKeySemicolon},
    {SDL_SCANCODE_APOSTROPHE, kKeyApostrophe},
    {SDL_SCANCODE_GRAVE, kKeyGrave},
    {SDL_SCANCODE_LSHIFT, kKeyLeftShift},
    {SDL_SCANCODE_BACKSLASH, kKeyBackslash},
    {SDL_SCANCODE_Z, kKeyZ},
    {SDL_SCANCODE_X, kKeyX},
    {SDL_SCANCODE_C, kKeyC},
    {SDL_SCANCODE_V, kKeyV},
    {SDL_SCANCODE_B, kKeyB},
    {SDL_SCANCODE_N, kKeyN},
    {SDL_SCANCODE_M, kKeyM},
    {SDL_SCANCODE_COMMA, kKeyComma},
    {SDL_SCANCODE_PERIOD, kKeyPeriod},
    {SDL_SCANCODE_SLASH, kKeySlash},
    {SDL_SCANCODE_RSHIFT, kKeyRightShift},
    {SDL_SCANCODE_KP_MULTIPLY, kKeyPadMultiply},
    {SDL_SCANCODE_LALT, kKeyLeftAlt},
    {SDL_SCANCODE_SPACE, kKeySpace},
    {SDL_SCANCODE_CAPSLOCK, kKeyCapsLock},
    {SDL_SCANCODE_F1, kKeyF1},
    {SDL_SCANCODE_F2, kKeyF2},
    {SDL_SCANCODE_F3, kKeyF3},
    {SDL_SCANCODE_F4, kKeyF4},
    {SDL_SCANCODE_F5, kKeyF5},
    {SDL_SCANCODE_F6, kKeyF6},
    {SDL_SCANCODE_F7, kKeyF7},
    {SDL_SCANCODE_F8, kKeyF8},
    {SDL_SCANCODE_F9, kKeyF9},
    {SDL_SCANCODE_F10, kKeyF10},
    {SDL_SCANCODE_NUMLOCKCLEAR, kKeyNumLock},
    {SDL_SCANCODE_SCROLLLOCK, kKeyScrollLock},
    {SDL_SCANCODE_KP_7, kKeyPad7},
    {SDL_SCANCODE_KP_8, kKeyPad8},
    {SDL_SCANCODE_KP_9, kKeyPad9},
    {SDL_SCANCODE_KP_MINUS, kKeyPadMinus},
    {SDL_SCANCODE_KP_4, kKeyPad4},
    {SDL_SCANCODE_KP_5, kKeyPad5},
    {SDL_SCANCODE_KP_6, kKeyPad6},
    {SDL_SCANCODE_KP_PLUS, kKeyPadPlus},
    {SDL_SCANCODE_KP_1, kKeyPad1},
    {SDL_SCANCODE_KP_2, kKeyPad2},
    {SDL_SCANCODE_KP_3, kKeyPad3},
    {SDL_SCANCODE_KP_0, kKeyPad0},
    {SDL_SCANCODE_KP_PERIOD, kKeyPadPeriod},
    {SDL_SCANCODE_NONUSBACKSLASH, kKeyNonUsBackslash},
    {SDL_SCANCODE_F11, kKeyF11},
    {SDL_SCANCODE_F12, kKeyF12},
    {SDL_SCANCODE_F13, kKeyF13},
    {SDL_SCANCODE_F14, kKeyF14},
    {SDL_SCANCODE_F15, kKeyF15},
    {SDL_SCANCODE_INTERNATIONAL2, kKeyKana},
    {SDL_SCANCODE_INTERNATIONAL1, kKeyAbntC1},
    {SDL_SCANCODE_INTERNATIONAL4, kKeyConvert},
    {SDL_SCANCODE_INTERNATIONAL5, kKeyNoConvert},
    {SDL_SCANCODE_INTERNATIONAL3, kKeyYen},
    {SDL_SCANCODE_KP_EQUALS, kKeyPadEquals},
    {SDL_SCANCODE_AUDIOPREV, kKeyPreviousTrack},
    {SDL_SCANCODE_AUDIONEXT, kKeyNextTrack},
    {SDL_SCANCODE_KP_ENTER, kKeyPadEnter},
    {SDL_SCANCODE_RCTRL, kKeyRightControl},
    {SDL_SCANCODE_AUDIOMUTE, kKeyMute},
    {SDL_SCANCODE_CALCULATOR, kKeyCalculator},
    {SDL_SCANCODE_AUDIOPLAY, kKeyPlayPause},
    {SDL_SCANCODE_AUDIOSTOP, kKeyMediaStop},
    {SDL_SCANCODE_VOLUMEDOWN, kKeyVolumeDown},
    {SDL_SCANCODE_VOLUMEUP, kKeyVolumeUp},
    {SDL_SCANCODE_AC_HOME, kKeyWebHome},
    {SDL_SCANCODE_KP_COMMA, kKeyPadComma},
    {SDL_SCANCODE_KP_DIVIDE, kKeyPadDivide},
    {SDL_SCANCODE_PRINTSCREEN, kKeyPrintScreen},
    {SDL_SCANCODE_RALT, kKeyRightAlt},
    {SDL_SCANCODE_PAUSE, kKeyPause},
    {SDL_SCANCODE_HOME, kKeyHome},
    {SDL_SCANCODE_UP, kKeyUp},
    {SDL_SCANCODE_PAGEUP, kKeyPageUp},
    {SDL_SCANCODE_LEFT, kKeyLeft},
    {SDL_SCANCODE_RIGHT, kKeyRight},
    {SDL_SCANCODE_END, kKeyEnd},
    {SDL_SCANCODE_DOWN, kKeyDown},
    {SDL_SCANCODE_PAGEDOWN, kKeyPageDown},
    {SDL_SCANCODE_INSERT, kKeyInsert},
    {SDL_SCANCODE_DELETE, kKeyDelete},
    {SDL_SCANCODE_LGUI, kKeyLeftSuper},
    {SDL_SCANCODE_RGUI, kKeyRightSuper},
    {SDL_SCANCODE_APPLICATION, kKeyMenu},
    {SDL_SCANCODE_POWER, kKeyPower},
    {SDL_SCANCODE_SLEEP, kKeySleep},
    {SDL_SCANCODE_AC_SEARCH, kKeyWebSearch},
    {SDL_SCANCODE_AC_BOOKMARKS, kKeyWebFavorites},
    {SDL_SCANCODE_AC_REFRESH, kKeyWebRefresh},
    {SDL_SCANCODE_AC_STOP, kKeyWebStop},
    {SDL_SCANCODE_AC_FORWARD, kKeyWebForward},
    {SDL_SCANCODE_AC_BACK, kKeyWebBack},
    {SDL_SCANCODE_COMPUTER, kKeyMyComputer},
    {SDL_SCANCODE_MAIL, kKeyMail},
    {SDL_SCANCODE_MEDIASELECT, kKeyMediaSelect},
};

}  // namespace

int32_t scan_code_from_native(int32_t native) {
    for (const KeyPair& pair : kKeyPairs) {
        if (pair.native == native) return pair.scan_code;
    }
    return 0;
}

int32_t native_from_scan_code(int32_t scan_code) {
    for (const KeyPair& pair : kKeyPairs) {
        if (pair.scan_code == scan_code) return pair.native;
    }
    return 0;
}

}  // namespace vexel::platform
