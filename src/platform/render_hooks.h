// Where the 2D layer joins the window and present code. Each hook is null until the subsystem
// that owns the matching state installs it; the window code calls only the installed ones.
#pragma once

#include <cstdint>

namespace vexel::platform {

struct RenderHooks {
    // Draws what the 2D layer still holds back to draw in one go; called before anything reads the
    // framebuffer (the present, captures) or changes what those draws depend on (the viewport).
    void (*flush_2d)() = nullptr;
    // Deletes every sprite, font and background texture: the window's GL objects are going.
    void (*free_all_textures)() = nullptr;
    // Prepares the offscreen surfaces once a context exists.
    void (*init_offscreen_surfaces)() = nullptr;
    // Ends drawing into an offscreen surface before the buffers are swapped.
    void (*end_offscreen)() = nullptr;
    // Whether background 0 holds a picture; the present then draws it instead of clearing.
    bool (*has_background)() = nullptr;
    // Draws background 0 over the whole screen.
    void (*draw_background)() = nullptr;
    // Marks the 2D state dirty, unbinds the textures of both units and sets the 2D alpha to 1.
    void (*reset_2d_state)() = nullptr;
    // The size of an offscreen surface; false when there is no such surface.
    bool (*surface_size)(int32_t surface, int32_t* width, int32_t* height) = nullptr;
    // Closes an open 3D shadow pass: the 2D viewport is about to be set.
    void (*end_shadow_pass)() = nullptr;
    // A character typed into the window (8-bit), for the typed-character queue.
    void (*char_typed)(int32_t character) = nullptr;
    // Writes the window's back buffer (width x height) to a PNG file; false when it could not.
    bool (*save_back_buffer)(const char* file, int32_t width, int32_t height) = nullptr;
};

RenderHooks& render_hooks();

}  // namespace vexel::platform
