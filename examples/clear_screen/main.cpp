// Opens a window, clears it to a slowly changing blue each frame and quits on Escape; each press
// of Space turns the fade round.
#include <vexel/vexel.h>

static void settings(vexel::ProjectSettings& s) {
    s.project_name = "Clear screen";
}

static void run() {
    int shade = 0;
    int step = 1;
    for (;;) {
        if (vexel::key_hit(vexel::kKeySpace)) step = -step;  // once per press, however long held
        shade = (shade + step) & 127;
        vexel::set_clear_colour(0x402000 + shade * 0x010000);  // R + G*256 + B*65536
        vexel::show_screen();  // presents, keeps 60 frames per second, Escape ends the program
    }
}

VEXEL_GAME(settings, nullptr, run)
