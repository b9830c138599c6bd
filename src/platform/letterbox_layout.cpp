#include "platform/letterbox_layout.h"

#include <algorithm>

namespace vexel::platform {

namespace {

// Positions beyond this are far off any screen; held there, no product below can overflow.
constexpr int64_t kCoordinateLimit = int64_t{1} << 24;

int64_t floor_div(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t ceil_div(int64_t a, int64_t b) {
    return -floor_div(-a, b);
}

int32_t clamp32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Screen pixel p (counted from the picture's edge) shows the game pixel under its centre:
// floor((p + 1/2) * game / picture), held inside the game.
int32_t to_game(int64_t p, int64_t game, int64_t picture) {
    p = std::clamp(p, -kCoordinateLimit, kCoordinateLimit);
    return static_cast<int32_t>(
        std::clamp<int64_t>(floor_div((2 * p + 1) * game, 2 * picture), 0, game - 1));
}

// The screen pixels whose centres fall in game pixel g are [lo, hi]; the middle one.
int32_t to_screen(int64_t g, int64_t game, int64_t picture) {
    g = std::clamp(g, -kCoordinateLimit, kCoordinateLimit);
    const int64_t lo = ceil_div(2 * g * picture - game, 2 * game);
    const int64_t hi = ceil_div(2 * (g + 1) * picture - game, 2 * game) - 1;
    return clamp32(hi < lo ? lo : floor_div(lo + hi, 2));
}

int32_t scaled_motion(int32_t motion, int64_t game, int64_t picture, int64_t* rest) {
    const int64_t total = int64_t{motion} * game + *rest;
    const int64_t moved = total / picture;
    *rest = total - moved * picture;
    return clamp32(moved);
}

}  // namespace

LetterboxLayout letterbox_layout(int32_t game_width, int32_t game_height, int32_t screen_width,
                                 int32_t screen_height) {
    LetterboxLayout layout;
    if (game_width <= 0 || game_height <= 0 || screen_width <= 0 || screen_height <= 0)
        return layout;
    layout.game_width = game_width;
    layout.game_height = game_height;
    const int64_t gw = game_width;
    const int64_t gh = game_height;
    if (int64_t{screen_width} * gh <= int64_t{screen_height} * gw) {
        layout.width = screen_width;
        layout.height = static_cast<int32_t>(std::max<int64_t>(1, gh * screen_width / gw));
    } else {
        layout.height = screen_height;
        layout.width = static_cast<int32_t>(std::max<int64_t>(1, gw * screen_height / gh));
    }
    layout.left = (screen_width - layout.width) / 2;
    layout.top = (screen_height - layout.height) / 2;
    return layout;
}

bool scales_by_whole_pixels(const LetterboxLayout& layout) {
    if (layout.game_width <= 0 || layout.game_height <= 0) return false;
    return layout.width % layout.game_width == 0 && layout.height % layout.game_height == 0 &&
           layout.width / layout.game_width == layout.height / layout.game_height;
}

void screen_to_game(const LetterboxLayout& layout, int32_t* x, int32_t* y) {
    if (layout.width <= 0 || layout.height <= 0) return;
    *x = to_game(int64_t{*x} - layout.left, layout.game_width, layout.width);
    *y = to_game(int64_t{*y} - layout.top, layout.game_height, layout.height);
}

void game_to_screen(const LetterboxLayout& layout, int32_t* x, int32_t* y) {
    if (layout.width <= 0 || layout.height <= 0) return;
    *x = clamp32(layout.left + int64_t{to_screen(*x, layout.game_width, layout.width)});
    *y = clamp32(layout.top + int64_t{to_screen(*y, layout.game_height, layout.height)});
}

void MotionScaler::reset() {
    rest_x_ = rest_y_ = 0;
}

void MotionScaler::scale(const LetterboxLayout& layout, int32_t* dx, int32_t* dy) {
    if (layout.width <= 0 || layout.height <= 0) return;
    *dx = scaled_motion(*dx, layout.game_width, layout.width, &rest_x_);
    *dy = scaled_motion(*dy, layout.game_height, layout.height, &rest_y_);
}

}  // namespace vexel::platform
