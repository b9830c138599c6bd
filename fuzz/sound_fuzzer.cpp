// Sound decoding (libsndfile over a FileStream) from a "mem://" block: WAV in its codings, FLAC,
// Ogg Vorbis, Opus and MP3. libsndfile's own leak on damaged Ogg files is suppressed by
// sound_fuzzer.lsan (see there); libmpg123 writes notes to standard error as it goes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "io/file_stream.h"
#include "sound/sound_decoder.h"
#include "support/fuzz_harness.h"

using vexel::fuzz::check;

namespace {

bool known_reason(const char* reason) {
    for (const char* known :
         {"not a sound file", "unsupported sample rate", "damaged", "too long", "no sound data"}) {
        if (std::strcmp(reason, known) == 0) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vexel::fuzz::InputFile input(data, size);
    vexel::FileStream stream;
    check(stream.open_read(input.name()), "a registered block does not open");
    vexel::DecodedSound sound;
    const char* reason = nullptr;
    if (!vexel::decode_sound(stream, sound, &reason)) {
        check(reason && known_reason(reason), "a failure without a known reason");
        return 0;
    }
    check(sound.channels == 1 || sound.channels == 2, "a sound of more than two channels");
    check(sound.sample_rate >= vexel::kMinSoundRate && sound.sample_rate <= vexel::kMaxSoundRate,
          "a sample rate outside the limits");
    check(!sound.samples.empty() && sound.samples.size() % sound.channels == 0,
          "samples that are not whole frames");
    const auto frames = static_cast<int64_t>(sound.samples.size()) / sound.channels;
    check(frames <= vexel::kMaxSoundSeconds * sound.sample_rate, "a sound over the length limit");
    for (float sample : sound.samples)
        check(std::isfinite(sample), "a sample that is not finite");
    return 0;
}
