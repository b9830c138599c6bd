// The playback device the sound effects are mixed into, and the rate conversion that fits a
// loaded sound to it. One device per process. Unlike a window-bound sound interface, the device
// belongs to no window: nothing changes for it when the engine window is replaced. Internal to
// the engine; the SDL2 implementation is audio_device_sdl.cpp.
#pragma once

#include <cstdint>
#include <vector>

namespace vexel::platform {

// Frames of the device buffer asked for: small, so that a play is heard within about 12 ms.
inline constexpr int32_t kAudioBufferFrames = 512;

// Fills `frames` frames of interleaved stereo float samples (-1 ... 1) at the device rate. Runs
// on the device's own thread while the device lock is held.
using AudioMixFunction = void (*)(void* context, float* stereo, int32_t frames);

struct AudioDeviceFormat {
    int32_t rate = 0;           // frames per second, the device's own where it tells it
    int32_t buffer_frames = 0;  // frames per call of the mix function
};

// Opens the default playback device (SDL's dummy driver when VEXEL_AUDIO=null) and starts
// calling mix. False, with nothing opened, when no device opens or one is open already.
bool audio_device_open(AudioMixFunction mix, void* context, AudioDeviceFormat* format);
// Stops the calls of the mix function and closes the device; nothing when none is open.
void audio_device_close();

// While held, the mix function does not run: the main thread changes what it reads. Nothing
// when no device is open.
class AudioDeviceLock {
public:
    AudioDeviceLock();
    ~AudioDeviceLock();
    AudioDeviceLock(const AudioDeviceLock&) = delete;
    AudioDeviceLock& operator=(const AudioDeviceLock&) = delete;

private:
    uint32_t device_;
};

// Interleaved float audio of 1 or 2 channels converted from one rate to another into out: the
// in frames times to_rate / from_rate, rounded up. False when that exceeds max_frames or the
// conversion cannot be made.
bool convert_audio_rate(const std::vector<float>& in, int32_t channels, int32_t from_rate,
                        int32_t to_rate, int64_t max_frames, std::vector<float>& out);

}  // namespace vexel::platform
