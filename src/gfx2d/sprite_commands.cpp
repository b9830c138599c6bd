#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/sprites.h>

#include "gfx2d/image_decoders.h"
#include "gfx2d/image_filters.h"
#include "gfx2d/pixel_arrays.h"
#include "gfx2d/texture_store.h"

namespace vexel {

bool load_image_pixels(const DynString& file, int32_t& width, int32_t& height,
                       ExactIntArray& pixels) {
    DynString path;
    if (!resolve_name(file, path, true)) {
        set_error(3);
        return false;
    }
    ImageBuffer picture;
    if (!decode_image(path.c_str(), texture_store().sprite_colour_key, picture)) return false;
    if (!picture.alpha_from_source()) fill_transparent_colours(picture);
    width = picture.width();
    height = picture.height();
    if (width * height == 0) return false;
    pack_pixels(picture, pixels);
    return true;
}

void set_colour_key(int32_t colour) {
    TextureStore& store = texture_store();
    store.sprite_colour_key = colour;
    store.font_colour_key = colour;
}

}  // namespace vexel
