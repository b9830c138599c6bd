#include "image/image_decoders.h"

#include <initializer_list>

namespace vexel {

namespace {

// The reason of the first decoder that knew the format: a PNG cut short is "damaged", not "not
// a picture", although the BMP decoder tried it first.
ImageFailure first_known(std::initializer_list<ImageFailure> failures) {
    for (ImageFailure failure : failures)
        if (failure != ImageFailure::kNotAPicture) return failure;
    return ImageFailure::kNotAPicture;
}

}  // namespace

std::string_view image_failure_reason(ImageFailure failure) {
    switch (failure) {
        case ImageFailure::kNone:
            return "no failure";
        case ImageFailure::kNotFound:
            return "not found";
        case ImageFailure::kNotAPicture:
            return "not a PNG/BMP/JPEG picture";
        case ImageFailure::kNotAFontSheet:
            return "not a PNG/BMP picture";
        case ImageFailure::kUnsupported:
            return "a kind of PNG/BMP/JPEG the engine does not read";
        case ImageFailure::kDamaged:
            return "damaged";
        case ImageFailure::kTooLarge:
            return "larger than 16384 pixels a side";
        case ImageFailure::kTooManyPixels:
            return "more than 67108864 pixels";
        case ImageFailure::kOutOfMemory:
            return "out of memory";
        case ImageFailure::kEmpty:
            return "holds no pixels";
        case ImageFailure::kNoTexture:
            return "could not be made into a texture";
    }
    return "unknown failure";
}

ImageFailure image_size_failure(int64_t width, int64_t height) {
    if (width > kMaxImageSide || height > kMaxImageSide) return ImageFailure::kTooLarge;
    if (width < 0 || height < 0) return ImageFailure::kDamaged;
    if (width * height > kMaxImagePixels) return ImageFailure::kTooManyPixels;
    return ImageFailure::kNone;
}

bool decode_image(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why) {
    ImageFailure bmp = ImageFailure::kNone;
    ImageFailure png = ImageFailure::kNone;
    ImageFailure jpeg = ImageFailure::kNone;
    const bool decoded = decode_bmp(name, key, out, &bmp) || decode_png(name, key, out, &png) ||
                         decode_jpeg(name, out, &jpeg);
    if (why) *why = decoded ? ImageFailure::kNone : first_known({bmp, png, jpeg});
    return decoded;
}

bool decode_bmp_or_png(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why) {
    ImageFailure bmp = ImageFailure::kNone;
    ImageFailure png = ImageFailure::kNone;
    const bool decoded = decode_bmp(name, key, out, &bmp) || decode_png(name, key, out, &png);
    if (why) {
        *why = decoded ? ImageFailure::kNone : first_known({bmp, png});
        if (*why == ImageFailure::kNotAPicture) *why = ImageFailure::kNotAFontSheet;
    }
    return decoded;
}

}  // namespace vexel
