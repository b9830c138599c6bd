// Opens a window, clears it to a slowly changing blue each frame and quits on Escape.
#include <vexel/vexel.h>

static void settings(vexel::ProjectSettings& s) {
    s.project_name = "Clear screen";
}

static void run() {
    for (int frame = 0;; ++frame) {
        vexel::set_clear_colour(0x402000 + (frame % 128) * 0x010000);  // R + G*256 + B*65536
        vexel::show_screen();  // presents, keeps 60 frames per second, Escape ends the program
    }
}

VEXEL_GAME(settings, nullptr, run)
