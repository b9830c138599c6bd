// Internal: the batch that collects the 2D draws (sprites, animation frames, glyphs, rectangles,
// lines and pixels) as vertices in our own memory and gives each run of equal drawing state to
// OpenGL in one call. A draw in another state draws the run first; so does everything that
// reads or changes what a run is drawn with (blending, the alpha test, the render target,
// shaders, the 3D state, texture objects, the framebuffer's pixels), by calling flush_2d_batch.
// The state of a draw reaches GL at once; only the drawing waits, in the order it was asked for,
// with every primitive handed over as the immediate commands did, so that each pixel comes out
// the same.
#pragma once

#include <cstdint>

namespace vexel {

// One vertex: position, texture coordinate, colour bytes (read by untextured runs only).
struct BatchVertex {
    float x, y, u, v;
    uint8_t r, g, b, a;
};

// The primitives of one draw: independent quads, lines and points join the previous draw's;
// every fan and strip stays one of its own.
enum class BatchShape : uint8_t { kQuads, kFan, kStrip, kLines, kPoints };

// What a run is drawn with, besides the GL state that only changes through a flush.
struct BatchState {
    int32_t slot = -1;     // sprite slot whose texture the run shows; -1: untextured, at pixel
                           // centres, coloured by the vertices
    bool clamp = false;    // the texture clamped to its edges instead of repeated
    bool nearest = false;  // nearest texels instead of linear filtering
    bool punch = false;    // untextured with the alpha test off, to write alpha 0
    bool operator==(const BatchState&) const = default;
};

// Room for count vertices of one shape drawn in the state, after what the batch holds; the state
// is set in GL now. Null without a context, for a count below 1, or out of memory.
BatchVertex* batch_vertices(const BatchState& state, BatchShape shape, int32_t count);
// Draws what the batch holds and empties it.
void flush_2d_batch();
// Drops what the batch holds without drawing it, and what it knows about texture parameters:
// for a new context.
void discard_2d_batch();

// Wrapping and filters of the slot's bound texture, set only when they differ from what was set
// last. Every other code that sets texture parameters calls forget_2d_texture_parameters.
void apply_2d_texture_parameters(int32_t slot, bool clamp, bool nearest);
void forget_2d_texture_parameters();

}  // namespace vexel
