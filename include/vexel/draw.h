// Vexel — 2D drawing: sprites (whole, stretched, zoomed, rotated), frames of animation strips,
// polygon batches, lines, rectangles and pixels, in screen pixels with the origin at the top
// left and y growing downwards; pixel reads, pixel-exact collision tests and the cross-fade to
// a new background picture. Colours are R + G * 256 + B * 65536; pixels of the sprite colour
// key are drawn fully transparent. Angles are in degrees, positive turning counter-clockwise on
// screen. Sprite numbers outside 0..65535 are ignored: the command does nothing and gives its
// failure value. An empty sprite draws nothing visible.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Drawing modes (they hold until changed or until the next present)
//------------------------------------------------------------------------------------------------

// 0: no blending, alpha 1. Above 0: additive; below 0: alpha blending; both with the alpha
// min(|a|, 1) modulating every draw.
void set_alpha_mode(double a);
// Below 1: only fragments with alpha above t are drawn; 1 or more: the alpha test is off.
void set_alpha_test(double t);
// Filters of every 2D draw: linear when on, nearest when off.
void set_smoothing(bool on);

//------------------------------------------------------------------------------------------------
// Sprites
//------------------------------------------------------------------------------------------------

// In every sprite command (x, y) is the top-left corner of the sprite as drawn at its own size,
// unturned: zooming and turning keep its centre (x + width / 2, y + height / 2) in place.
void draw_sprite(int32_t sprite, int32_t x, int32_t y);                       // at its own size
void stretch_sprite(int32_t sprite, double x, double y, double w, double h);  // into w x h
// Scaled by the factors; negative factors mirror it.
void zoom_sprite(int32_t sprite, int32_t x, int32_t y, double zoom_x, double zoom_y);
void rotate_sprite(int32_t sprite, double x, double y, double angle);  // turned by the angle
void rotozoom_sprite(int32_t sprite, double x, double y, double angle, double zoom);

//------------------------------------------------------------------------------------------------
// Animation frames (frames left to right, then top to bottom; nothing without a frame size)
//------------------------------------------------------------------------------------------------

void draw_animation(int32_t sprite, int32_t frame, int32_t x, int32_t y);
// Frame rotated and scaled about its centre (x + frame width / 2, y + frame height / 2).
void rotozoom_animation(int32_t sprite, int32_t frame, double x, double y, double angle,
                        double zoom);
void stretch_animation(int32_t sprite, int32_t frame, double x, double y, double w, double h);

//------------------------------------------------------------------------------------------------
// Polygon batch
//------------------------------------------------------------------------------------------------

// Starts a batch textured with the sprite (-1: untextured); mode 0 triangle fan, 1 separate
// triangles, 2 triangle strip (any other mode draws nothing).
void start_polygon(int32_t sprite, int32_t mode);
// One vertex; u and v in picture pixels from the top-left; white leaves the batch uncoloured.
void polygon_vertex(double x, double y, double u, double v, int32_t colour);
// The next vertex starts a new strip, joined to the last by zero-area triangles.
void polygon_new_strip();
// Draws the batch with one call; it keeps its vertices until the next start_polygon.
void end_polygon();

//------------------------------------------------------------------------------------------------
// Lines, rectangles and pixels
//------------------------------------------------------------------------------------------------

void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);  // both ends set
// Filled; a negative size extends left or up from the pixel next to (x, y).
void draw_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
void set_pixel(int32_t x, int32_t y, int32_t colour);
int32_t get_pixel(int32_t x, int32_t y);  // the colour of the render target there; 0 outside

//------------------------------------------------------------------------------------------------
// Collision
//------------------------------------------------------------------------------------------------

// 1 when some pixel is non-transparent in both sprites drawn at the positions, else 0.
int32_t sprite_collision(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2,
                         int32_t y2);
// The same for one animation frame of each (a sprite without frame size is one frame).
int32_t animation_collision(int32_t sprite1, int32_t frame1, int32_t x1, int32_t y1,
                            int32_t sprite2, int32_t frame2, int32_t x2, int32_t y2);

//------------------------------------------------------------------------------------------------
// Screen transition
//------------------------------------------------------------------------------------------------

// Cross-fades from the screen as it is to the picture in the file over the given milliseconds,
// presenting each step; the picture then stays as the background. Last error 0, or 3 when the
// file cannot be found or read (no background, cleared to black).
void screen_transition(const DynString& file, int32_t milliseconds);

}  // namespace vexel
