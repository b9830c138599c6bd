// Where a game's picture sits on a screen of another size when it is shown scaled with its
// aspect kept and centred between bars (letterboxed), and how pointer positions and motion cross
// between the screen's pixels and the game's. Arithmetic only.
#pragma once

#include <cstdint>

namespace vexel::platform {

struct LetterboxLayout {
    int32_t game_width = 0;
    int32_t game_height = 0;
    // The picture on the screen: top-left corner and size in screen pixels.
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The largest picture of the game's aspect that fits the screen, centred (odd leftovers put the
// extra pixel after the picture). All zero when a size is not positive.
LetterboxLayout letterbox_layout(int32_t game_width, int32_t game_height, int32_t screen_width,
                                 int32_t screen_height);
// True when every game pixel becomes the same whole number of screen pixels across and down.
bool scales_by_whole_pixels(const LetterboxLayout& layout);
// The game pixel shown at a screen pixel (the one whose centre maps into it); positions off the
// picture (on the bars, or beyond the screen) give the nearest pixel at the game's edge.
void screen_to_game(const LetterboxLayout& layout, int32_t* x, int32_t* y);
// A screen pixel in the middle of those that show the game pixel; screen_to_game gives the game
// pixel back whenever the picture is at least as large as the game.
void game_to_screen(const LetterboxLayout& layout, int32_t* x, int32_t* y);

// Pointer motion in screen pixels turned into game pixels. The fractions of a game pixel left
// over are carried to the next motion, so that a long slow movement is not lost.
class MotionScaler {
public:
    void reset();
    void scale(const LetterboxLayout& layout, int32_t* dx, int32_t* dy);

private:
    int64_t rest_x_ = 0;
    int64_t rest_y_ = 0;
};

}  // namespace vexel::platform
