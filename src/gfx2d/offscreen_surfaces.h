// Internal: the 32 offscreen surfaces, each drawing into a sprite slot's texture through a
// framebuffer object, or emulated on the back buffer when the driver has no framebuffer objects.
// One table per process, reached through offscreen_state(). Surface numbers outside 0..31 are
// ignored.
#pragma once

#include <array>
#include <cstdint>

namespace vexel {

inline constexpr int32_t kOffscreenSurfaceCount = 32;

struct OffscreenSurface {
    uint32_t framebuffer = 0;    // GL framebuffer-object name, 0 = none
    uint32_t depth_buffer = 0;   // GL renderbuffer name of the depth attachment, 0 = none
    int32_t saved_binding = -1;  // framebuffer binding to return to; -1 while not bound
    int32_t width = 0;           // framebuffer size: the slot's texture size
    int32_t height = 0;
    int32_t slot = -1;  // sprite slot whose texture is the colour attachment, -1 = none
};

struct OffscreenState {
    std::array<OffscreenSurface, kOffscreenSurfaceCount> surfaces{};
    bool framebuffers_available = false;
    int32_t current = -1;           // the surface being drawn to, -1 for the screen
    bool emulated = false;          // the current surface is drawn on the back buffer
    int32_t saved_orientation = 0;  // the screen's turn, forced to 0 while emulating
};

OffscreenState& offscreen_state();
// The record, or null for a number outside the table.
OffscreenSurface* offscreen_surface(int32_t n);

// Fetches the framebuffer entry points; without them "can't use framebuffer object\n" goes to
// the error log and surfaces are emulated from then on.
void load_framebuffer_functions();
// Gives the record a framebuffer of w x h with the texture's level 0 as colour attachment and,
// with_depth, a depth renderbuffer of 24 bits (else 32, else 16). Whatever the record held is
// released first. False, with the reason in the error log, when the framebuffer is incomplete.
bool create_framebuffer(int32_t surface, int32_t w, int32_t h, uint32_t texture, bool with_depth);
// Deletes the record's framebuffer and depth buffer (binding back what was bound before) and
// empties it.
void release_framebuffer(OffscreenSurface& surface);

// Empty records and the framebuffer entry points of a new context.
void init_offscreen_surfaces();
// Ends the current surface and deletes every framebuffer: the context is going away.
void release_offscreen_surfaces();
// The picture size of the surface while it is drawn to; false for the screen.
bool offscreen_target_size(int32_t surface, int32_t* width, int32_t* height);

}  // namespace vexel
