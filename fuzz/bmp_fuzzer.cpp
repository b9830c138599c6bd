// The BMP decoder over a "mem://" block, keyed on black so that keying runs too.
#include <cstddef>
#include <cstdint>

#include "image/image_decoders.h"
#include "support/fuzz_harness.h"
#include "support/picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vexel::fuzz::decode_and_check(
        data, size, [](const char* name, vexel::ImageBuffer& picture, vexel::ImageFailure* why) {
            return vexel::decode_bmp(name, 0x000000, picture, why);
        });
    return 0;
}
