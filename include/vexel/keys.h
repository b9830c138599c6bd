// Vexel — names of the key codes of key_state and key_hit: DirectInput scan codes, one per
// physical key, whatever the keyboard layout says is printed on it (kKeyY is the key right of T,
// also where a German layout has Z). Every key the engine can read has a name here.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Main block
//------------------------------------------------------------------------------------------------

inline constexpr int32_t kKeyEscape = 1;
inline constexpr int32_t kKey1 = 2;
inline constexpr int32_t kKey2 = 3;
inline constexpr int32_t kKey3 = 4;
inline constexpr int32_t kKey4 = 5;
inline constexpr int32_t kKey5 = 6;
inline constexpr int32_t kKey6 = 7;
inline constexpr int32_t kKey7 = 8;
inline constexpr int32_t kKey8 = 9;
inline constexpr int32_t kKey9 = 10;
inline constexpr int32_t kKey0 = 11;
inline constexpr int32_t kKeyMinus = 12;
inline constexpr int32_t kKeyEquals = 13;
inline constexpr int32_t kKeyBackspace = 14;
inline constexpr int32_t kKeyTab = 15;
inline constexpr int32_t kKeyQ = 16;
inline constexpr int32_t kKeyW = 17;
inline constexpr int32_t kKeyE = 18;
inline constexpr int32_t kKeyR = 19;
inline constexpr int32_t kKeyT = 20;
inline constexpr int32_t kKeyY = 21;
inline constexpr int32_t kKeyU = 22;
inline constexpr int32_t kKeyI = 23;
inline constexpr int32_t kKeyO = 24;
inline constexpr int32_t kKeyP = 25;
inline constexpr int32_t kKeyLeftBracket = 26;
inline constexpr int32_t kKeyRightBracket = 27;
inline constexpr int32_t kKeyEnter = 28;
inline constexpr int32_t kKeyLeftControl = 29;
inline constexpr int32_t kKeyA = 30;
inline constexpr int32_t kKeyS = 31;
inline constexpr int32_t kKeyD = 32;
inline constexpr int32_t kKeyF = 33;
inline constexpr int32_t kKeyG = 34;
inline constexpr int32_t kKeyH = 35;
inline constexpr int32_t kKeyJ = 36;
inline constexpr int32_t kKeyK = 37;
inline constexpr int32_t kKeyL = 38;
inline constexpr int32_t kKeySemicolon = 39;
inline constexpr int32_t kKeyApostrophe = 40;
inline constexpr int32_t kKeyGrave = 41;
inline constexpr int32_t kKeyLeftShift = 42;
inline constexpr int32_t kKeyBackslash = 43;
inline constexpr int32_t kKeyZ = 44;
inline constexpr int32_t kKeyX = 45;
inline constexpr int32_t kKeyC = 46;
inline constexpr int32_t kKeyV = 47;
inline constexpr int32_t kKeyB = 48;
inline constexpr int32_t kKeyN = 49;
inline constexpr int32_t kKeyM = 50;
inline constexpr int32_t kKeyComma = 51;
inline constexpr int32_t kKeyPeriod = 52;
inline constexpr int32_t kKeySlash = 53;
inline constexpr int32_t kKeyRightShift = 54;
inline constexpr int32_t kKeyLeftAlt = 56;
inline constexpr int32_t kKeySpace = 57;
inline constexpr int32_t kKeyCapsLock = 58;
inline constexpr int32_t kKeyNonUsBackslash = 86;  // between left Shift and Z on 102-key boards
inline constexpr int32_t kKeyRightControl = 157;
inline constexpr int32_t kKeyRightAlt = 184;
inline constexpr int32_t kKeyLeftSuper = 219;  // the system key left of the space bar
inline constexpr int32_t kKeyRightSuper = 220;
inline constexpr int32_t kKeyMenu = 221;

//------------------------------------------------------------------------------------------------
// Function keys
//------------------------------------------------------------------------------------------------

inline constexpr int32_t kKeyF1 = 59;
inline constexpr int32_t kKeyF2 = 60;
inline constexpr int32_t kKeyF3 = 61;
inline constexpr int32_t kKeyF4 = 62;
inline constexpr int32_t kKeyF5 = 63;
inline constexpr int32_t kKeyF6 = 64;
inline constexpr int32_t kKeyF7 = 65;
inline constexpr int32_t kKeyF8 = 66;
inline constexpr int32_t kKeyF9 = 67;
inline constexpr int32_t kKeyF10 = 68;
inline constexpr int32_t kKeyF11 = 87;
inline constexpr int32_t kKeyF12 = 88;
inline constexpr int32_t kKeyF13 = 100;
inline constexpr int32_t kKeyF14 = 101;
inline constexpr int32_t kKeyF15 = 102;

//------------------------------------------------------------------------------------------------
// Cursor and editing keys
//------------------------------------------------------------------------------------------------

inline constexpr int32_t kKeyPrintScreen = 183;
inline constexpr int32_t kKeyScrollLock = 70;
inline constexpr int32_t kKeyPause = 197;
inline constexpr int32_t kKeyInsert = 210;
inline constexpr int32_t kKeyDelete = 211;
inline constexpr int32_t kKeyHome = 199;
inline constexpr int32_t kKeyEnd = 207;
inline constexpr int32_t kKeyPageUp = 201;
inline constexpr int32_t kKeyPageDown = 209;
inline constexpr int32_t kKeyUp = 200;
inline constexpr int32_t kKeyLeft = 203;
inline constexpr int32_t kKeyRight = 205;
inline constexpr int32_t kKeyDown = 208;

//------------------------------------------------------------------------------------------------
// Keypad
//------------------------------------------------------------------------------------------------

inline constexpr int32_t kKeyNumLock = 69;
inline constexpr int32_t kKeyPadDivide = 181;
inline constexpr int32_t kKeyPadMultiply = 55;
inline constexpr int32_t kKeyPadMinus = 74;
inline constexpr int32_t kKeyPadPlus = 78;
inline constexpr int32_t kKeyPadEnter = 156;
inline constexpr int32_t kKeyPadPeriod = 83;
inline constexpr int32_t kKeyPadComma = 179;
inline constexpr int32_t kKeyPadEquals = 141;
inline constexpr int32_t kKeyPad0 = 82;
inline constexpr int32_t kKeyPad1 = 79;
inline constexpr int32_t kKeyPad2 = 80;
inline constexpr int32_t kKeyPad3 = 81;
inline constexpr int32_t kKeyPad4 = 75;
inline constexpr int32_t kKeyPad5 = 76;
inline constexpr int32_t kKeyPad6 = 77;
inline constexpr int32_t kKeyPad7 = 71;
inline constexpr int32_t kKeyPad8 = 72;
inline constexpr int32_t kKeyPad9 = 73;

//------------------------------------------------------------------------------------------------
// Keys of Japanese and Brazilian keyboards
//------------------------------------------------------------------------------------------------

inline constexpr int32_t kKeyKana = 112;
inline constexpr int32_t kKeyAbntC1 = 115;  // "/ ?" of Brazilian keyboards
inline constexpr int32_t kKeyConvert = 121;
inline constexpr int32_t kKeyNoConvert = 123;
inline constexpr int32_t kKeyYen = 125;

//------------------------------------------------------------------------------------------------
// Media, browser and power keys
//------------------------------------------------------------------------------------------------

inline constexpr int32_t kKeyPreviousTrack = 144;
inline constexpr int32_t kKeyNextTrack = 153;
inline constexpr int32_t kKeyMute = 160;
inline constexpr int32_t kKeyCalculator = 161;
inline constexpr int32_t kKeyPlayPause = 162;
inline constexpr int32_t kKeyMediaStop = 164;
inline constexpr int32_t kKeyVolumeDown = 174;
inline constexpr int32_t kKeyVolumeUp = 176;
inline constexpr int32_t kKeyWebHome = 178;
inline constexpr int32_t kKeyPower = 222;
inline constexpr int32_t kKeySleep = 223;
inline constexpr int32_t kKeyWebSearch = 229;
inline constexpr int32_t kKeyWebFavorites = 230;
inline constexpr int32_t kKeyWebRefresh = 231;
inline constexpr int32_t kKeyWebStop = 232;
inline constexpr int32_t kKeyWebForward = 233;
inline constexpr int32_t kKeyWebBack = 234;
inline constexpr int32_t kKeyMyComputer = 235;
inline constexpr int32_t kKeyMail = 236;
inline constexpr int32_t kKeyMediaSelect = 237;

}  // namespace vexel
