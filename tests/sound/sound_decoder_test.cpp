#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "io/virtual_files.h"
#include "sound/sound_decoder.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::ScopedTempDir;

// Left 0.5 and right -0.25 (mono: 0.5), exact in 8- and 16-bit samples.
std::vector<float> two_level_samples(int64_t frames, int32_t channels) {
    std::vector<float> samples;
    for (int64_t frame = 0; frame < frames; ++frame) {
        samples.push_back(0.5f);
        if (channels == 2) samples.push_back(-0.25f);
    }
    return samples;
}

struct Decoded {
    bool ok = false;
    DecodedSound sound;
    std::string reason;
};

Decoded decode_file(const std::string& name, int64_t max_seconds = kMaxSoundSeconds) {
    Decoded result;
    FileStream stream;
    if (!stream.open_read(name.c_str())) return result;
    const char* reason = "";
    result.ok = decode_sound(stream, result.sound, &reason, max_seconds);
    result.reason = reason;
    return result;
}

Decoded decode_bytes(const std::string& bytes) {
    const MemoryFile file(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return decode_file(file.name());
}

TEST(SoundDecoder, ReadsEightAndSixteenBitWavAndFlacInMonoAndStereo) {
    ScopedTempDir dir;
    const struct {
        const char* name;
        int format;
        int32_t channels;
    } cases[] = {
        {"u8_mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1},
        {"u8_stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2},
        {"s16_mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1},
        {"s16_stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2},
        {"s16_stereo.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        ASSERT_TRUE(testing::write_sound_file(path, c.format, c.channels, 22050,
                                              two_level_samples(300, c.channels)));
        const Decoded decoded = decode_file(path);
        ASSERT_TRUE(decoded.ok) << decoded.reason;
        EXPECT_EQ(decoded.sound.channels, c.channels);
        EXPECT_EQ(decoded.sound.sample_rate, 22050);
        EXPECT_EQ(decoded.sound.samples, two_level_samples(300, c.channels));
    }
}

TEST(SoundDecoder, ReadsCompressedFormatsFromMemory) {
    ScopedTempDir dir;
    const struct {
        const char* name;
        int format;
        int64_t length_tolerance;  // MP3 frames carry the encoder's delay
    } cases[] = {
        {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0},
        {"tone.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 0},
        {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        ASSERT_TRUE(testing::write_sound_file(path, c.format, 1, 48000,
                                              testing::sine_samples(48000, 1, 48000, 440, 0.5f)));
        const Decoded decoded = decode_bytes(testing::read_file(path));
        ASSERT_TRUE(decoded.ok) << decoded.reason;
        EXPECT_EQ(decoded.sound.channels, 1);
        EXPECT_EQ(decoded.sound.sample_rate, 48000);
        EXPECT_NEAR(static_cast<double>(decoded.sound.samples.size()), 48000, c.length_tolerance);
        // A sine of amplitude 0.5 has the root mean square 0.5 / sqrt(2).
        const std::vector<float>& samples = decoded.sound.samples;
        double squares = 0;
        for (size_t i = samples.size() / 4; i < samples.size() * 3 / 4; ++i)
            squares += samples[i] * samples[i];
        EXPECT_NEAR(std::sqrt(squares / static_cast<double>(samples.size() / 2)),
                    0.5 / std::sqrt(2), 0.02);
    }
}

TEST(SoundDecoder, MixesMoreThanTwoChannelsDownToStereo) {
    ScopedTempDir dir;
    const std::string path = dir.file("quad.wav");
    ASSERT_TRUE(testing::write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4, 8000,
                                          {0.1f, 0.2f, 0.3f, 0.4f, 0.1f, 0.2f, 0.3f, 0.4f}));
    const Decoded decoded = decode_file(path);
    ASSERT_TRUE(decoded.ok) << decoded.reason;
    ASSERT_EQ(decoded.sound.channels, 2);
    ASSERT_EQ(decoded.sound.samples.size(), 4u);
    EXPECT_FLOAT_EQ(decoded.sound.samples[0], 0.2f);
    EXPECT_FLOAT_EQ(decoded.sound.samples[1], 0.3f);
}

TEST(SoundDecoder, RefusesDamagedForeignAndOversizedInput) {
    ScopedTempDir dir;
    const std::string wav_path = dir.file("s.wav");
    ASSERT_TRUE(testing::write_sound_file(wav_path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000,
                                          testing::constant_samples(16000, 1, 0.25f)));
    const std::string wav = testing::read_file(wav_path);
    std::string huge_claim = wav.substr(0, 60);
    huge_claim[40] = huge_claim[41] = huge_claim[42] = '\xF0';
    huge_claim[43] = '\x7F';
    const std::string empty_path = dir.file("empty.wav");
    ASSERT_TRUE(
        testing::write_sound_file(empty_path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, {}));
    const std::string slow_path = dir.file("slow.wav");
    ASSERT_TRUE(testing::write_sound_file(slow_path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 500,
                                          testing::constant_samples(100, 1, 0.25f)));
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"cut short", wav.substr(0, wav.size() - 100), "damaged"},
        {"data size beyond the file", huge_claim, "damaged"},
        {"text", "This is not a sound, only a text that is long enough to be looked at.",
         "not a sound file"},
        {"empty", "", "not a sound file"},
        {"no frames", testing::read_file(empty_path), "no sound data"},
        {"rate of 500 Hz", testing::read_file(slow_path), "unsupported sample rate"},
    };
    for (const auto& c : cases) {
        const Decoded decoded = decode_bytes(c.bytes);
        EXPECT_FALSE(decoded.ok) << c.what;
        EXPECT_EQ(decoded.reason, c.reason) << c.what;
        EXPECT_TRUE(decoded.sound.samples.empty()) << c.what;
    }
}

TEST(SoundDecoder, AStreamLongerThanTheLimitFailsAndOneAtTheLimitLoads) {
    ScopedTempDir dir;
    const std::string path = dir.file("two_seconds.wav");
    ASSERT_TRUE(testing::write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000,
                                          testing::constant_samples(16000, 2, 0.1f)));
    EXPECT_EQ(decode_file(path, 1).reason, "too long");
    EXPECT_TRUE(decode_file(path, 2).ok);
}

}  // namespace
}  // namespace vexel
