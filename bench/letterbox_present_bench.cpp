// What a present costs when full screen shows a 640 x 480 game scaled on a 1280 x 1024 display
// that cannot switch to its size, beside the same game in a window and beside a game that draws
// the whole display itself. A frame is one full-screen rectangle and show_screen (no limiter:
// VEXEL_FIXED_FRAME_MS), with glFinish before every clock reading; the three ways are measured
// in alternating rounds and the medians of all frames printed. Run head-less with
// LP_NUM_THREADS=2.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/vexel.h>

#include "platform/opengl_duderedi.h"
#include "platform/video.h"

namespace {

constexpr int32_t kDisplayW = 1280;
constexpr int32_t kDisplayH = 1024;
constexpr int kFramesPerRound = 60;
constexpr int kRounds = 7;

using Clock = std::chrono::steady_clock;

struct Way {
    const char* name;
    int32_t width, height, fullscreen;
    bool scaled;
    std::vector<double> frame_ms;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// False when the screen did not come out as the way wants it.
bool measure(Way& way) {
    vexel::set_screen(way.width, way.height, way.fullscreen);
    if (vexel::platform::opengl_duderedi()->letterbox.active() != way.scaled) return false;
    for (int frame = 0; frame <= kFramesPerRound; ++frame) {
        vexel::draw_rect(0, 0, way.width, way.height, 0x204080 + frame);
        glFinish();
        const Clock::time_point start = Clock::now();
        vexel::show_screen();
        glFinish();
        if (frame == 0) continue;
        way.frame_ms.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return true;
}

}  // namespace

int main() {
    setenv("VEXEL_VIDEO", "offscreen", 0);
    setenv("VEXEL_AUDIO", "null", 0);
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);
    vexel::platform::set_headless_desktop_size(kDisplayW, kDisplayH);
    vexel::project_settings().width = 640;
    vexel::project_settings().height = 480;
    vexel::init_engine(1, "letterbox present bench");

    Way ways[] = {
        {"640x480 window", 640, 480, 0, false, {}},
        {"640x480 full screen, scaled", 640, 480, 1, true, {}},
        {"1280x1024 full screen, own mode", kDisplayW, kDisplayH, 1, false, {}},
    };
    for (int round = 0; round < kRounds; ++round) {
        for (Way& way : ways) {
            if (!measure(way)) {
                std::fprintf(stderr, "%s: the screen is not as expected\n", way.name);
                return 1;
            }
        }
    }
    std::printf("present (show_screen) in ms, median of %d frames in %d alternating rounds\n",
                kFramesPerRound * kRounds, kRounds);
    for (const Way& way : ways)
        std::printf("  %-34s %7.3f\n", way.name, median(way.frame_ms));
    std::printf("  scaled / window                    %7.2fx\n",
                median(ways[1].frame_ms) / median(ways[0].frame_ms));
    return 0;
}
