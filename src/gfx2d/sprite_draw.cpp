#include "gfx2d/sprite_draw.h"

#include <cmath>

#include <vexel/draw.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "gfx2d/texture_store.h"

namespace vexel {

namespace {

constexpr double kDegreesToRadians = 0.017453292;
constexpr double kPi = 3.14159265358979323846;

// The sprite's slot when it can be drawn; null when the number is outside the table, the slot
// is empty (a stretched empty slot would show as a white block) or there is no context.
const SpriteSlot* drawable(int32_t sprite) {
    if (sprite < 0 || !gl_ready()) return nullptr;
    const SpriteSlot* slot = texture_store().slot(sprite);
    if (!slot || slot->width <= 0 || slot->texture == 0) return nullptr;
    return slot;
}

// One quad of the sprite into the batch with the filters of the smoothing switch: whole sprites
// and frames at their own size as a quad with the texture repeated, everything stretched,
// zoomed or turned as a fan with the texture clamped to its edges.
void add_quad(int32_t sprite, const QuadVertex v[4], bool stretched) {
    const BatchState state{sprite, stretched, nearest_2d_filters(), false};
    BatchVertex* out = batch_vertices(state, stretched ? BatchShape::kFan : BatchShape::kQuads, 4);
    if (!out) return;
    for (int i = 0; i < 4; ++i)
        out[i] = {v[i].x, v[i].y, v[i].u, v[i].v, 255, 255, 255, 255};
}

// Texture sizes as divisors; an emptied slot keeps -1 there, a fresh one 0.
float texture_side(int16_t side) {
    return side > 0 ? static_cast<float>(side) : 1.0f;
}

// The texture rectangle of one animation frame.
struct FrameRect {
    float ul, ur, vb, vt;
};

bool frame_rect(const SpriteSlot& slot, int32_t frame, FrameRect& rect) {
    const int32_t fw = slot.frame_width;
    const int32_t fh = slot.frame_height;
    // A negative size counts as none: it describes no frame either.
    if (fw <= 0 || fh <= 0) return false;
    const int32_t per_row = slot.width / fw;
    const int64_t column = per_row != 0 ? frame % per_row : frame;
    const int64_t row = per_row != 0 ? frame / per_row : 0;
    const float tw = texture_side(slot.texture_width);
    const float th = texture_side(slot.texture_height);
    rect.ul = static_cast<float>(column * fw) / tw;
    rect.ur = rect.ul + static_cast<float>(fw) / tw;
    rect.vb = static_cast<float>(slot.height - fh * (row + 1)) / th;
    rect.vt = rect.vb + static_cast<float>(fh) / th;
    return true;
}

}  // namespace

void draw_sprite(int32_t sprite, int32_t x, int32_t y) {
    const SpriteSlot* slot = drawable(sprite);
    if (!slot) return;
    const float left = static_cast<float>(x);
    const float top = static_cast<float>(y);
    const float right = static_cast<float>(int64_t{x} + slot->width);
    const float bottom = static_cast<float>(int64_t{y} + slot->height);
    const QuadVertex quad[4] = {{right, top, slot->u_extent, slot->v_extent},
                                {left, top, 0, slot->v_extent},
                                {left, bottom, 0, 0},
                                {right, bottom, slot->u_extent, 0}};
    add_quad(sprite, quad, false);
}

void stretch_sprite(int32_t sprite, double x, double y, double w, double h) {
    const SpriteSlot* slot = drawable(sprite);
    if (!slot) return;
    const auto left = static_cast<float>(x);
    const auto top = static_cast<float>(y);
    const auto right = static_cast<float>(x + w);
    const auto bottom = static_cast<float>(y + h);
    const QuadVertex quad[4] = {{left, bottom, 0, 0},
                                {right, bottom, slot->u_extent, 0},
                                {right, top, slot->u_extent, slot->v_extent},
                                {left, top, 0, slot->v_extent}};
    add_quad(sprite, quad, true);
}

void zoom_sprite(int32_t sprite, int32_t x, int32_t y, double zoom_x, double zoom_y) {
    const SpriteSlot* slot = drawable(sprite);
    if (!slot) return;
    const double w = slot->width * zoom_x;
    const double h = slot->height * zoom_y;
    // Integer steps as the picture grows; a NaN or huge factor gives no sensible quad at all.
    if (!std::isfinite(w) || !std::isfinite(h) || std::fabs(w) > 1e9 || std::fabs(h) > 1e9) return;
    const auto grown_w = static_cast<int64_t>(std::trunc(w - slot->width));
    const auto grown_h = static_cast<int64_t>(std::trunc(h - slot->height));
    const int64_t x0 = x - grown_w / 2;
    const int64_t y0 = y - grown_h / 2;
    const auto left = static_cast<float>(x0);
    const auto top = static_cast<float>(y0);
    const auto right = static_cast<float>(x0 + static_cast<int64_t>(std::trunc(w)));
    const auto bottom = static_cast<float>(y0 + static_cast<int64_t>(std::trunc(h)));
    const QuadVertex quad[4] = {{left, bottom, 0, 0},
                                {right, bottom, slot->u_extent, 0},
                                {right, top, slot->u_extent, slot->v_extent},
                                {left, top, 0, slot->v_extent}};
    add_quad(sprite, quad, true);
}

void rotate_sprite(int32_t sprite, double x, double y, double angle) {
    rotozoom_sprite(sprite, x, y, angle, 1.0);
}

void rotozoom_sprite(int32_t sprite, double x, double y, double angle, double zoom) {
    const SpriteSlot* slot = drawable(sprite);
    if (!slot) return;
    const auto hx = static_cast<float>(zoom * slot->width * 0.5);
    const auto hy = static_cast<float>(zoom * slot->height * 0.5);
    const float tw = texture_side(slot->texture_width);
    const float th = texture_side(slot->texture_height);
    const float ul = 0.5f / tw;
    const float ur = (static_cast<float>(slot->width) - 0.5f) / tw;
    const float vb = 0.5f / th;
    const float vt = (static_cast<float>(slot->height) - 0.5f) / th;
    // Turned about the axis (0, 0, -1) and moved to the sprite's centre.
    const double cx = x + slot->width / 2;
    const double cy = y + slot->height / 2;
    const double c = std::cos(angle * kPi / 180.0);
    const double s = std::sin(angle * kPi / 180.0);
    auto corner = [&](float dx, float dy, float u, float v) {
        return QuadVertex{static_cast<float>(cx + c * dx + s * dy),
                          static_cast<float>(cy - s * dx + c * dy), u, v};
    };
    const QuadVertex quad[4] = {corner(-hx, hy, ul, vb), corner(hx, hy, ur, vb),
                                corner(hx, -hy, ur, vt), corner(-hx, -hy, ul, vt)};
    add_quad(sprite, quad, true);
}

void draw_animation(int32_t sprite, int32_t frame, int32_t x, int32_t y) {
    const SpriteSlot* slot = sprite >= 0 ? texture_store().slot(sprite) : nullptr;
    FrameRect r;
    if (!slot || !frame_rect(*slot, frame, r) || !drawable(sprite)) return;
    const auto left = static_cast<float>(x);
    const auto top = static_cast<float>(y);
    const auto right = static_cast<float>(int64_t{x} + slot->frame_width);
    const auto bottom = static_cast<float>(int64_t{y} + slot->frame_height);
    const QuadVertex quad[4] = {{right, top, r.ur, r.vt},
                                {left, top, r.ul, r.vt},
                                {left, bottom, r.ul, r.vb},
                                {right, bottom, r.ur, r.vb}};
    add_quad(sprite, quad, false);
}

void rotozoom_animation(int32_t sprite, int32_t frame, double x, double y, double angle,
                        double zoom) {
    const SpriteSlot* slot = sprite >= 0 ? texture_store().slot(sprite) : nullptr;
    FrameRect r;
    if (!slot || !frame_rect(*slot, frame, r) || !drawable(sprite)) return;
    const float du = 0.5f / texture_side(slot->texture_width);
    const float dv = 0.5f / texture_side(slot->texture_height);
    const float ul = r.ul + du;
    const float ur = r.ur - du;
    const float vb = r.vb + dv;
    const float vt = r.vt - dv;
    const double cx = x + slot->frame_width / 2;
    const double cy = y + slot->frame_height / 2;
    const double hx = slot->frame_width * zoom * 0.5;
    const double hy = slot->frame_height * zoom * 0.5;
    const double c = std::cos(angle * kDegreesToRadians);
    const double s = std::sin(angle * kDegreesToRadians);
    auto corner = [&](double dx, double dy, float u, float v) {
        return QuadVertex{static_cast<float>(cx + c * dx + s * dy),
                          static_cast<float>(cy - s * dx + c * dy), u, v};
    };
    const QuadVertex quad[4] = {corner(-hx, -hy, ul, vt), corner(-hx, hy, ul, vb),
                                corner(hx, hy, ur, vb), corner(hx, -hy, ur, vt)};
    add_quad(sprite, quad, true);
}

void stretch_animation(int32_t sprite, int32_t frame, double x, double y, double w, double h) {
    const SpriteSlot* slot = sprite >= 0 ? texture_store().slot(sprite) : nullptr;
    FrameRect r;
    if (!slot || !frame_rect(*slot, frame, r) || !drawable(sprite)) return;
    const auto left = static_cast<float>(x);
    const auto top = static_cast<float>(y);
    const auto right = static_cast<float>(x + w + 0.1);
    const auto bottom = static_cast<float>(y + h + 0.1);
    const QuadVertex quad[4] = {{left, bottom, r.ul, r.vb},
                                {right, bottom, r.ur, r.vb},
                                {right, top, r.ur, r.vt},
                                {left, top, r.ul, r.vt}};
    add_quad(sprite, quad, true);
}

}  // namespace vexel
