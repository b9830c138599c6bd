// Vexel — the window, its screen mode and the engine's OpenGL state.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Screen mode
//------------------------------------------------------------------------------------------------

// Stores the size and mode in the project settings, switches to it and presents five frames.
void set_screen(int32_t width, int32_t height, int32_t fullscreen);
int32_t is_fullscreen_mode();                          // 1 while the window is full screen
int32_t hide_window();                                 // leaves full screen and hides; always 1
void get_desktop_size(double& width, double& height);  // the desktop size at window creation

//------------------------------------------------------------------------------------------------
// OpenGL state
//------------------------------------------------------------------------------------------------

// The engine's default GL state: no depth test, culling, fog, lighting, blending, ...; alpha test
// greater than 0.05; flat shading; white colour; the full-screen 2D viewport.
void reset_gl_state();
// The 2D viewport in script coordinates; a width or height of 0 or less means the whole screen.
void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height);
// True when the driver lists the extension as a whole word.
bool has_extension(const char* name);
// Colour R + G*256 + B*65536 the window is cleared with after each frame; -1 stops clearing.
void set_clear_colour(int32_t colour);

}  // namespace vexel
