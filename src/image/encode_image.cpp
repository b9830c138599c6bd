#include <cstring>

#include "image/image_encoders.h"

namespace vexel {

namespace {

bool ends_with_folded(const char* name, size_t length, const char* ending) {
    const size_t n = std::strlen(ending);
    if (length < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = name[length - n + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i]) return false;
    }
    return true;
}

}  // namespace

ImageFileFormat image_format_for_name(const char* name) {
    const size_t length = std::strlen(name);
    if (length >= 5 && ends_with_folded(name, length, ".png")) return ImageFileFormat::kPng;
    if (ends_with_folded(name, length, "jpg")) return ImageFileFormat::kJpeg;
    return ImageFileFormat::kBmp;
}

bool encode_image(const char* name, const ImageBuffer& picture) {
    if (picture.width() == 0 || picture.height() == 0) return false;
    switch (image_format_for_name(name)) {
        case ImageFileFormat::kPng:
            return encode_png(name, picture);
        case ImageFileFormat::kJpeg:
            return encode_jpeg(name, picture);
        case ImageFileFormat::kBmp:
            break;
    }
    return encode_bmp(name, picture);
}

}  // namespace vexel
