#include <GL/gl.h>

#include <algorithm>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/sprites.h>

#include "app/failure_report.h"
#include "gfx2d/backgrounds.h"
#include "gfx2d/draw_batch.h"
#include "gfx2d/image_filters.h"
#include "gfx2d/pixel_arrays.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "image/image_decoders.h"
#include "image/image_encoders.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"

namespace vexel {

namespace {

void load_sprite_with(const DynString& file, int32_t slot, bool normal) {
    if (!texture_store().slot(slot)) return;
    set_error(0);
    free_sprite(slot);
    if (file.empty() && !normal) return;
    DynString path;
    ImageFailure why = ImageFailure::kNotFound;
    if (!resolve_name(file, path, true) ||
        !load_sprite_file(slot, path.c_str(), texture_store().sprite_colour_key, normal, &why)) {
        set_error(3);
        log_load_failure(normal ? "load_bump_sprite" : "load_sprite", file.c_str(),
                         image_failure_reason(why));
    }
}

int16_t clamp_to_int16(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// Clears the screen with the frame loop's clear colour at once; -1 clears nothing.
void clear_screen_with(int32_t colour) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!gl || !gl->window) return;
    flush_2d_batch();
    gl->set_clear_colour(colour);
    if (colour != -1) glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

void load_sprite(const DynString& file, int32_t slot) {
    load_sprite_with(file, slot, false);
}

void load_bump_sprite(const DynString& file, int32_t slot) {
    load_sprite_with(file, slot, true);
}

void load_animation(const DynString& file, int32_t slot, int32_t frame_width,
                    int32_t frame_height) {
    load_sprite(file, slot);
    set_sprite_frame_size(slot, frame_width, frame_height);
}

void set_sprite_frame_size(int32_t slot, int32_t frame_width, int32_t frame_height) {
    SpriteSlot* sprite = texture_store().slot(slot);
    if (!sprite || sprite->width <= 0) return;
    sprite->frame_width = clamp_to_int16(frame_width);
    sprite->frame_height = clamp_to_int16(frame_height);
}

void set_colour_key(int32_t colour) {
    TextureStore& store = texture_store();
    store.sprite_colour_key = colour;
    store.font_colour_key = colour;
}

bool sprite_from_pixels(const ExactIntArray& pixels, int32_t slot, int32_t width, int32_t height) {
    if (!texture_store().slot(slot)) return false;
    ImageBuffer picture;
    if (!unpack_pixels(pixels, width, height, picture)) return false;
    return create_sprite(slot, picture, false);
}

bool sprite_to_pixels(ExactIntArray& pixels, int32_t slot) {
    ImageBuffer picture;
    if (!read_sprite_pixels(slot, picture)) return false;
    pack_pixels(picture, pixels);
    return true;
}

bool load_image_pixels(const DynString& file, int32_t& width, int32_t& height,
                       ExactIntArray& pixels) {
    const auto fail = [&file](ImageFailure why) {
        log_load_failure("load_image_pixels", file.c_str(), image_failure_reason(why));
        return false;
    };
    DynString path;
    if (!resolve_name(file, path, true)) {
        set_error(3);
        return fail(ImageFailure::kNotFound);
    }
    ImageBuffer picture;
    ImageFailure why = ImageFailure::kNone;
    if (!decode_image(path.c_str(), texture_store().sprite_colour_key, picture, &why))
        return fail(why);
    if (!picture.alpha_from_source()) fill_transparent_colours(picture);
    width = picture.width();
    height = picture.height();
    if (width * height == 0) return fail(ImageFailure::kEmpty);
    pack_pixels(picture, pixels);
    return true;
}

void get_sprite_size(int32_t slot, int32_t& width, int32_t& height) {
    const SpriteSlot* sprite = texture_store().slot(slot);
    width = sprite ? sprite->width : 0;
    height = sprite ? sprite->height : 0;
}

void get_sprite_size(int32_t slot, double& width, double& height) {
    int32_t w = 0;
    int32_t h = 0;
    get_sprite_size(slot, w, h);
    width = w;
    height = h;
}

int32_t get_sprite_texture(int32_t slot) {
    const SpriteSlot* sprite = texture_store().slot(slot);
    return sprite ? static_cast<int32_t>(sprite->texture) : 0;
}

int32_t find_free_sprite() {
    TextureStore& store = texture_store();
    for (int32_t slot = kFirstFontSlot - 1; slot >= 0; --slot)
        if (store.slot(slot)->width == 0) return slot;
    return -1;
}

void save_sprite(const DynString& file, int32_t slot) {
    ImageBuffer picture;
    if (!read_sprite_pixels(slot, picture) || !encode_image(file.c_str(), picture)) set_error(3);
}

void save_screen(const DynString& file) {
    set_error(0);
    const int32_t slot = find_free_sprite();
    if (slot < 0) {
        set_error(3);
        return;
    }
    int32_t width = 0;
    int32_t height = 0;
    script_screen_size(&width, &height);
    grab_sprite(slot, 0, 0, width, height);
    ImageBuffer picture;
    const bool saved = read_sprite_pixels(slot, picture) && encode_image(file.c_str(), picture);
    free_sprite(slot);
    if (!saved) set_error(3);
}

void load_background(const DynString& file) {
    set_error(0);
    DynString path;
    ImageFailure why = ImageFailure::kNotFound;
    if (resolve_name(file, path, true) && load_background_file(0, path.c_str(), &why)) {
        if (platform::render_hooks().draw_background) platform::render_hooks().draw_background();
        return;
    }
    set_error(3);
    log_load_failure("load_background", file.c_str(), image_failure_reason(why));
    remove_background(0);
    clear_screen_with(0);
}

void screen_to_background() {
    copy_screen_to_background(0);
}

void clear_background(int32_t colour) {
    remove_background(0);
    clear_screen_with(colour);
}

}  // namespace vexel
