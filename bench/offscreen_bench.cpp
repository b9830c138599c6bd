// Cost of drawing through an offscreen surface: one use_offscreen, a quad over the whole surface
// and end_offscreen per iteration, with framebuffer objects and on the back-buffer emulation,
// against the same quad drawn straight to the screen. Head-less; glFinish before every clock
// reading. Run with LP_NUM_THREADS=2.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include <vexel/vexel.h>

#include "gfx2d/offscreen_surfaces.h"

namespace {

constexpr int32_t kSlot = 100;

void start_engine() {
    static bool started = [] {
        setenv("VEXEL_VIDEO", "offscreen", 0);
        std::string temp = "/tmp/vexel-bench-XXXXXX";
        if (mkdtemp(temp.data())) setenv("TMPDIR", temp.c_str(), 1);
        vexel::init_engine(1, "offscreen bench");
        return true;
    }();
    (void)started;
}

void quad(int32_t side) {
    glDisable(GL_TEXTURE_2D);
    glColor4ub(200, 40, 10, 255);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(side, 0);
    glVertex2i(side, side);
    glVertex2i(0, side);
    glEnd();
    glColor4f(1, 1, 1, 1);
}

// Framebuffer objects hidden or not, then a fresh surface of side x side.
void prepare(bool emulated, int32_t side) {
    start_engine();
    setenv("VEXEL_NO_FBO", emulated ? "1" : "0", 1);
    vexel::load_framebuffer_functions();
    vexel::create_offscreen(0, kSlot, side, side);
    glFinish();
}

void BM_Screen(benchmark::State& state) {
    const auto side = static_cast<int32_t>(state.range(0));
    start_engine();
    for (auto _ : state) {
        quad(side);
        glFinish();
    }
}

void surface_loop(benchmark::State& state, bool emulated) {
    const auto side = static_cast<int32_t>(state.range(0));
    prepare(emulated, side);
    for (auto _ : state) {
        vexel::use_offscreen(0);
        quad(side);
        vexel::end_offscreen();
        glFinish();
    }
}

void BM_Framebuffer(benchmark::State& state) {
    surface_loop(state, false);
}

void BM_Emulated(benchmark::State& state) {
    surface_loop(state, true);
}

BENCHMARK(BM_Screen)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Framebuffer)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Emulated)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

}  // namespace
