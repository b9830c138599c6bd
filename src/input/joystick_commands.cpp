#include <algorithm>
#include <cmath>
#include <cstdint>

#include <vexel/input.h>

#include "input/input_state.h"
#include "input/orientation.h"

namespace vexel {

namespace {

constexpr double kAxisScale = 32767.0;
constexpr int32_t kStateScale = 30000;
constexpr double kActiveAxis = 0.1;
constexpr double kFullMagnitude = 10000.0;
constexpr double kLongestForceMs = 24.0 * 60 * 60 * 1000;

bool joystick_exists(int32_t n) {
    const InputState* input = input_state();
    return input && n >= 0 && n < input->joystick_count;
}

double unit_axis(int32_t value) {
    return std::clamp(value / kAxisScale, -1.0, 1.0);
}

Point turned(int32_t a, int32_t b) {
    return map_direction({a, b}, screen_frame().orientation);
}

// Not-a-number counts as no force.
double unit_force(double value) {
    return std::isnan(value) ? 0.0 : std::clamp(value, -1.0, 1.0);
}

}  // namespace

platform::JoystickState read_joystick(int32_t n) {
    if (!joystick_exists(n)) return platform::JoystickState{};
    return platform::joystick_read(n);
}

void hat_direction(uint32_t hat, int32_t* x, int32_t* y) {
    int32_t hx = 0;
    int32_t hy = 0;
    if (hat == 4500 || hat == 9000 || hat == 13500) hx = 1;
    if (hat == 22500 || hat == 27000 || hat == 31500) hx = -1;
    if (hat == 0 || hat == 4500 || hat == 31500) hy = -1;
    if (hat == 13500 || hat == 18000 || hat == 22500) hy = 1;
    const Point direction = turned(hx, hy);
    *x = direction.x;
    *y = direction.y;
}

bool joystick_moved(int32_t n) {
    const platform::JoystickState state = read_joystick(n);
    for (uint8_t button : state.buttons) {
        if (button) return true;
    }
    for (int32_t axis : {state.x, state.y, state.z}) {
        if (std::fabs(unit_axis(axis)) > kActiveAxis) return true;
    }
    int32_t x = 0;
    int32_t y = 0;
    hat_direction(state.hats[0], &x, &y);
    return x != 0 || y != 0;
}

int32_t joystick_count() {
    const InputState* input = input_state();
    return input ? input->joystick_count : 0;
}

DynString joystick_name(int32_t n) {
    if (!joystick_exists(n)) return DynString();
    return DynString(input_state()->joystick_names[static_cast<size_t>(n)].data());
}

int32_t joystick_button(int32_t n, int32_t b) {
    if (b < 0 || b >= platform::kJoystickButtons || !joystick_exists(n)) return 0;
    return read_joystick(n).buttons[b];
}

double joystick_x(int32_t n) {
    const platform::JoystickState state = read_joystick(n);
    return unit_axis(turned(state.x, state.y).x);
}

double joystick_y(int32_t n) {
    const platform::JoystickState state = read_joystick(n);
    return unit_axis(turned(state.x, state.y).y);
}

double joystick_rx(int32_t n) {
    const platform::JoystickState state = read_joystick(n);
    return unit_axis(turned(state.rx, state.ry).x);
}

double joystick_ry(int32_t n) {
    const platform::JoystickState state = read_joystick(n);
    return unit_axis(turned(state.rx, state.ry).y);
}

double joystick_z(int32_t n) {
    return unit_axis(read_joystick(n).z);
}

double joystick_rz(int32_t n) {
    return unit_axis(read_joystick(n).rz);
}

int32_t joystick_pov_x(int32_t n) {
    int32_t x = 0;
    int32_t y = 0;
    hat_direction(read_joystick(n).hats[0], &x, &y);
    return x;
}

int32_t joystick_pov_y(int32_t n) {
    int32_t x = 0;
    int32_t y = 0;
    hat_direction(read_joystick(n).hats[0], &x, &y);
    return y;
}

void joystick_state(int32_t& x, int32_t& y, int32_t& b1, int32_t& b2) {
    const platform::JoystickState state = read_joystick(0);
    x = state.x / kStateScale;
    y = state.y / kStateScale;
    b1 = state.buttons[0];
    b2 = state.buttons[1];
}

void joystick_state(double& x, double& y, double& b1, double& b2) {
    int32_t ix = 0;
    int32_t iy = 0;
    int32_t ib1 = 0;
    int32_t ib2 = 0;
    joystick_state(ix, iy, ib1, ib2);
    x = ix;
    y = iy;
    b1 = ib1;
    b2 = ib2;
}

platform::ConstantForce constant_force(double duration_ms, double fx, double fy) {
    fx = unit_force(fx);
    fy = unit_force(fy);
    platform::ConstantForce force;
    force.dx = static_cast<int32_t>(fx * kAxisScale);
    force.dy = static_cast<int32_t>(fy * kAxisScale);
    force.magnitude = static_cast<int32_t>((fx * fx + fy * fy) * kFullMagnitude * 0.5);
    force.duration_ms = static_cast<uint32_t>(
        std::isnan(duration_ms) ? 0.0 : std::clamp(duration_ms, 0.0, kLongestForceMs));
    return force;
}

void joystick_force(int32_t n, double duration_ms, double fx, double fy) {
    if (!joystick_exists(n)) return;
    platform::joystick_constant_force(n, constant_force(duration_ms, fx, fy));
}

}  // namespace vexel
