// Sound files made inside a test, and the output of SDL's disk audio driver read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexel::testing {

// Writes interleaved samples (-1 ... 1) through libsndfile's writer in a libsndfile format such
// as SF_FORMAT_WAV | SF_FORMAT_PCM_16. False when libsndfile refuses.
bool write_sound_file(const std::string& path, int format, int32_t channels, int32_t rate,
                      const std::vector<float>& samples);
// frames frames of channels channels, every sample the given value.
std::vector<float> constant_samples(int64_t frames, int32_t channels, float value);
// A sine of the given frequency and amplitude on every channel.
std::vector<float> sine_samples(int64_t frames, int32_t channels, int32_t rate, double hertz,
                                float amplitude);

// The stereo float frames that SDL's disk driver wrote, as two channel lists.
struct StereoOutput {
    std::vector<float> left;
    std::vector<float> right;
};
StereoOutput read_disk_audio(const std::string& path);

}  // namespace vexel::testing
