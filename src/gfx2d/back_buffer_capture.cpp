#include "gfx2d/back_buffer_capture.h"

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "gfx2d/draw_batch.h"
#include "gfx2d/render_context.h"
#include "image/image_buffer.h"
#include "image/image_encoders.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

bool save_back_buffer(const char* file, int32_t width, int32_t height) {
    if (!file || !*file || !gl_ready()) return false;
    flush_2d_batch();
    if (width < 1 || height < 1 || !image_size_allowed(width, height)) return false;
    ImageBuffer picture;
    if (!picture.size_for(width, height)) return false;
    GLint pack_alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack_alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(platform::opengl_duderedi()->letterbox.read_buffer());
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.pixels());
    glPixelStorei(GL_PACK_ALIGNMENT, pack_alignment);
    // GL hands the rows over bottom-up; the picture wants them top-down. The window's alpha
    // channel says nothing about what was seen, so the picture is opaque.
    const size_t row_bytes = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> row(row_bytes);
    for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::memcpy(row.data(), picture.pixel(0, top), row_bytes);
        std::memcpy(picture.pixel(0, top), picture.pixel(0, bottom), row_bytes);
        std::memcpy(picture.pixel(0, bottom), row.data(), row_bytes);
    }
    uint8_t* pixels = picture.pixels();
    for (int64_t i = 3; i < picture.byte_count(); i += 4)
        pixels[i] = 255;
    return encode_png(file, picture);
}

}  // namespace vexel
