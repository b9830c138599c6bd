// The line editor draws over a frozen copy of the screen, so whatever the game had drawn stays
// visible while the user types and the game's own background is left untouched.
#include <vexel/dyn_string.h>
#include <vexel/fonts.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "gfx2d/background_draw.h"
#include "gfx2d/backgrounds.h"
#include "input/input_state.h"

namespace vexel {

namespace {

constexpr int32_t kEditBackground = 3;
constexpr int32_t kReturn = 10;
constexpr int32_t kBackspace = 8;
// Idle turns (one present each) between two flips of the cursor.
constexpr int32_t kBlinkTurns = 20;

void show_line(const DynString& text, double x, double y, bool proportional, bool cursor) {
    draw_background(kEditBackground);
    if (cursor) {
        DynString shown = text;
        shown.append('_');
        print_text(shown, x, y, proportional);
    } else {
        print_text(text, x, y, proportional);
    }
    show_screen();
}

}  // namespace

DynString input_line(const DynString& text, double x, double y, bool proportional) {
    DynString line = text;
    copy_screen_to_background(kEditBackground);
    draw_background(kEditBackground);
    print_text(line, x, y, proportional);
    show_screen();
    bool cursor = true;
    int32_t idle_turns = 0;
    for (;;) {
        refresh_keyboard();
        const int32_t typed = pop_typed_char();
        if (typed == kReturn) break;
        if (typed == kBackspace) {
            if (line.length() > 0) line.truncate(static_cast<int32_t>(line.length()) - 1);
        } else if (typed != 0) {
            line.append(static_cast<char>(typed));
        } else if (++idle_turns > kBlinkTurns) {
            cursor = !cursor;
            idle_turns = 0;
        }
        show_line(line, x, y, proportional, cursor);
    }
    remove_background(kEditBackground);
    return line;
}

int32_t input_line_int(const DynString& text, double x, double y, bool proportional) {
    return text_to_int(input_line(text, x, y, proportional).c_str());
}

double input_line_number(const DynString& text, double x, double y, bool proportional) {
    return text_to_double(input_line(text, x, y, proportional));
}

}  // namespace vexel
