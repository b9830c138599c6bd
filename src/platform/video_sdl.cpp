#include "platform/video.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/events.h"

namespace vexel::platform {

namespace {

bool g_running = false;
bool g_headless = false;
int32_t g_headless_desktop_width = 0;
int32_t g_headless_desktop_height = 0;

bool env_is(const char* name, const char* value) {
    const char* text = std::getenv(name);
    return text && std::strcmp(text, value) == 0;
}

bool env_set(const char* name) {
    const char* text = std::getenv(name);
    return text && *text;
}

// A game started over SSH or from a service would otherwise run unseen until killed.
void tell_headless_fallback() {
    static bool told = false;
    if (told) return;
    told = true;
    std::fputs(
        "vexel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): running head-less\n",
        stderr);
    std::fflush(stderr);
}

}  // namespace

bool video_init() {
    if (g_running) return true;
    const bool asked_offscreen = env_is("VEXEL_VIDEO", "offscreen");
    const bool no_display = !env_set("DISPLAY") && !env_set("WAYLAND_DISPLAY");
    if (asked_offscreen || no_display) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (no_display && !asked_offscreen) tell_headless_fallback();
    // The engine handles the quit signals itself (quit_signals.h).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
    // The GL library stays loaded while video runs: otherwise destroying the last window would
    // unload it and take the engine's context with it.
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    g_headless =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    events_start();
    g_running = true;
    return true;
}

void video_shutdown() {
    if (!g_running) return;
    events_stop();
    SDL_GL_UnloadLibrary();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    g_running = false;
}

bool video_is_headless() {
    return g_headless;
}

void desktop_mode(int32_t* width, int32_t* height, int32_t* colour_bits) {
    SDL_DisplayMode mode{};
    if (!g_running || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        *width = *height = *colour_bits = 0;
        return;
    }
    const bool sized = g_headless && g_headless_desktop_width > 0 && g_headless_desktop_height > 0;
    *width = sized ? g_headless_desktop_width : mode.w;
    *height = sized ? g_headless_desktop_height : mode.h;
    *colour_bits = static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format));
}

void set_headless_desktop_size(int32_t width, int32_t height) {
    g_headless_desktop_width = width;
    g_headless_desktop_height = height;
}

void sleep_ms(int32_t ms) {
    if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

void alert_sound() {
    if (g_headless) return;
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

void show_warning_box(const char* title, const char* text) {
    if (!g_running || g_headless) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title, text, nullptr);
}

void keep_display_awake() {
    SDL_DisableScreenSaver();
}

bool screen_saver_allowed() {
    return SDL_IsScreenSaverEnabled() == SDL_TRUE;
}

}  // namespace vexel::platform
