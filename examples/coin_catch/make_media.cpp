// Run by the build: writes the game's media next to itself, which is next to the game. The two
// sprites are drawn from pixel formulas and saved as PNG by the engine; the sound effect is a
// short chirp written as a WAV file.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include <vexel/vexel.h>

constexpr double kPi = 3.14159265358979;

// A size x size sprite: a disc of the colour, lit from the top left, with a darker rim and a
// transparent corner round it. Pixels are R + G*256 + B*65536 + A*16777216, rows from the top.
static void save_disc(const char* file, int size, int red, int green, int blue) {
    vexel::ExactIntArray pixels;
    pixels.dim(size * size);
    const double radius = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - radius;
            const double dy = y + 0.5 - radius;
            const double from_centre = std::sqrt(dx * dx + dy * dy) / radius;
            if (from_centre > 1) continue;  // stays 0: fully transparent
            const double light = from_centre > 0.8 ? 0.6 : 1.0 - 0.3 * (dx + dy) / size;
            const auto r = static_cast<uint32_t>(std::fmin(255, red * light));
            const auto g = static_cast<uint32_t>(std::fmin(255, green * light));
            const auto b = static_cast<uint32_t>(std::fmin(255, blue * light));
            const uint32_t pixel = r + g * 256 + b * 65536 + 255u * 16777216;
            pixels.at(y * size + x) = static_cast<int32_t>(pixel);
        }
    }
    vexel::sprite_from_pixels(pixels, 1, size, size);
    vexel::save_sprite(file, 1);  // ".png": written as PNG
    if (vexel::last_error_code() != 0) {
        vexel::write_stderr("make_media: cannot write a sprite\n");
        std::exit(1);  // fails the build
    }
}

// 0.15 s rising from 880 Hz to 1760 Hz and fading out: 16-bit mono PCM at 22050 Hz.
static void save_chirp(const char* file) {
    constexpr uint32_t kRate = 22050;
    constexpr uint32_t kSamples = kRate * 15 / 100;
    std::ofstream out(file, std::ios::binary);
    auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>(value >> (8 * i)));
    };
    out << "RIFF";
    put(36 + kSamples * 2, 4);
    out << "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // one channel
    put(kRate, 4);
    put(kRate * 2, 4);  // bytes per second
    put(2, 2);          // bytes per frame
    put(16, 2);         // bits per sample
    out << "data";
    put(kSamples * 2, 4);
    double phase = 0;
    for (uint32_t i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kSamples;
        phase += 2 * kPi * (880 + 880 * t) / kRate;
        put(static_cast<uint16_t>(static_cast<int16_t>(12000 * (1 - t) * std::sin(phase))), 2);
    }
    if (!out) {
        vexel::write_stderr("make_media: cannot write the sound\n");
        std::exit(1);
    }
}

static void run() {
    save_disc("player.png", 32, 80, 200, 255);
    save_disc("coin.png", 16, 255, 200, 40);
    save_chirp("coin.wav");
}

VEXEL_GAME(nullptr, nullptr, run)
