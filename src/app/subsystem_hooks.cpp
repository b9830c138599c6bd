// Hooks whose subsystem has not joined the engine yet are empty: nothing of theirs exists to
// create, drive or release.
#include "app/subsystem_hooks.h"

#include <vexel/math.h>

#include "engine3d/duderedi_3d.h"
#include "engine3d/mesh_graphics.h"
#include "engine3d/shadow_pass.h"
#include "gfx2d/render_hooks_2d.h"
#include "io/file_layer.h"
#include "platform/gl_context.h"
#include "platform/keyboard.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"

namespace vexel::hooks {

void install_render_hooks() {
    install_2d_render_hooks();
}
void seed_random_generator(int32_t seed) {
    seed_random(seed);
}
void publish_gl_lookup() {
    set_gl_proc_lookup(platform::gl_proc_address);
}
void create_3d_state() {
    engine3d::install_mesh_graphics();
    engine3d::create_duderedi_3d(platform::opengl_duderedi());
    platform::render_hooks().end_shadow_pass = engine3d::finish_shadow_pass;
}
void create_input_object() {}
void create_input_devices(bool) {}
void clear_current_font() {}
void attach_input_window() {}
void init_archive_resolver(const char* exe_path) {
    open_executable_archive(exe_path);
}
void init_font_slot_zero() {}
void load_default_font() {}
void select_default_font() {}
void show_arrow_cursor() {}
void bind_mouse(bool) {}
void resolve_external_functions() {}
void start_sound() {}

void sample_input() {
    refresh_keyboard();
}
void refresh_keyboard() {
    platform::keyboard_refresh();
}
bool key_down(int32_t code) {
    return platform::keyboard_key_down(code);
}
void finish_shadow_pass() {
    engine3d::finish_shadow_pass();
}
void music_loop_check() {}
void reset_frame_render_state() {
    engine3d::scene_globals().texture_mipmapping = 0;
}

PointerSnapshot read_pointer() {
    return PointerSnapshot{};
}
bool joystick_active() {
    return false;
}

void rebind_to_window() {}

void release_input_for_debugger() {
    platform::keyboard_release_all();
    platform::keyboard_refresh();
}

void stop_music() {}
void close_file_channels() {
    close_all_channels();
    write_back_stores();
}
void close_engine_socket(int32_t) {}
void shutdown_sockets() {}
void release_input() {
    platform::keyboard_release_all();
}
void release_sound() {}
void delete_3d_state() {
    platform::render_hooks().end_shadow_pass = nullptr;
    engine3d::delete_duderedi_3d();
}
void release_archive_states() {
    vexel::release_archive_states();
}

}  // namespace vexel::hooks
