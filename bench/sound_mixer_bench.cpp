// Mixer cost: 64 voices playing at once (32 mono, 32 stereo, each with its own gains), as CPU time
// per second of audio produced, in per cent of one core. Measured twice: the mix function called
// directly for 60 s of audio, and the real device thread on SDL's dummy driver for 3 s of play
// (the process's CPU time while the main thread sleeps; this includes SDL's own work).
#include <sndfile.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <vexel/sound.h>

#include "silent_sound_folder.h"
#include "sound/sound_effects.h"
#include "sound/sound_mixer.h"

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kVoices = 64;
constexpr int32_t kBuffer = 512;
constexpr int kDirectSeconds = 60;
constexpr int kRounds = 5;

double cpu_seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::shared_ptr<vexel::SoundData> ten_second_sound(int32_t channels, double hertz) {
    auto data = std::make_shared<vexel::SoundData>();
    data->channels = channels;
    data->samples.resize(static_cast<size_t>(10 * kRate * channels));
    for (size_t i = 0; i < data->samples.size(); ++i)
        data->samples[i] = 0.3f * static_cast<float>(std::sin(hertz * static_cast<double>(i)));
    return data;
}

double direct_percent() {
    std::vector<std::shared_ptr<vexel::SoundData>> sounds;
    std::vector<vexel::SoundVoice> voices(kVoices);
    vexel::SoundMixer mixer(kVoices);
    for (int32_t v = 0; v < kVoices; ++v) {
        sounds.push_back(ten_second_sound(v % 2 + 1, 0.01 + 0.001 * v));
        voices[static_cast<size_t>(v)].data = sounds.back().get();
        voices[static_cast<size_t>(v)].gain = {0.5f + 0.005f * v, 0.8f - 0.005f * v};
        mixer.start(voices[static_cast<size_t>(v)]);
    }
    std::vector<float> out(2 * kBuffer);
    const int64_t calls = int64_t{kDirectSeconds} * kRate / kBuffer;
    const double start = cpu_seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int64_t call = 0; call < calls; ++call) {
        // Rewound before their end, so that all 64 play the whole time.
        if (voices[0].position > 9 * kRate) {
            for (vexel::SoundVoice& voice : voices)
                voice.position = 0;
        }
        mixer.mix(out.data(), kBuffer);
    }
    const double used = cpu_seconds(CLOCK_THREAD_CPUTIME_ID) - start;
    if (mixer.playing_count() != kVoices) std::puts("voices lost");
    return 100.0 * used / (static_cast<double>(calls * kBuffer) / kRate);
}

double device_percent(const std::string& wav) {
    for (int32_t slot = 0; slot < kVoices / 4; ++slot)
        vexel::load_sound(vexel::DynString(wav.c_str()), slot, 4);
    for (int32_t v = 0; v < kVoices; ++v)
        vexel::play_sound(v / 4, (v % 9 - 4) / 4.0, 0.3 + 0.01 * v);
    const double start = cpu_seconds(CLOCK_PROCESS_CPUTIME_ID);
    const auto wall_start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double used = cpu_seconds(CLOCK_PROCESS_CPUTIME_ID) - start;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    int32_t playing = 0;
    for (int32_t v = 0; v < kVoices; ++v)
        playing += vexel::sound_playing(v / 4 * 256 + v % 4);
    vexel::stop_all_sounds();
    if (playing != kVoices) std::printf("only %d voices played to the end\n", playing);
    return 100.0 * used / wall;
}

std::string write_wav(const std::string& folder) {
    const std::string path = folder + "/voice.wav";
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return path;
    std::vector<float> samples(static_cast<size_t>(20 * kRate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.25f * static_cast<float>(std::sin(0.02 * static_cast<double>(i)));
    sf_writef_float(file, samples.data(), 10 * kRate);
    sf_close(file);
    return path;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const SilentSoundFolder folder;
    if (folder.path().empty()) return 1;
    const std::string& temp = folder.path();
    const std::string wav = write_wav(temp);
    vexel::start_sound();
    if (!vexel::sound_effects()->has_device()) {
        std::puts("no audio device");
        return 1;
    }
    std::vector<double> direct;
    std::vector<double> device;
    for (int round = 0; round < kRounds; ++round) {
        direct.push_back(direct_percent());
        device.push_back(device_percent(wav));
        std::printf("round %d: mix function %.3f %%, device thread %.3f %% of one core\n",
                    round + 1, direct.back(), device.back());
    }
    std::printf(
        "64 voices, %d Hz, %d-frame buffers: mix function %.3f %% (median), device "
        "thread %.3f %% (median) of one core\n",
        vexel::sound_effects()->device_format().rate,
        vexel::sound_effects()->device_format().buffer_frames, median(direct), median(device));
    vexel::stop_sound_device();
    return 0;
}
