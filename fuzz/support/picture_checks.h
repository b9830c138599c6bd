// What a decoded picture must satisfy whatever bytes it came from.
#pragma once

#include "image/image_buffer.h"
#include "image/image_decoders.h"
#include "support/fuzz_harness.h"

namespace vexel::fuzz {

// A success gives a picture within the limits whose every pixel can be read; a failure names its
// reason and leaves the buffer reset.
inline void check_decoded(bool decoded, ImageFailure why, const ImageBuffer& picture) {
    if (!decoded) {
        check(why != ImageFailure::kNone, "a failure without a reason");
        check(picture.width() == 0 && picture.height() == 0 && picture.pixels() == nullptr,
              "a failed decode left pixels behind");
        return;
    }
    check(why == ImageFailure::kNone, "a success with a failure reason");
    check(image_size_allowed(picture.width(), picture.height()), "a picture beyond the limits");
    check(picture.byte_count() == 0 || picture.pixels() != nullptr, "pixels without memory");
    const uint8_t* bytes = picture.pixels();
    uint32_t sum = 0;
    for (int64_t i = 0; i < picture.byte_count(); ++i)
        sum += bytes[i];
    // Only ASan judges the reads above; the sum keeps them from being optimised away.
    volatile uint32_t sink = sum;
    (void)sink;
}

}  // namespace vexel::fuzz
