#include <vexel/frame.h>
#include <vexel/input.h>

#include "app/frame_loop.h"
#include "app/subsystem_hooks.h"
#include "input/input_state.h"
#include "platform/message_pump.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

constexpr int32_t kCarriageReturn = 13;
constexpr int32_t kLineFeed = 10;
constexpr int32_t kBackspace = 8;
constexpr int32_t kTab = 9;

// Waiting needs a window whose events can bring the awaited input.
bool can_wait() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return input_state() && gl && gl->window;
}

bool accepted(int32_t c) {
    if (c <= 0 || c > 255) return false;
    return c >= 32 || c == kBackspace || c == kTab || c == kLineFeed;
}

}  // namespace

void push_typed_char(int32_t c) {
    InputState* input = input_state();
    if (!input) return;
    if (c == kCarriageReturn) c = kLineFeed;
    if (!accepted(c) || input->typed_chars.size() >= kTypedCharLimit) return;
    input->typed_chars.push_back(static_cast<uint8_t>(c));
}

int32_t pop_typed_char() {
    InputState* input = input_state();
    if (!input || input->typed_chars.empty()) return 0;
    const int32_t c = input->typed_chars.front();
    input->typed_chars.erase(input->typed_chars.begin());
    return c == kCarriageReturn ? kLineFeed : c;
}

DynString inkey() {
    const int32_t c = pop_typed_char();
    if (c == 0) return DynString();
    DynString text;
    text.append(static_cast<char>(c));
    return text;
}

void wait_key() {
    InputState* input = input_state();
    if (!input) return;
    input->typed_chars.clear();
    while (can_wait() && input_state()->typed_chars.empty()) {
        count_waiting_turn();
        hooks::music_loop_check();
        platform::pump_messages(message_hook());
        idle_wait();
    }
    if (input_state()) input_state()->typed_chars.clear();
}

}  // namespace vexel
