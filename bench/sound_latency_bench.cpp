// Latency from play_sound to the first mixed sample: after each play the mixer's state is read
// (under the device lock) until the voice has moved, i.e. until the device's mix call that took
// it has run. 200 plays at random moments, on SDL's dummy driver (whose thread asks for a buffer
// once per buffer period, as a sound card does). A real card adds its own output queue on top.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sndfile.h>
#include <unistd.h>

#include <vexel/sound.h>

#include "platform/audio_device.h"
#include "silent_sound_folder.h"
#include "sound/sound_effects.h"

namespace {

constexpr int kPlays = 200;
constexpr int32_t kSlot = 0;

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

bool voice_has_moved(int32_t buffer) {
    const vexel::platform::AudioDeviceLock lock;
    const vexel::SoundVoice& voice = vexel::sound_effects()->slot(kSlot).buffers[buffer];
    return voice.position > 0 || !voice.playing;
}

}  // namespace

int main() {
    const SilentSoundFolder folder;
    if (folder.path().empty()) return 1;
    const std::string& temp = folder.path();
    const std::string path = temp + "/click.wav";
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    const std::vector<float> click(4410, 0.5f);
    sf_writef_float(file, click.data(), static_cast<sf_count_t>(click.size()));
    sf_close(file);

    vexel::start_sound();
    if (!vexel::sound_effects()->has_device()) {
        std::puts("no audio device");
        return 1;
    }
    vexel::load_sound(vexel::DynString(path.c_str()), kSlot, 1);
    const vexel::platform::AudioDeviceFormat format = vexel::sound_effects()->device_format();
    const double period_ms = 1000.0 * format.buffer_frames / format.rate;

    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause_us(0, 20000);
    std::vector<double> latencies;
    for (int play = 0; play < kPlays; ++play) {
        std::this_thread::sleep_for(std::chrono::microseconds(pause_us(random)));
        const auto start = Clock::now();
        const int32_t channel = vexel::play_sound(kSlot, 0, 1);
        if (channel < 0) return 1;
        while (!voice_has_moved(channel % 256))
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        latencies.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        vexel::stop_sound(channel);
    }
    std::printf("device buffer %d frames at %d Hz = %.2f ms\n", format.buffer_frames, format.rate,
                period_ms);
    std::printf(
        "play to first mixed sample over %d plays: median %.2f ms, 95th percentile %.2f "
        "ms, max %.2f ms; %zu of %d within one buffer period\n",
        kPlays, percentile(latencies, 0.5), percentile(latencies, 0.95), percentile(latencies, 1.0),
        static_cast<size_t>(std::count_if(latencies.begin(), latencies.end(),
                                          [&](double ms) { return ms <= period_ms; })),
        kPlays);
    vexel::stop_sound_device();
    return 0;
}
