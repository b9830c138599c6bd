// Sprite throughput on the head-less context: draw_sprite of a 32 x 32 sprite (bind, filters and
// an immediate-mode quad per call, as the engine draws) against a plain immediate-mode loop that
// binds the texture once and draws the same quads. The "per_60Hz_frame" counter is how many
// sprites fit into one frame of 16.7 ms. Every iteration ends with glFinish, because the
// offscreen driver's swap does not wait for the drawing.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include <vexel/app.h>
#include <vexel/draw.h>

#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "image/image_buffer.h"

namespace {

constexpr int32_t kSprite = 1;
constexpr int32_t kSide = 32;
constexpr int32_t kSpritesPerIteration = 2000;

// Positions spread over a 640 x 480 screen, the same for both loops.
int32_t sprite_x(int32_t n) {
    return n * 37 % (640 - kSide);
}
int32_t sprite_y(int32_t n) {
    return n * 53 % (480 - kSide);
}

void start_engine_once() {
    static const bool started = [] {
        setenv("VEXEL_VIDEO", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        vexel::init_engine(1, "sprite bench");
        vexel::ImageBuffer picture;
        picture.size_for(kSide, kSide);
        for (int32_t y = 0; y < kSide; ++y) {
            for (int32_t x = 0; x < kSide; ++x) {
                uint8_t* p = picture.pixel(x, y);
                p[0] = static_cast<uint8_t>(x * 8);
                p[1] = static_cast<uint8_t>(y * 8);
                p[2] = 128;
                p[3] = (x - 16) * (x - 16) + (y - 16) * (y - 16) < 256 ? 255 : 0;
            }
        }
        return vexel::create_sprite(kSprite, picture, false);
    }();
    if (!started) std::abort();
}

void report(benchmark::State& state) {
    const double sprites = double(state.iterations()) * kSpritesPerIteration;
    state.SetItemsProcessed(static_cast<int64_t>(sprites));
    state.counters["per_60Hz_frame"] =
        benchmark::Counter(sprites / 60.0, benchmark::Counter::kIsRate);
}

void BM_DrawSprite(benchmark::State& state) {
    start_engine_once();
    vexel::set_alpha_mode(-1);
    for (auto _ : state) {
        for (int32_t n = 0; n < kSpritesPerIteration; ++n)
            vexel::draw_sprite(kSprite, sprite_x(n), sprite_y(n));
        glFinish();
    }
    report(state);
}
BENCHMARK(BM_DrawSprite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainImmediateQuads(benchmark::State& state) {
    start_engine_once();
    vexel::set_alpha_mode(-1);
    const vexel::SpriteSlot& slot = *vexel::texture_store().slot(kSprite);
    glBindTexture(GL_TEXTURE_2D, slot.texture);
    glEnable(GL_TEXTURE_2D);
    for (auto _ : state) {
        for (int32_t n = 0; n < kSpritesPerIteration; ++n) {
            const auto x = static_cast<float>(sprite_x(n));
            const auto y = static_cast<float>(sprite_y(n));
            glBegin(GL_QUADS);
            glTexCoord2f(slot.u_extent, slot.v_extent);
            glVertex2f(x + kSide, y);
            glTexCoord2f(0, slot.v_extent);
            glVertex2f(x, y);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + kSide);
            glTexCoord2f(slot.u_extent, 0);
            glVertex2f(x + kSide, y + kSide);
            glEnd();
        }
        glFinish();
    }
    report(state);
}
BENCHMARK(BM_PlainImmediateQuads)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
