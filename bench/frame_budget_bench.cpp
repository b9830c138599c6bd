// How much 2D drawing fits into one 60 Hz frame (16.67 ms) at 1024 x 768: 32 x 32 sprites at
// random positions, and lines of 40 characters of text, each against the driver's bound, the
// same quads drawn by one glDrawArrays of a vertex array prepared before the clock runs. A frame
// is the draws and show_screen (no limiter: VEXEL_FIXED_FRAME_MS), with glFinish before every
// clock reading. The engine and the bound are measured in alternating rounds and the medians
// printed. Beside the wall clock, which a busy machine stretches, the processor time of a frame
// of fixed size is printed: all threads (the driver rasterises on its own) and the main thread
// alone (the engine's own work and the driver's vertex handling), and the page faults of the
// frame (fresh pages the allocator had to fetch). Run head-less with LP_NUM_THREADS=2.
#include <GL/gl.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <vexel/vexel.h>

#include "gfx2d/font_sheets.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "image/image_buffer.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int32_t kSprite = 1;
constexpr int32_t kSide = 32;
constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int32_t kTextLines = 200;
constexpr int32_t kLineLength = 40;
constexpr int kFramesPerPoint = 5;
constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;
using DrawFrame = std::function<void(int32_t count)>;

struct Quad {
    float corner[4][4];  // x, y, u, v per corner, in the engine's corner order
};

bool make_sprite() {
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
}

struct Positions {
    std::vector<int32_t> x, y;
};

Positions random_positions(size_t count, int32_t width, int32_t height, unsigned seed) {
    std::mt19937 random(seed);
    Positions p;
    for (size_t i = 0; i < count; ++i) {
        p.x.push_back(static_cast<int32_t>(random() % uint32_t(kWidth - width)));
        p.y.push_back(static_cast<int32_t>(random() % uint32_t(kHeight - height)));
    }
    return p;
}

double cpu_ms(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long page_faults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Medians of a frame of count draws, after one frame to warm up: wall clock, processor time of
// all threads and of this one, in milliseconds, and page faults.
struct FrameCost {
    double wall = 0, process = 0, thread = 0, faults = 0;
};

FrameCost frame_cost(const DrawFrame& draw, int32_t count) {
    std::vector<double> wall, process, thread, faults;
    for (int frame = 0; frame <= kFramesPerPoint; ++frame) {
        glFinish();
        const Clock::time_point start = Clock::now();
        const double process_start = cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
        const double thread_start = cpu_ms(CLOCK_THREAD_CPUTIME_ID);
        const long faults_start = page_faults();
        draw(count);
        vexel::show_screen();
        glFinish();
        if (frame == 0) continue;
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        process.push_back(cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - process_start);
        thread.push_back(cpu_ms(CLOCK_THREAD_CPUTIME_ID) - thread_start);
        faults.push_back(double(page_faults() - faults_start));
    }
    return {median(wall), median(process), median(thread), median(faults)};
}

double frame_ms(const DrawFrame& draw, int32_t count) {
    return frame_cost(draw, count).wall;
}

// The largest count whose frame fits the budget, to within 1 %.
int32_t largest_fitting(const DrawFrame& draw, int32_t limit) {
    int32_t fits = 0;
    int32_t too_many = 250;
    while (too_many < limit && frame_ms(draw, too_many) <= kFrameMs) {
        fits = too_many;
        too_many *= 2;
    }
    too_many = std::min(too_many, limit);
    while (too_many - fits > std::max(1, fits / 100)) {
        const int32_t middle = fits + (too_many - fits) / 2;
        if (frame_ms(draw, middle) <= kFrameMs) {
            fits = middle;
        } else {
            too_many = middle;
        }
    }
    return fits;
}

// The state the engine draws a sprite or a glyph with: its texture on unit 0, linear filters,
// alpha blending as the current mode, white at full alpha.
void bind_like_the_engine(const vexel::SpriteSlot& slot) {
    glBindTexture(GL_TEXTURE_2D, slot.texture);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glColor4f(1, 1, 1, 1);
}

// All quads prepared in one client array, drawn with one call.
void draw_prepared(const vexel::SpriteSlot& slot, const std::vector<Quad>& quads, int32_t count) {
    bind_like_the_engine(slot);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), &quads.front().corner[0][0]);
    glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), &quads.front().corner[0][2]);
    glDrawArrays(GL_QUADS, 0, count * 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

std::vector<Quad> sprite_quads(const vexel::SpriteSlot& slot, const Positions& at) {
    std::vector<Quad> quads;
    for (size_t i = 0; i < at.x.size(); ++i) {
        const auto l = static_cast<float>(at.x[i]);
        const auto t = static_cast<float>(at.y[i]);
        const float r = l + kSide;
        const float b = t + kSide;
        const float u = slot.u_extent;
        const float v = slot.v_extent;
        quads.push_back({{{r, t, u, v}, {l, t, 0, v}, {l, b, 0, 0}, {r, b, u, 0}}});
    }
    return quads;
}

std::vector<vexel::DynString> text_lines(size_t count) {
    std::mt19937 random(17);
    std::vector<vexel::DynString> lines;
    for (size_t i = 0; i < count; ++i) {
        std::string line;
        for (int32_t c = 0; c < kLineLength; ++c)
            line += static_cast<char>(33 + random() % 94);
        lines.emplace_back(line.c_str());
    }
    return lines;
}

// The glyph quads of fixed-width text in the built-in font, as print_text lays them out.
std::vector<Quad> glyph_quads(const vexel::SpriteSlot& sheet,
                              const std::vector<vexel::DynString>& lines, const Positions& at) {
    std::vector<Quad> quads;
    const float cell_w = float(sheet.width / 16);
    const float cell_h = float(sheet.height / 8);
    const float row_v = sheet.v_extent / 8;
    for (size_t i = 0; i < lines.size(); ++i) {
        float x = static_cast<float>(at.x[i]);
        const auto y = static_cast<float>(at.y[i]);
        for (uint32_t k = 0; k < lines[i].length(); ++k) {
            const int32_t c = static_cast<uint8_t>(lines[i].c_str()[k]) % 128;
            const float u0 = float(c % 16) * sheet.u_extent / 16;
            const float u1 = u0 + sheet.u_extent / 16;
            const float vb = row_v * float(7 - c / 16);
            const float vt = vb + row_v;
            quads.push_back({{{x + cell_w, y, u1, vt},
                              {x, y, u0, vt},
                              {x, y + cell_h, u0, vb},
                              {x + cell_w, y + cell_h, u1, vb}}});
            x += cell_w;
        }
    }
    return quads;
}

}  // namespace

int main() {
    setenv("VEXEL_VIDEO", "offscreen", 0);
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);
    vexel::project_settings().width = kWidth;
    vexel::project_settings().height = kHeight;
    vexel::init_engine(1, "frame budget bench");
    if (!make_sprite() || !vexel::install_builtin_font(0)) return 1;
    vexel::set_font(0);

    constexpr int32_t kMostSprites = 200000;
    constexpr int32_t kMostLines = 20000;
    const vexel::SpriteSlot& sprite = *vexel::texture_store().slot(kSprite);
    const vexel::SpriteSlot& sheet = *vexel::texture_store().slot(vexel::kFirstFontSlot);
    const Positions sprite_at = random_positions(kMostSprites, kSide, kSide, 5);
    const std::vector<Quad> prepared_sprites = sprite_quads(sprite, sprite_at);
    const std::vector<vexel::DynString> lines = text_lines(kMostLines);
    const Positions text_at = random_positions(kMostLines, kLineLength * 8, 8, 9);
    const std::vector<Quad> prepared_glyphs = glyph_quads(sheet, lines, text_at);

    const DrawFrame engine_sprites = [&](int32_t count) {
        vexel::set_alpha_mode(-1);
        for (int32_t i = 0; i < count; ++i)
            vexel::draw_sprite(kSprite, sprite_at.x[size_t(i)], sprite_at.y[size_t(i)]);
    };
    const DrawFrame bound_sprites = [&](int32_t count) {
        vexel::set_alpha_mode(-1);
        draw_prepared(sprite, prepared_sprites, count);
    };
    const DrawFrame engine_text = [&](int32_t count) {
        vexel::set_alpha_mode(-1);
        for (int32_t i = 0; i < count; ++i)
            vexel::print_text(lines[size_t(i)], text_at.x[size_t(i)], text_at.y[size_t(i)], false);
    };
    const DrawFrame bound_text = [&](int32_t count) {
        vexel::set_alpha_mode(-1);
        draw_prepared(sheet, prepared_glyphs, count * kLineLength);
    };

    // [0] the engine, [1] the bound; costs: wall, all threads, main thread, page faults.
    constexpr int32_t kFixedSprites = 2000;
    std::vector<double> sprites[2], text_lines_fit[2], sprite_cost[2][4], text_cost[2][4];
    const auto keep = [](std::vector<double>* into, const FrameCost& cost) {
        into[0].push_back(cost.wall);
        into[1].push_back(cost.process);
        into[2].push_back(cost.thread);
        into[3].push_back(cost.faults);
    };
    for (int round = 0; round < kRounds; ++round) {
        sprites[0].push_back(largest_fitting(engine_sprites, kMostSprites));
        sprites[1].push_back(largest_fitting(bound_sprites, kMostSprites));
        text_lines_fit[0].push_back(largest_fitting(engine_text, kMostLines));
        text_lines_fit[1].push_back(largest_fitting(bound_text, kMostLines));
        keep(sprite_cost[0], frame_cost(engine_sprites, kFixedSprites));
        keep(sprite_cost[1], frame_cost(bound_sprites, kFixedSprites));
        keep(text_cost[0], frame_cost(engine_text, kTextLines));
        keep(text_cost[1], frame_cost(bound_text, kTextLines));
    }
    vexel::shutdown_engine();

    const double engine_fit = median(sprites[0]);
    const double bound_fit = median(sprites[1]);
    const double engine_lines = median(text_lines_fit[0]);
    const double bound_lines = median(text_lines_fit[1]);
    std::printf("1024 x 768, one frame of %.2f ms, medians of %d alternating rounds\n", kFrameMs,
                kRounds);
    std::printf("32 x 32 sprites per frame:         engine %8.0f  bound %8.0f  ratio %.3f\n",
                engine_fit, bound_fit, engine_fit / bound_fit);
    std::printf("lines of %d characters per frame:  engine %8.0f  bound %8.0f  ratio %.3f\n",
                kLineLength, engine_lines, bound_lines, engine_lines / bound_lines);
    const auto costs = [](const char* what, std::vector<double>(&cost)[2][4]) {
        std::printf("%s  wall ms  all threads ms  main thread ms  page faults\n", what);
        for (int who = 0; who < 2; ++who)
            std::printf("  %-6s %22.2f %15.2f %15.2f %12.0f\n", who == 0 ? "engine" : "bound",
                        median(cost[who][0]), median(cost[who][1]), median(cost[who][2]),
                        median(cost[who][3]));
    };
    costs("frame of 2000 sprites:       ", sprite_cost);
    costs("frame of 200 lines of text:  ", text_cost);
    return 0;
}
