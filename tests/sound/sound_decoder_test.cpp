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

TEST(SoundDecoder, ReadsWavOfEightAndSixteenBitsAndCompressedFormats) {
    ScopedTempDir dir;
    const struct {
        const char* name;
        int format;
        int32_t channels;
        double tolerance;  // lossy codecs; MP3 frames also carry the encoder's delay
        int64_t extra_frames;
    } cases[] = {
        {"u8_mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 0, 0},
        {"u8_stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2, 0, 0},
        {"s16_mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 0, 0},
        {"s16_stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 0, 0},
        {"s16_stereo.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 0, 0},
        {"stereo.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 0.02, 0},
        {"mono.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 1, 0.02, 0},
        {"mono.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 0.02, 2400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        const std::vector<float> written =
            testing::sine_samples(24000, c.channels, 48000, 440, 0.5f);
        ASSERT_TRUE(testing::write_sound_file(path, c.format, c.channels, 48000, written));
        const Decoded decoded = decode_bytes(testing::read_file(path));
        ASSERT_TRUE(decoded.ok) << decoded.reason;
        EXPECT_EQ(decoded.sound.channels, c.channels);
        EXPECT_EQ(decoded.sound.sample_rate, 48000);
        const std::vector<float>& samples = decoded.sound.samples;
        EXPECT_NEAR(static_cast<double>(samples.size() / c.channels), 24000, c.extra_frames);
        if (c.tolerance == 0) {
            // 8-bit samples keep 7 bits of a 0.5 sine: within 1/128 of it.
            for (size_t i = 0; i < samples.size(); ++i)
                ASSERT_NEAR(samples[i], written[i], 1.0 / 128) << i;
            continue;
        }
        // A sine of amplitude 0.5 has the root mean square 0.5 / sqrt(2).
        double squares = 0;
        for (size_t i = samples.size() / 4; i < samples.size() * 3 / 4; ++i)
            squares += samples[i] * samples[i];
        EXPECT_NEAR(std::sqrt(squares / static_cast<double>(samples.size() / 2)),
                    0.5 / std::sqrt(2), c.tolerance);
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
        // A chunk before the data claiming nearly 4 GiB once kept the decoder reading for minutes.
        {"list chunk beyond the file",
         std::string("RIFF\x34\x3e\0\0WAVELIST\x66\xff\xff\xff", 20) + std::string(100, '\xff'),
         "damaged"},
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
