#include <SDL.h>

#include "platform/virtual_joystick.h"

namespace vexel::platform {

static_assert(kVirtualHatUp == SDL_HAT_UP && kVirtualHatRight == SDL_HAT_RIGHT &&
              kVirtualHatDown == SDL_HAT_DOWN && kVirtualHatLeft == SDL_HAT_LEFT &&
              kVirtualHatCentred == SDL_HAT_CENTERED);

struct VirtualJoystick {
    SDL_JoystickID id = -1;
    SDL_Joystick* joystick = nullptr;
};

VirtualJoystick* attach_virtual_joystick(const char* name, int32_t axes, int32_t buttons,
                                         int32_t hats) {
    if (axes < 0 || buttons < 0 || hats < 0 || axes > 0xFFFF || buttons > 0xFFFF || hats > 0xFFFF)
        return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(axes);
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.nhats = static_cast<Uint16>(hats);
    desc.name = name;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick* joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (!joystick) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return nullptr;
    }
    return new VirtualJoystick{SDL_JoystickInstanceID(joystick), joystick};
}

void set_virtual_axis(VirtualJoystick* joystick, int32_t axis, int16_t value) {
    if (joystick) SDL_JoystickSetVirtualAxis(joystick->joystick, axis, value);
}

void set_virtual_button(VirtualJoystick* joystick, int32_t button, bool down) {
    if (joystick) SDL_JoystickSetVirtualButton(joystick->joystick, button, down ? 1 : 0);
}

void set_virtual_hat(VirtualJoystick* joystick, int32_t hat, uint8_t bits) {
    if (joystick) SDL_JoystickSetVirtualHat(joystick->joystick, hat, bits);
}

void detach_virtual_joystick(VirtualJoystick* joystick) {
    if (!joystick) return;
    SDL_JoystickClose(joystick->joystick);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == joystick->id) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
    delete joystick;
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace vexel::platform
