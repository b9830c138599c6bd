#include "app/frame_loop.h"

#include <cstdio>
#include <cstdlib>

#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/keys.h>
#include <vexel/window.h>

#include "app/subsystem_hooks.h"
#include "platform/message_pump.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "platform/window.h"

namespace vexel {

namespace {

// The second quit key: a code no physical key sends, for games that post it themselves.
constexpr int32_t kKeyQuit = 129;
constexpr int32_t kLastTestedKey = 254;
constexpr int kIdlePasses = 15;
constexpr int32_t kIdlePassMs = 5;
constexpr int32_t kPausePollMs = 200;
constexpr int kModeChangeFrames = 5;

int32_t g_escape_quits = 1;
bool g_reactivate = false;
int64_t g_frames = 0;       // presents and waiting turns so far
int32_t g_hook_state = -1;  // -1 not looked up yet, 0 none, 1 found
ScriptFunction g_hook = nullptr;

// VEXEL_MAX_FRAMES=n ends the program after n frames (presents and waiting turns); 0 when unset
// or not a positive count.
long long max_frames() {
    static const long long limit = [] {
        const char* text = std::getenv("VEXEL_MAX_FRAMES");
        if (!text || !*text) return 0LL;
        char* end = nullptr;
        const long long value = std::strtoll(text, &end, 10);
        return *end == '\0' && value > 0 ? value : 0LL;
    }();
    return limit;
}

void bring_window_back() {
    std::puts("activate");
    std::fflush(stdout);
    if (platform::OpenGLDuderedi* gl = platform::opengl_duderedi(); gl && gl->window)
        platform::window_raise(gl->window);
    std::puts("ok");
    std::fflush(stdout);
    g_reactivate = false;
}

bool quit_key_down() {
    return hooks::key_down(kKeyQuit) || hooks::key_down(kKeyEscape);
}

void end_on_quit_keys() {
    if (g_escape_quits && quit_key_down()) {
        set_error(0);
        end_program();
    }
    if (hooks::key_down(kKeyLeftAlt) && hooks::key_down(kKeyF4)) {
        set_error(0);
        end_program();
    }
}

bool any_key_down() {
    for (int32_t code = 0; code <= kLastTestedKey; ++code) {
        if (hooks::key_down(code)) return true;
    }
    return false;
}

// One more frame of the run; the last one VEXEL_MAX_FRAMES allows ends the program.
void count_frame() {
    ++g_frames;
    if (max_frames() > 0 && g_frames >= max_frames()) {
        set_error(0);
        end_program();
    }
}

// The pause loop: the program sits here, pumping messages, until the window is active again.
void hold_while_paused() {
    std::puts("pause loop in showscreen/hibernate");
    std::fflush(stdout);
    while (is_paused() && !g_reactivate) {
        count_waiting_turn();
        hooks::music_loop_check();
        platform::pump_messages(message_hook());
        platform::sleep_ms(kPausePollMs);
    }
    std::puts("pause loop ended");
    std::fflush(stdout);
}

}  // namespace

void request_reactivation() {
    g_reactivate = true;
}

ScriptFunction message_hook() {
    if (g_hook_state == -1) {
        g_hook = find_callback("VXL_WIN32_MSG");
        g_hook_state = g_hook ? 1 : 0;
    }
    return g_hook;
}

void set_escape_quits(double flag) {
    g_escape_quits = flag != 0 ? 1 : 0;
}

int32_t get_escape_quits() {
    return g_escape_quits;
}

void count_waiting_turn() {
    hooks::play_input_script();
    count_frame();
}

void show_screen() {
    hooks::play_input_script();
    if (g_reactivate) bring_window_back();

    platform::FrameClock& clock = platform::frame_clock();
    clock.previous_frame_time = clock.frame_time;
    clock.frame_time = timer_ms();

    while (is_paused())
        idle_wait();

    hooks::sample_input();
    end_on_quit_keys();
    hooks::finish_shadow_pass();
    hooks::music_loop_check();

    const ScriptFunction hook = message_hook();
    platform::pump_messages(hook);
    platform::present_frame(hook, g_frames + 1);

    if (platform::OpenGLDuderedi* gl = platform::opengl_duderedi(); gl && gl->window) {
        gl->reset_after_present();
        hooks::reset_frame_render_state();
    }
    count_frame();
}

void idle_wait() {
    const hooks::PointerSnapshot start = hooks::read_pointer();
    for (int pass = 0; pass < kIdlePasses; ++pass) {
        hooks::music_loop_check();
        platform::pump_messages(message_hook());
        if (is_paused()) {
            hold_while_paused();
            return;
        }
        hooks::refresh_keyboard();
        if (g_escape_quits && quit_key_down()) end_program();
        if (any_key_down()) return;
        if (!(hooks::read_pointer() == start)) return;
        if (hooks::joystick_active()) return;
        platform::sleep_ms(kIdlePassMs);
    }
}

void set_screen(int32_t width, int32_t height, int32_t fullscreen) {
    ProjectSettings& settings = project_settings();
    settings.width = width;
    settings.height = height;
    settings.fullscreen = fullscreen;
    if (platform::OpenGLDuderedi* gl = platform::opengl_duderedi(); gl && gl->window)
        gl->set_screen_mode(width, height, 0, fullscreen);
    hooks::rebind_to_window();
    for (int i = 0; i < kModeChangeFrames; ++i)
        show_screen();
}

}  // namespace vexel
