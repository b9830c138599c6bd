// Drawing cost of the 3D pipeline: 100 and 1,000 copies of a 1,000-triangle mesh per frame,
// head-less, through the static buffer (frame 0 as it is), the stream buffer (two frames blended
// on every draw) and client arrays (buffer objects switched off). Prints milliseconds per frame,
// on the wall clock and in processor time of all threads (steadier on a busy machine); the
// driver finishes each frame before the clock is read. Run with LP_NUM_THREADS=2.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <vexel/vexel.h>

#include "engine3d/buffer_objects.h"

namespace {

constexpr int kColumns = 25;  // 25 x 20 quads: 1,000 triangles
constexpr int kRows = 20;
constexpr int kCopyCounts[] = {100, 1000};
constexpr int kWarmUpFrames = 2;
constexpr int kFrames = 10;
constexpr int32_t kSlot = 1;

// A gently waved grid of quads, one frame or two (the second waved the other way).
void build_grid() {
    vexel::object_start(kSlot);
    for (int frame = 0; frame < 2; ++frame) {
        vexel::object_set_frame(frame);
        vexel::object_add_vertex(0, 0, 0, 0, 0, -1);
        const double wave = frame == 0 ? 0.1 : -0.1;
        const auto add = [wave](int i, int j) {
            const double x = double(i) / kColumns - 0.5;
            const double y = double(j) / kRows - 0.5;
            vexel::object_add_vertex(x, y, wave * ((i + j) % 2), x + 0.5, y + 0.5, 0x80C0FF);
        };
        for (int j = 0; j < kRows; ++j) {
            for (int i = 0; i < kColumns; ++i) {
                add(i, j);
                add(i, j + 1);
                add(i + 1, j);
                add(i + 1, j);
                add(i, j + 1);
                add(i + 1, j + 1);
            }
        }
    }
    vexel::object_end();
}

double processor_ms() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Medians of the wall clock and of the processor time of a frame, in milliseconds.
struct FrameTimes {
    double wall, processor;
};

FrameTimes frame_ms(int copies, const std::function<void()>& draw) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> wall, processor;
    for (int frame = 0; frame < kWarmUpFrames + kFrames; ++frame) {
        const Clock::time_point start = Clock::now();
        const double processor_start = processor_ms();
        vexel::begin_3d(1, 1000, 45);
        vexel::set_camera(0, 0, 60, 0, 0, 0);
        vexel::set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 90);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int copy = 0; copy < copies; ++copy) {
            vexel::translate(double(copy % 40) - 19.5, double(copy / 40) - 12, 0);
            draw();
        }
        glFinish();
        if (frame < kWarmUpFrames) continue;
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        processor.push_back(processor_ms() - processor_start);
    }
    return {median(wall), median(processor)};
}

}  // namespace

int main() {
    setenv("VEXEL_VIDEO", "offscreen", 0);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);

    vexel::init_engine(1, "render bench");
    build_grid();
    if (vexel::count_faces(kSlot) != kColumns * kRows * 2) return 1;

    for (const int copies : kCopyCounts) {
        const FrameTimes static_ms = frame_ms(copies, [] { vexel::draw_object(kSlot, 0); });
        const FrameTimes stream_ms =
            frame_ms(copies, [] { vexel::draw_object_blend(kSlot, 0, 1, 0.5, 0); });
        vexel::engine3d::allow_buffer_objects(false);
        const FrameTimes client_ms = frame_ms(copies, [] { vexel::draw_object(kSlot, 0); });
        vexel::engine3d::allow_buffer_objects(true);
        std::printf("%d copies of a %d-triangle mesh per frame, median of %d frames\n", copies,
                    kColumns * kRows * 2, kFrames);
        std::printf("static buffer (frame 0):     %8.2f ms/frame  %8.2f ms processor\n",
                    static_ms.wall, static_ms.processor);
        std::printf("stream buffer (blended):     %8.2f ms/frame  %8.2f ms processor\n",
                    stream_ms.wall, stream_ms.processor);
        std::printf("client arrays (no buffers):  %8.2f ms/frame  %8.2f ms processor\n",
                    client_ms.wall, client_ms.processor);
    }
    vexel::shutdown_engine();
    return 0;
}
