#include "gfx2d/render_hooks_2d.h"

#include <vexel/offscreen.h>

#include "gfx2d/back_buffer_capture.h"
#include "gfx2d/background_draw.h"
#include "gfx2d/backgrounds.h"
#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/offscreen_surfaces.h"
#include "gfx2d/shader_programs.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "platform/render_hooks.h"

namespace vexel {

namespace {

// Surfaces first: their framebuffers hold the textures of the slots about to be deleted. The
// window goes only at shutdown, so the programs go with it.
void free_all_textures() {
    flush_2d_batch();
    release_offscreen_surfaces();
    release_shader_programs();
    free_all_sprites();
}

}  // namespace

void install_2d_render_hooks() {
    delete_texture_store();
    reset_draw_state();
    platform::RenderHooks& hooks = platform::render_hooks();
    hooks.flush_2d = flush_2d_batch;
    hooks.free_all_textures = free_all_textures;
    hooks.has_background = has_screen_background;
    hooks.draw_background = [] { draw_background(0); };
    hooks.reset_2d_state = reset_2d_state;
    hooks.init_offscreen_surfaces = init_offscreen_surfaces;
    hooks.end_offscreen = end_offscreen;
    hooks.surface_size = offscreen_target_size;
    hooks.save_back_buffer = save_back_buffer;
}

}  // namespace vexel
