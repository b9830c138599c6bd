// The PNG decoder over a "mem://" block, keyed on black so that keying runs too.
#include <cstddef>
#include <cstdint>

#include "image/image_decoders.h"
#include "support/fuzz_harness.h"
#include "support/picture_checks.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vexel::fuzz::InputFile input(data, size);
    vexel::ImageBuffer picture;
    vexel::ImageFailure why = vexel::ImageFailure::kNone;
    const bool decoded = vexel::decode_png(input.name(), 0x000000, picture, &why);
    vexel::fuzz::check_decoded(decoded, why, picture);
    return 0;
}
