#include "sound/sound_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vexel {

namespace {

// Samples asked of libsndfile at a time, whatever the channel count.
constexpr int64_t kReadSamples = 65536;
// Decoded float samples are believed to take at most this many times the file's size (a
// low-rate Opus file comes close).
constexpr int64_t kMostExpansion = 256;
// The largest single transfer a FileStream makes.
constexpr int64_t kLargestRead = int64_t{1} << 30;

FileStream& stream_of(void* user) {
    return *static_cast<FileStream*>(user);
}

sf_count_t stream_length(void* user) {
    return stream_of(user).size();
}

sf_count_t stream_tell(void* user) {
    return stream_of(user).position();
}

sf_count_t stream_seek(sf_count_t offset, int whence, void* user) {
    FileStream& stream = stream_of(user);
    const int64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? stream.position()
                                              : stream.size();
    int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) return -1;
    stream.seek(target, 0);
    return stream.position();
}

// What is there up to count bytes; the stream never reads past its size.
sf_count_t stream_read(void* buffer, sf_count_t count, void* user) {
    FileStream& stream = stream_of(user);
    const int64_t left = stream.size() - stream.position();
    const int64_t n = std::min({count, left, kLargestRead});
    if (n <= 0 || !stream.read(buffer, static_cast<uint32_t>(n))) return 0;
    return n;
}

sf_count_t stream_write(const void*, sf_count_t, void*) {
    return 0;
}

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

uint32_t little_endian_32(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool read_at(FileStream& stream, int64_t offset, uint8_t* buffer, int64_t n) {
    stream.seek(offset, 0);
    return stream_read(buffer, n, &stream) == n;
}

// A WAV file cut short keeps its chunks' sizes: libsndfile quietly reads what is left of the
// "data" chunk, but a sound that lost its end is damaged; and it walks a forged chunk before the
// data, claiming up to 4 GiB, four bytes at a time for minutes.
bool wav_cut_short(FileStream& stream) {
    uint8_t header[12];
    if (!read_at(stream, 0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return false;
    int64_t offset = sizeof header;
    uint8_t chunk[8];
    while (read_at(stream, offset, chunk, sizeof chunk)) {
        const uint32_t size = little_endian_32(chunk + 4);
        offset += sizeof chunk;
        if (size > stream.size() - offset) return true;
        if (std::memcmp(chunk, "data", 4) == 0) return false;
        offset += size + (size & 1);
    }
    return false;
}

// Two channels stay as they are; more are mixed down, even channels to the left, odd to the
// right, each side the mean of its channels.
void append_frames(const float* in, int64_t frames, int32_t channels, std::vector<float>& out) {
    if (channels <= 2) {
        out.insert(out.end(), in, in + frames * channels);
        return;
    }
    const float left_share = 1.0f / static_cast<float>((channels + 1) / 2);
    const float right_share = 1.0f / static_cast<float>(channels / 2);
    for (int64_t frame = 0; frame < frames; ++frame) {
        const float* sample = in + frame * channels;
        float left = 0;
        float right = 0;
        for (int32_t c = 0; c < channels; c += 2)
            left += sample[c];
        for (int32_t c = 1; c < channels; c += 2)
            right += sample[c];
        out.push_back(left * left_share);
        out.push_back(right * right_share);
    }
}

// Up to chunk frames more, appended to out. Mono and stereo go straight into the room reserved
// for them; the rest passes through the chunk buffer. The frames read, 0 at the end.
sf_count_t read_frames(SNDFILE* file, int32_t channels, std::vector<float>& chunk,
                       std::vector<float>& out) {
    const auto room = static_cast<sf_count_t>((out.capacity() - out.size()) / channels);
    if (channels <= 2 && room > 0) {
        const size_t start = out.size();
        const sf_count_t wanted = std::min(room, static_cast<sf_count_t>(chunk.size()) / channels);
        out.resize(start + static_cast<size_t>(wanted * channels));
        const sf_count_t got = std::max<sf_count_t>(0, sf_readf_float(file, &out[start], wanted));
        out.resize(start + static_cast<size_t>(got * channels));
        return got;
    }
    const sf_count_t got =
        sf_readf_float(file, chunk.data(), static_cast<sf_count_t>(chunk.size()) / channels);
    if (got > 0) append_frames(chunk.data(), got, channels, out);
    return std::max<sf_count_t>(0, got);
}

// Integer codings come out of libsndfile within -1 ... 1; float files and the decoders of
// compressed formats can give NaN or infinities, which the mixer must never see.
bool may_hold_non_finite(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_PCM_16:
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_ULAW:
        case SF_FORMAT_ALAW:
        case SF_FORMAT_IMA_ADPCM:
        case SF_FORMAT_MS_ADPCM:
            return false;
        default:
            return true;
    }
}

void replace_non_finite(float* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (!std::isfinite(samples[i])) samples[i] = 0;
    }
}

bool length_is_exact(int format) {
    // An MP3 without a frame index only estimates its length.
    return (format & SF_FORMAT_TYPEMASK) != SF_FORMAT_MPEG;
}

// Room for the length the header claims, when it is within the limit and the file could hold
// it: a forged header makes the buffer grow as the data really decodes, nothing more.
void reserve_claimed_length(int64_t frames, int64_t max_frames, int64_t file_size,
                            DecodedSound& sound) {
    if (frames <= 0 || frames > max_frames) return;
    const int64_t samples = frames * sound.channels;
    if (samples * static_cast<int64_t>(sizeof(float)) > kMostExpansion * file_size) return;
    sound.samples.reserve(static_cast<size_t>(samples));
}

}  // namespace

bool decode_sound(FileStream& stream, DecodedSound& sound, const char** reason,
                  int64_t max_seconds) {
    sound = DecodedSound{};
    if (wav_cut_short(stream)) {
        *reason = "damaged";
        return false;
    }
    stream.seek(0, 0);
    SF_VIRTUAL_IO io{stream_length, stream_seek, stream_read, stream_write, stream_tell};
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SndfileCloser> file(
        sf_open_virtual(&io, SFM_READ, &info, &stream));
    if (!file || info.channels < 1) {
        *reason = "not a sound file";
        return false;
    }
    if (info.samplerate < kMinSoundRate || info.samplerate > kMaxSoundRate) {
        *reason = "unsupported sample rate";
        return false;
    }

    sound.channels = std::min(info.channels, 2);
    sound.sample_rate = info.samplerate;
    const int64_t max_frames = max_seconds * info.samplerate;
    reserve_claimed_length(info.frames, max_frames, stream.size(), sound);
    const int64_t chunk_frames = std::max<int64_t>(1, kReadSamples / info.channels);
    std::vector<float> chunk(static_cast<size_t>(chunk_frames * info.channels));
    const bool scan = may_hold_non_finite(info.format);
    int64_t total = 0;
    for (;;) {
        const size_t start = sound.samples.size();
        const sf_count_t got = read_frames(file.get(), info.channels, chunk, sound.samples);
        if (got == 0) break;
        total += got;
        if (total > max_frames) {
            sound = DecodedSound{};
            *reason = "too long";
            return false;
        }
        if (scan) replace_non_finite(&sound.samples[start], sound.samples.size() - start);
    }
    const bool short_of_header = length_is_exact(info.format) && info.frames > 0 &&
                                 info.frames < SF_COUNT_MAX && total < info.frames;
    if (sf_error(file.get()) != SF_ERR_NO_ERROR || short_of_header) {
        sound = DecodedSound{};
        *reason = "damaged";
        return false;
    }
    if (total == 0) {
        *reason = "no sound data";
        return false;
    }
    return true;
}

}  // namespace vexel
