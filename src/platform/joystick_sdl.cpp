#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/joystick.h"

namespace vexel::platform {

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC;
constexpr int32_t kAxes = 8;

struct Controller {
    SDL_Joystick* joystick = nullptr;
    SDL_Haptic* haptic = nullptr;  // only when it can play a constant force
    int effect = -1;
};

struct Controllers {
    bool started = false;
    Uint32 subsystems = 0;
    std::vector<Controller> open;
};

Controllers& controllers() {
    static Controllers state;
    return state;
}

uint32_t hat_hundredths(Uint8 hat) {
    switch (hat) {
        case SDL_HAT_UP:
            return 0;
        case SDL_HAT_RIGHTUP:
            return 4500;
        case SDL_HAT_RIGHT:
            return 9000;
        case SDL_HAT_RIGHTDOWN:
            return 13500;
        case SDL_HAT_DOWN:
            return 18000;
        case SDL_HAT_LEFTDOWN:
            return 22500;
        case SDL_HAT_LEFT:
            return 27000;
        case SDL_HAT_LEFTUP:
            return 31500;
        default:
            return kHatCentred;
    }
}

SDL_Haptic* constant_force_haptic(SDL_Joystick* joystick) {
    if (SDL_JoystickIsHaptic(joystick) != SDL_TRUE) return nullptr;
    SDL_Haptic* haptic = SDL_HapticOpenFromJoystick(joystick);
    if (!haptic) return nullptr;
    if ((SDL_HapticQuery(haptic) & SDL_HAPTIC_CONSTANT) == 0) {
        SDL_HapticClose(haptic);
        return nullptr;
    }
    return haptic;
}

Controller* controller(int32_t n) {
    Controllers& state = controllers();
    if (n < 0 || n >= static_cast<int32_t>(state.open.size())) return nullptr;
    return &state.open[static_cast<size_t>(n)];
}

}  // namespace

bool joysticks_start() {
    Controllers& state = controllers();
    if (state.started) return true;
    // Controllers are read only while the game runs; a window without the focus pauses it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    state.subsystems = kSubsystems;
    if (SDL_InitSubSystem(state.subsystems) != 0) {
        // Without haptics the controllers still work, only without force feedback.
        state.subsystems = SDL_INIT_JOYSTICK;
        if (SDL_InitSubSystem(state.subsystems) != 0) return false;
    }
    // The engine reads the controllers when asked; their events would only fill the queue.
    SDL_JoystickEventState(SDL_IGNORE);
    state.started = true;
    return true;
}

int32_t joysticks_open(int32_t limit) {
    Controllers& state = controllers();
    if (!state.started) return 0;
    const int devices = SDL_NumJoysticks();
    for (int index = 0; index < devices && static_cast<int32_t>(state.open.size()) < limit;
         ++index) {
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        if (!joystick) continue;
        state.open.push_back({joystick, constant_force_haptic(joystick), -1});
    }
    return static_cast<int32_t>(state.open.size());
}

std::string joystick_device_name(int32_t n) {
    const Controller* device = controller(n);
    if (!device) return {};
    const char* name = SDL_JoystickName(device->joystick);
    const std::string product = name ? name : "";
    // The system names the device once; it stands for both the instance and the product.
    return product + ", " + product;
}

JoystickState joystick_read(int32_t n) {
    JoystickState state;
    const Controller* device = controller(n);
    if (!device) return state;
    SDL_JoystickUpdate();
    SDL_Joystick* joystick = device->joystick;
    int32_t* const axes[kAxes] = {&state.x,  &state.y,  &state.z,          &state.rx,
                                  &state.ry, &state.rz, &state.sliders[0], &state.sliders[1]};
    const int axis_count = std::min(SDL_JoystickNumAxes(joystick), kAxes);
    for (int axis = 0; axis < axis_count; ++axis)
        *axes[axis] = SDL_JoystickGetAxis(joystick, axis);
    const int hat_count = std::min(SDL_JoystickNumHats(joystick), kJoystickHats);
    for (int hat = 0; hat < hat_count; ++hat)
        state.hats[hat] = hat_hundredths(SDL_JoystickGetHat(joystick, hat));
    const int button_count = std::min(SDL_JoystickNumButtons(joystick), kJoystickButtons);
    for (int button = 0; button < button_count; ++button)
        state.buttons[button] = SDL_JoystickGetButton(joystick, button) ? kJoystickButtonDown : 0;
    return state;
}

void joystick_constant_force(int32_t n, const ConstantForce& force) {
    Controller* device = controller(n);
    if (!device || !device->haptic) return;
    SDL_HapticStopAll(device->haptic);
    if (device->effect >= 0) SDL_HapticDestroyEffect(device->haptic, device->effect);
    device->effect = -1;
    if (SDL_HapticQuery(device->haptic) & SDL_HAPTIC_GAIN) SDL_HapticSetGain(device->haptic, 100);

    SDL_HapticEffect effect{};
    effect.type = SDL_HAPTIC_CONSTANT;
    effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
    effect.constant.direction.dir[0] = force.dx;
    effect.constant.direction.dir[1] = force.dy;
    effect.constant.length = force.duration_ms;
    // Magnitudes run to 10000 here and to 32767 on the device.
    effect.constant.level = static_cast<Sint16>(
        std::clamp<int64_t>(int64_t{force.magnitude} * 32767 / 10000, 0, 32767));
    device->effect = SDL_HapticNewEffect(device->haptic, &effect);
    if (device->effect >= 0) SDL_HapticRunEffect(device->haptic, device->effect, 1);
}

void joysticks_stop() {
    Controllers& state = controllers();
    for (Controller& device : state.open) {
        if (device.haptic) SDL_HapticClose(device.haptic);
        SDL_JoystickClose(device.joystick);
    }
    state.open.clear();
    if (!state.started) return;
    SDL_QuitSubSystem(state.subsystems);
    state.started = false;
}

}  // namespace vexel::platform
