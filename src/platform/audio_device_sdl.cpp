#include "platform/audio_device.h"

#include <SDL.h>

#include <algorithm>
#include <memory>

#include "platform/audio_output.h"

namespace vexel::platform {

namespace {

// Used when the driver cannot tell its device's own rate (the dummy and disk drivers).
constexpr int kFallbackRate = 44100;
constexpr int kStereo = 2;
// The rate conversion is fed in pieces of this many frames.
constexpr int64_t kConvertChunkFrames = 65536;
// Silence is added after a sound in pieces of this many frames.
constexpr int64_t kSilenceFrames = 4096;

struct Device {
    SDL_AudioDeviceID id = 0;
    AudioMixFunction mix = nullptr;
    void* context = nullptr;
};

Device g_device;

void SDLCALL fill_buffer(void* userdata, Uint8* stream, int length) {
    const auto* device = static_cast<const Device*>(userdata);
    const int frames = length / static_cast<int>(kStereo * sizeof(float));
    device->mix(device->context, reinterpret_cast<float*>(stream), frames);
}

int default_device_rate() {
    SDL_AudioSpec preferred{};
    char* name = nullptr;
    if (SDL_GetDefaultAudioInfo(&name, &preferred, 0) != 0) return kFallbackRate;
    SDL_free(name);
    return preferred.freq > 0 ? preferred.freq : kFallbackRate;
}

struct StreamDeleter {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

}  // namespace

bool audio_device_open(AudioMixFunction mix, void* context, AudioDeviceFormat* format) {
    if (g_device.id != 0 || !mix) return false;
    if (null_audio_requested()) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    } else {
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;

    g_device.mix = mix;
    g_device.context = context;
    SDL_AudioSpec wanted{};
    wanted.freq = default_device_rate();
    wanted.format = AUDIO_F32SYS;
    wanted.channels = kStereo;
    wanted.samples = kAudioBufferFrames;
    wanted.callback = fill_buffer;
    wanted.userdata = &g_device;
    SDL_AudioSpec obtained{};
    // Stereo float is what the mixer writes; SDL converts it when the hardware wants another.
    g_device.id =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (g_device.id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    format->rate = obtained.freq;
    format->buffer_frames = obtained.samples;
    SDL_PauseAudioDevice(g_device.id, 0);
    return true;
}

void audio_device_close() {
    if (g_device.id == 0) return;
    SDL_CloseAudioDevice(g_device.id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_device = Device{};
}

AudioDeviceLock::AudioDeviceLock() : device_(g_device.id) {
    if (device_ != 0) SDL_LockAudioDevice(device_);
}

AudioDeviceLock::~AudioDeviceLock() {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

bool convert_audio_rate(const std::vector<float>& in, int32_t channels, int32_t from_rate,
                        int32_t to_rate, int64_t max_frames, std::vector<float>& out) {
    out.clear();
    if (channels < 1 || channels > kStereo || from_rate <= 0 || to_rate <= 0) return false;
    const auto in_frames = static_cast<int64_t>(in.size()) / channels;
    const int64_t out_frames = (in_frames * to_rate + from_rate - 1) / from_rate;
    if (out_frames > max_frames) return false;
    const std::unique_ptr<SDL_AudioStream, StreamDeleter> stream(
        SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(channels), from_rate, AUDIO_F32SYS,
                           static_cast<Uint8>(channels), to_rate));
    if (!stream) return false;

    const auto wanted = static_cast<size_t>(out_frames * channels);
    out.reserve(wanted);
    std::vector<float> piece;
    const auto put = [&](const float* samples, int64_t frames) {
        return SDL_AudioStreamPut(stream.get(), samples,
                                  static_cast<int>(frames * channels * sizeof(float))) == 0;
    };
    // Takes what the stream has ready, up to the converted length.
    const auto take = [&]() {
        const int available = SDL_AudioStreamAvailable(stream.get());
        if (available <= 0) return true;
        piece.resize(static_cast<size_t>(available) / sizeof(float));
        const int got = SDL_AudioStreamGet(stream.get(), piece.data(), available);
        if (got < 0) return false;
        const size_t count =
            std::min(static_cast<size_t>(got) / sizeof(float), wanted - out.size());
        out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(count));
        return true;
    };
    for (int64_t frame = 0; frame < in_frames; frame += kConvertChunkFrames) {
        if (!put(in.data() + frame * channels, std::min(kConvertChunkFrames, in_frames - frame)) ||
            !take())
            return false;
    }
    // The stream holds back the end of its input to filter it with what follows, and a flush
    // does not give all of it out: silence after the sound does.
    const std::vector<float> silence(static_cast<size_t>(kSilenceFrames * channels), 0.0f);
    for (int64_t padded = 0; out.size() < wanted && padded < from_rate; padded += kSilenceFrames) {
        if (!put(silence.data(), kSilenceFrames) || !take()) return false;
    }
    return SDL_AudioStreamFlush(stream.get()) == 0 && take() && out.size() == wanted;
}

}  // namespace vexel::platform
