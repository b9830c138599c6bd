// The JPEG decoder over a "mem://" block.
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
    const bool decoded = vexel::decode_jpeg(input.name(), picture, &why);
    vexel::fuzz::check_decoded(decoded, why, picture);
    return 0;
}
