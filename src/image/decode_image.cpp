#include "image/image_decoders.h"

namespace vexel {

bool decode_image(const char* name, int32_t key, ImageBuffer& out) {
    return decode_bmp(name, key, out) || decode_png(name, key, out) || decode_jpeg(name, out);
}

bool decode_bmp_or_png(const char* name, int32_t key, ImageBuffer& out) {
    return decode_bmp(name, key, out) || decode_png(name, key, out);
}

}  // namespace vexel
