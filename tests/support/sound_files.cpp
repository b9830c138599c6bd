#include "support/sound_files.h"

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <numbers>

namespace vexel::testing {

bool write_sound_file(const std::string& path, int format, int32_t channels, int32_t rate,
                      const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

std::vector<float> constant_samples(int64_t frames, int32_t channels, float value) {
    return std::vector<float>(static_cast<size_t>(frames * channels), value);
}

std::vector<float> sine_samples(int64_t frames, int32_t channels, int32_t rate, double hertz,
                                float amplitude) {
    std::vector<float> samples;
    samples.reserve(static_cast<size_t>(frames * channels));
    for (int64_t frame = 0; frame < frames; ++frame) {
        const double phase = 2 * std::numbers::pi * hertz * static_cast<double>(frame) / rate;
        for (int32_t c = 0; c < channels; ++c)
            samples.push_back(amplitude * static_cast<float>(std::sin(phase)));
    }
    return samples;
}

StereoOutput read_disk_audio(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    StereoOutput output;
    float frame[2];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) {
        output.left.push_back(frame[0]);
        output.right.push_back(frame[1]);
    }
    return output;
}

}  // namespace vexel::testing
