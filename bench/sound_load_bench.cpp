// load_sound of a 10-second 44.1 kHz stereo sound, as 16-bit WAV and as Ogg Vorbis, against
// decoding the same file with libsndfile directly (open by path, read every frame as float into
// one buffer that is kept, as a slot keeps its sound). The two are interleaved round by round on
// SDL's dummy driver (44.1 kHz, so no rate conversion) and timed in CPU time of the calling thread,
// so that other processes on a busy machine do not count; the ratios of the medians and of the
// fastest rounds are printed. The rate conversion a 48 kHz device would add is timed on its own.
#include <sndfile.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/error.h>
#include <vexel/sound.h>

#include "platform/audio_device.h"
#include "silent_sound_folder.h"
#include "sound/sound_effects.h"

namespace {

constexpr int32_t kRate = 44100;
constexpr int kRounds = 41;

double thread_ms() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Something like music: a few partials that drift, and a little noise.
std::vector<float> ten_seconds() {
    std::vector<float> samples(static_cast<size_t>(20 * kRate));
    unsigned noise = 1;
    for (size_t frame = 0; frame < samples.size() / 2; ++frame) {
        const double t = static_cast<double>(frame) / kRate;
        noise = noise * 1103515245u + 12345u;
        const double hiss = static_cast<double>(noise >> 16) / 65536.0 - 0.5;
        const double tone = 0.2 * std::sin(2 * M_PI * 220 * t) +
                            0.1 * std::sin(2 * M_PI * (440 + 20 * std::sin(t)) * t) +
                            0.05 * std::sin(2 * M_PI * 1320 * t) + 0.02 * hiss;
        samples[2 * frame] = static_cast<float>(tone);
        samples[2 * frame + 1] = static_cast<float>(0.8 * tone);
    }
    return samples;
}

bool write(const std::string& path, int format, const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / 2));
    return sf_close(file) == 0;
}

// Like a slot, the direct decode keeps its sound until the next one replaces it.
double direct_decode_ms(const std::string& path, std::vector<float>& kept) {
    const double start = thread_ms();
    kept = std::vector<float>();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return 0;
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    samples.resize(
        static_cast<size_t>(sf_readf_float(file, samples.data(), info.frames) * info.channels));
    sf_close(file);
    kept = std::move(samples);
    return thread_ms() - start;
}

double load_ms(const std::string& path) {
    const double start = thread_ms();
    vexel::load_sound(vexel::DynString(path.c_str()), 1, 1);
    return thread_ms() - start;
}

void compare(const char* what, const std::string& path) {
    std::vector<double> loads;
    std::vector<double> directs;
    std::vector<float> decoded;
    for (int round = 0; round < kRounds; ++round) {
        // Which goes first alternates, so that neither always meets the other's leftovers.
        if (round % 2 == 0) {
            loads.push_back(load_ms(path));
            directs.push_back(direct_decode_ms(path, decoded));
        } else {
            directs.push_back(direct_decode_ms(path, decoded));
            loads.push_back(load_ms(path));
        }
    }
    const vexel::SoundSlot& slot = vexel::sound_effects()->slot(1);
    const size_t loaded = slot.data ? slot.data->samples.size() : 0;
    const double fastest_load = *std::min_element(loads.begin(), loads.end());
    const double fastest_direct = *std::min_element(directs.begin(), directs.end());
    std::printf(
        "%-10s load_sound %6.2f ms, libsndfile directly %6.2f ms (medians of %d): ratio "
        "%.3f; fastest %.2f and %.2f ms: ratio %.3f (%zu samples loaded, %zu decoded)\n",
        what, median(loads), median(directs), kRounds, median(loads) / median(directs),
        fastest_load, fastest_direct, fastest_load / fastest_direct, loaded, decoded.size());
}

void conversion_cost(const std::vector<float>& samples) {
    std::vector<double> times;
    std::vector<float> out;
    for (int round = 0; round < 5; ++round) {
        const double start = thread_ms();
        vexel::platform::convert_audio_rate(samples, 2, kRate, 48000, 11 * 48000, out);
        times.push_back(thread_ms() - start);
    }
    std::printf("rate conversion 44.1 -> 48 kHz of the same 10 s: %.2f ms (median of 5)\n",
                median(times));
}

}  // namespace

int main() {
    const SilentSoundFolder folder;
    if (folder.path().empty()) return 1;
    const std::string& temp = folder.path();
    const std::vector<float> samples = ten_seconds();
    const std::string wav = temp + "/ten.wav";
    const std::string ogg = temp + "/ten.ogg";
    if (!write(wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, samples) ||
        !write(ogg, SF_FORMAT_OGG | SF_FORMAT_VORBIS, samples)) {
        std::puts("cannot write the test sounds");
        return 1;
    }
    vexel::start_sound();
    if (!vexel::sound_effects()->has_device()) {
        std::puts("no audio device");
        return 1;
    }
    std::printf("device: %d Hz\n", vexel::sound_effects()->device_format().rate);
    compare("WAV", wav);
    compare("Ogg Vorbis", ogg);
    conversion_cost(samples);
    vexel::stop_sound_device();
    return 0;
}
