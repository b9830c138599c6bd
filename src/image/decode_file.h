// Internal: what every picture decoder does around its own format.
#pragma once

#include <new>

#include "image/image_buffer.h"
#include "image/image_decoders.h"
#include "io/file_stream.h"

namespace vexel {

// Opens name through the file layer and runs decode(FileStream&) -> ImageFailure on it. A file
// that does not open is kNotFound, running out of memory is kOutOfMemory, and any failure leaves
// out reset, so that a caller never sees half a picture.
template <typename Decode>
bool decode_file(const char* name, ImageBuffer& out, ImageFailure* why, Decode decode) {
    out.reset();
    FileStream stream;
    ImageFailure failure = ImageFailure::kNotFound;
    if (stream.open_read(name)) {
        try {
            failure = decode(stream);
        } catch (const std::bad_alloc&) {
            failure = ImageFailure::kOutOfMemory;
        }
    }
    if (why) *why = failure;
    if (failure == ImageFailure::kNone) return true;
    out.reset();
    return false;
}

}  // namespace vexel
