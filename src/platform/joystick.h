// Game controllers and their force feedback, as the engine sees them: a fixed list opened at
// start-up, each read as one DirectInput-shaped state. Internal to the engine; the SDL2
// implementation is joystick_sdl.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace vexel::platform {

constexpr int32_t kJoystickButtons = 32;
constexpr int32_t kJoystickHats = 4;
constexpr uint32_t kHatCentred = 0xFFFFFFFFu;
constexpr uint8_t kJoystickButtonDown = 0x80;

// Axes in -32768 ... 32767, hats in hundredths of degrees clockwise from up (kHatCentred when
// not pushed), button bytes kJoystickButtonDown while pressed. 80 bytes, DIJOYSTATE's layout.
struct JoystickState {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int32_t rx = 0;
    int32_t ry = 0;
    int32_t rz = 0;
    int32_t sliders[2] = {};
    uint32_t hats[kJoystickHats] = {kHatCentred, kHatCentred, kHatCentred, kHatCentred};
    uint8_t buttons[kJoystickButtons] = {};
};
static_assert(sizeof(JoystickState) == 80);

// Starts the controller and force-feedback systems; false when there are none to start.
bool joysticks_start();
// Opens the attached controllers, at most `limit`; the number opened. Devices that cannot be
// opened are skipped.
int32_t joysticks_open(int32_t limit);
// "instance name, product name" of an opened controller; empty for other numbers.
std::string joystick_device_name(int32_t n);
// The controller's state now; the neutral state for numbers that are not open.
JoystickState joystick_read(int32_t n);
// A constant-force effect: direction (dx, dy) in -32767 ... 32767 on the X and Y axes,
// magnitude 0 ... 10000, played once for duration_ms.
struct ConstantForce {
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t magnitude = 0;
    uint32_t duration_ms = 0;
};
// Plays the force on a controller that has force feedback, after stopping what it played
// before. Anything else is left alone.
void joystick_constant_force(int32_t n, const ConstantForce& force);
// Closes every controller and stops both systems.
void joysticks_stop();

}  // namespace vexel::platform
