#include "gfx2d/render_hooks_2d.h"

#include "gfx2d/background_draw.h"
#include "gfx2d/backgrounds.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "platform/render_hooks.h"

namespace vexel {

void install_2d_render_hooks() {
    delete_texture_store();
    reset_draw_state();
    platform::RenderHooks& hooks = platform::render_hooks();
    hooks.free_all_textures = free_all_sprites;
    hooks.has_background = has_screen_background;
    hooks.draw_background = [] { draw_background(0); };
    hooks.reset_2d_state = reset_2d_state;
}

}  // namespace vexel
