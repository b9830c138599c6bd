#include <GL/gl.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/image_filters.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_layout.h"

namespace vexel {

namespace {

void upload_level(int32_t level, const ImageBuffer& texels) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, texels.width(), texels.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.pixels());
}

bool upload_mip_chain(const ImageBuffer& texels, uint32_t* mip_texture) {
    ImageBuffer level = make_mip_square(texels);
    if (level.width() == 0) return false;
    set_upload_pixel_store();
    *mip_texture = new_bound_texture(false);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    upload_level(0, level);
    for (int32_t n = 1; level.width() > 1; ++n) {
        level = reduce_mip_level(level);
        if (level.width() == 0) return false;
        upload_level(n, level);
    }
    return true;
}

}  // namespace

bool upload_texture(const ImageBuffer& picture, int32_t x, int32_t y, int32_t w, int32_t h,
                    uint32_t& texture, uint32_t* mip_texture, bool normal, bool nearest) {
    if (!gl_ready()) return false;
    flush_2d_batch();
    TextureBlock block;
    if (!build_texture_block(picture, x, y, w, h, max_texture_size(), block)) return false;

    set_upload_pixel_store();
    if (texture == 0) {
        texture = new_bound_texture(nearest);
    } else {
        // The same name again, as a new texture object.
        const GLuint name = texture;
        glDeleteTextures(1, &name);
        bind_texture_for_upload(name, nearest);
    }
    if (normal) make_normal_map(block.texels);
    upload_level(0, block.texels);
    if (mip_texture) return upload_mip_chain(block.texels, mip_texture);
    return true;
}

}  // namespace vexel
