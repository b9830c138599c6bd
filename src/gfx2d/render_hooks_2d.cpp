#include "gfx2d/render_hooks_2d.h"

#include "gfx2d/backgrounds.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "platform/render_hooks.h"

namespace vexel {

void install_2d_render_hooks() {
    delete_texture_store();
    platform::RenderHooks& hooks = platform::render_hooks();
    hooks.free_all_textures = free_all_sprites;
    hooks.has_background = has_screen_background;
}

}  // namespace vexel
