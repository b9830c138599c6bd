// Internal: the bytes of a sound file turned into float samples, read by libsndfile straight
// from a FileStream (disk file, "mem://" block or unpacked archive entry). It takes WAV in every
// PCM width, float, ADPCM, A-law and u-law, and also FLAC, Ogg Vorbis, Opus and MP3. Every input
// is treated as hostile: it either decodes whole within the limits below or fails.
#pragma once

#include <cstdint>
#include <vector>

#include "io/file_stream.h"

namespace vexel {

// Longest sound a slot holds.
inline constexpr int64_t kMaxSoundSeconds = 600;
// Sample rates outside this range are refused.
inline constexpr int32_t kMinSoundRate = 1000;
inline constexpr int32_t kMaxSoundRate = 384000;

struct DecodedSound {
    std::vector<float> samples;  // interleaved, finite, nominally -1 ... 1
    int32_t channels = 0;        // 1 or 2: files with more are mixed down to two
    int32_t sample_rate = 0;
};

// Decodes the whole stream. On failure returns false with a reason for the error log: "not a
// sound file", "unsupported sample rate", "damaged" (a decoding error, or less data than the
// file's header claims), "too long" (over max_seconds), "no sound data".
bool decode_sound(FileStream& stream, DecodedSound& sound, const char** reason,
                  int64_t max_seconds = kMaxSoundSeconds);

}  // namespace vexel
