// Video back end: which display the engine draws on, sleeping and the alert sound.
// Internal to the engine; the SDL2 implementation is video_sdl.cpp.
#pragma once

#include <cstdint>

namespace vexel::platform {

// Starts the video and event system once per process; false when no display can be opened.
// With VEXEL_VIDEO=offscreen, or with neither DISPLAY nor WAYLAND_DISPLAY set, the engine draws
// head-less into an offscreen EGL surface; in the second case (not asked for) one line on
// standard error says so, once per process.
bool video_init();
// Releases the video system; video_init may start it again.
void video_shutdown();
// True once video_init chose a driver without a real display.
bool video_is_headless();
// The size and colour depth of the desktop of the first display (0 when video is not running).
void desktop_mode(int32_t* width, int32_t* height, int32_t* colour_bits);
// Head-less runs only: the desktop, and so the one full-screen mode there is, measures
// width x height instead of the offscreen driver's fixed size; 0 x 0 gives that back. Windows
// made afterwards can cover it. Tests show full screen on displays of chosen sizes with it.
void set_headless_desktop_size(int32_t width, int32_t height);
// Blocks the calling thread for the given milliseconds (nothing for 0 or less).
void sleep_ms(int32_t ms);
// The audible warning of a failed mode change; silent in head-less runs.
void alert_sound();
// Shows a modal warning box on a real display; never in head-less runs.
void show_warning_box(const char* title, const char* text);
// Stops the screen saver and display power-off while the program runs.
void keep_display_awake();
// False while the screen saver is held off.
bool screen_saver_allowed();

}  // namespace vexel::platform
