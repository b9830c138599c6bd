// Software game controllers for tests and scripted runs: attached before the engine starts, they
// are found at start-up like real ones and set from here.
#pragma once

#include <cstdint>

namespace vexel::platform {

// Hat bits, combined for the diagonals.
constexpr uint8_t kVirtualHatCentred = 0;
constexpr uint8_t kVirtualHatUp = 1;
constexpr uint8_t kVirtualHatRight = 2;
constexpr uint8_t kVirtualHatDown = 4;
constexpr uint8_t kVirtualHatLeft = 8;

struct VirtualJoystick;

// A controller with the given numbers of axes, buttons and hats; null when none can be made.
VirtualJoystick* attach_virtual_joystick(const char* name, int32_t axes, int32_t buttons,
                                         int32_t hats);
// Values take effect at the controller's next read.
void set_virtual_axis(VirtualJoystick* joystick, int32_t axis, int16_t value);
void set_virtual_button(VirtualJoystick* joystick, int32_t button, bool down);
void set_virtual_hat(VirtualJoystick* joystick, int32_t hat, uint8_t bits);
void detach_virtual_joystick(VirtualJoystick* joystick);

}  // namespace vexel::platform
