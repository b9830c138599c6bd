#include "platform/mouse.h"

namespace vexel::platform {

namespace {

// Motion sums saturate: a flood of events cannot wrap them around.
constexpr int64_t kSumLimit = 1 << 30;

struct MouseDevice {
    int32_t x = 0;
    int32_t y = 0;
    int64_t dx = 0;
    int64_t dy = 0;
    int64_t wheel = 0;
    uint8_t buttons = 0;
};

MouseDevice& device() {
    static MouseDevice mouse;
    return mouse;
}

int64_t saturated(int64_t sum) {
    return sum > kSumLimit ? kSumLimit : (sum < -kSumLimit ? -kSumLimit : sum);
}

uint8_t button_bit(int32_t button) {
    switch (button) {
        case 0:
            return kMouseLeft;
        case 1:
            return kMouseRight;
        case 2:
            return kMouseMiddle;
        default:
            return 0;
    }
}

}  // namespace

void mouse_moved(int32_t x, int32_t y, int32_t dx, int32_t dy) {
    MouseDevice& mouse = device();
    mouse.x = x;
    mouse.y = y;
    mouse.dx = saturated(mouse.dx + dx);
    mouse.dy = saturated(mouse.dy + dy);
}

void mouse_button_changed(int32_t button, bool down) {
    MouseDevice& mouse = device();
    const uint8_t bit = button_bit(button);
    mouse.buttons = down ? (mouse.buttons | bit) : (mouse.buttons & ~bit);
}

void mouse_wheel_turned(int32_t notches) {
    device().wheel = saturated(device().wheel + notches);
}

MouseReading mouse_read() {
    MouseDevice& mouse = device();
    MouseReading reading;
    reading.x = mouse.x;
    reading.y = mouse.y;
    reading.dx = static_cast<int32_t>(mouse.dx);
    reading.dy = static_cast<int32_t>(mouse.dy);
    reading.wheel = static_cast<int32_t>(mouse.wheel);
    reading.buttons = mouse.buttons;
    mouse.dx = mouse.dy = mouse.wheel = 0;
    return reading;
}

void mouse_set_position(int32_t x, int32_t y) {
    device().x = x;
    device().y = y;
}

void mouse_reset() {
    MouseDevice& mouse = device();
    mouse.dx = mouse.dy = mouse.wheel = 0;
    mouse.buttons = 0;
}

}  // namespace vexel::platform
