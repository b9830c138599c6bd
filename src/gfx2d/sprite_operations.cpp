#include "gfx2d/sprite_operations.h"

#include <GL/gl.h>

#include <cstring>

#include "gfx2d/backgrounds.h"
#include "gfx2d/draw_batch.h"
#include "gfx2d/image_filters.h"
#include "gfx2d/render_context.h"
#include "gfx2d/texture_layout.h"
#include "gfx2d/texture_store.h"
#include "image/image_decoders.h"

namespace vexel {

bool create_sprite(int32_t slot, const ImageBuffer& picture, bool normal) {
    free_sprite(slot);
    SpriteSlot* sprite = texture_store().slot(slot);
    if (!sprite || picture.width() == 0 || picture.height() == 0) return false;
    const int32_t tw = power_of_two_size(picture.width());
    const int32_t th = power_of_two_size(picture.height());
    bool uploaded;
    if (slot < kFirstFontSlot) {
        uploaded = upload_texture(picture, 0, 0, 0, 0, sprite->texture, &sprite->mip_texture,
                                  normal, false);
    } else {
        uploaded = upload_texture(picture, 0, 0, 0, 0, sprite->texture, nullptr, false, true);
    }
    sprite->set_picture_size(picture.width(), picture.height(), tw, th);
    if (!uploaded) {
        free_sprite(slot);
        return false;
    }
    return true;
}

bool load_sprite_file(int32_t slot, const char* name, int32_t key, bool normal, ImageFailure* why) {
    free_sprite(slot);
    if (!texture_store().slot(slot) || !name || !*name)
        return image_failed(ImageFailure::kNotFound, why);
    ImageBuffer picture;
    if (!decode_image(name, key, picture, why)) return false;
    if (!picture.alpha_from_source()) fill_transparent_colours(picture);
    if (create_sprite(slot, picture, normal)) return true;
    return image_failed(picture.byte_count() == 0 ? ImageFailure::kEmpty : ImageFailure::kNoTexture,
                        why);
}

void free_sprite(int32_t slot) {
    TextureStore& store = texture_store();
    SpriteSlot* sprite = store.slot(slot);
    if (!sprite) return;
    flush_2d_batch();
    store.release_alpha_mask(slot);
    store.bound_2d_slot = -1;
    for (uint32_t* name : {&sprite->texture, &sprite->mip_texture}) {
        if (*name != 0 && gl_ready()) {
            const GLuint texture = *name;
            glDeleteTextures(1, &texture);
        }
        *name = 0;
    }
    sprite->texture_width = -1;
    sprite->texture_height = -1;
    sprite->width = 0;
    sprite->height = 0;
    sprite->u_extent = 1.0f;
    sprite->v_extent = 1.0f;
}

void free_all_sprites() {
    for (int32_t slot = 0; slot < kSpriteSlotCount; ++slot)
        free_sprite(slot);
    for (int32_t background = 0; background < kBackgroundCount; ++background)
        remove_background(background);
}

bool read_sprite_pixels(int32_t slot, ImageBuffer& picture) {
    const SpriteSlot* sprite = texture_store().slot(slot);
    if (!sprite || sprite->width <= 0 || sprite->height <= 0) return false;
    if (!picture.size_for(sprite->width, sprite->height)) return false;
    if (sprite->texture == 0 || !gl_ready()) return true;
    flush_2d_batch();

    // The whole level 0, then the picture's block from the lower-left corner, rows turned.
    GLint tw = 0;
    GLint th = 0;
    glBindTexture(GL_TEXTURE_2D, sprite->texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    texture_store().bound_2d_slot = -1;
    ImageBuffer texels;
    if (tw < picture.width() || th < picture.height() || !texels.size_for(tw, th)) return true;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.pixels());
    for (int32_t y = 0; y < picture.height(); ++y) {
        std::memcpy(picture.pixel(0, y), texels.pixel(0, picture.height() - 1 - y),
                    size_t(picture.width()) * 4);
    }
    return true;
}

}  // namespace vexel
