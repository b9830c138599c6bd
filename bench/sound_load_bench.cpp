// load_sound of a 10-second 44.1 kHz stereo sound, as 16-bit WAV and as Ogg Vorbis, against
// decoding the same file with libsndfile directly (open by path, read every frame as float into
// one buffer). The two are interleaved round by round on SDL's dummy driver (44.1 kHz, so no
// rate conversion); medians and the median of the per-round ratios are printed. The rate
// conversion a 48 kHz device would add is timed on its own.
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/error.h>
#include <vexel/sound.h>

#include "platform/audio_device.h"
#include "sound/sound_effects.h"

namespace {

constexpr int32_t kRate = 44100;
constexpr int kRounds = 21;

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

double direct_decode_ms(const std::string& path, size_t* samples_read) {
    const auto start = Clock::now();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return 0;
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    *samples_read = static_cast<size_t>(sf_readf_float(file, samples.data(), info.frames)) *
                    static_cast<size_t>(info.channels);
    sf_close(file);
    return ms_since(start);
}

double load_ms(const std::string& path) {
    const auto start = Clock::now();
    vexel::load_sound(vexel::DynString(path.c_str()), 1, 1);
    return ms_since(start);
}

void compare(const char* what, const std::string& path) {
    std::vector<double> loads;
    std::vector<double> directs;
    std::vector<double> ratios;
    size_t samples = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Which goes first alternates, so that neither always meets a warm cache.
        const bool load_first = round % 2 == 0;
        const double direct_before = load_first ? 0 : direct_decode_ms(path, &samples);
        const double load = load_ms(path);
        const double direct = load_first ? direct_decode_ms(path, &samples) : direct_before;
        loads.push_back(load);
        directs.push_back(direct);
        ratios.push_back(load / direct);
    }
    const vexel::SoundSlot& slot = vexel::sound_effects()->slot(1);
    const size_t loaded = slot.data ? slot.data->samples.size() : 0;
    std::printf(
        "%-10s load_sound %7.2f ms, libsndfile directly %7.2f ms, ratio %.3f (median of "
        "%d rounds; %zu samples loaded, %zu decoded)\n",
        what, median(loads), median(directs), median(ratios), kRounds, loaded, samples);
}

void conversion_cost(const std::vector<float>& samples) {
    std::vector<double> times;
    std::vector<float> out;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        vexel::platform::convert_audio_rate(samples, 2, kRate, 48000, 11 * 48000, out);
        times.push_back(ms_since(start));
    }
    std::printf("rate conversion 44.1 -> 48 kHz of the same 10 s: %.2f ms (median of 5)\n",
                median(times));
}

}  // namespace

int main() {
    setenv("VEXEL_AUDIO", "null", 0);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);
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
    for (const std::string& file : {wav, ogg, temp + "/ErrorLog.txt"})
        std::remove(file.c_str());
    ::rmdir(temp.c_str());
    return 0;
}
