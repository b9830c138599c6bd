// Hooks whose subsystem has not joined the engine yet are empty: nothing of theirs exists to
// create, drive or release.
#include "app/subsystem_hooks.h"

#include <vexel/fonts.h>
#include <vexel/input.h>
#include <vexel/math.h>
#include <vexel/music.h>
#include <vexel/net.h>
#include <vexel/shaders.h>
#include <vexel/system.h>

#include "engine3d/duderedi_3d.h"
#include "engine3d/mesh_graphics.h"
#include "engine3d/shadow_pass.h"
#include "engine3d/text_hook.h"
#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/render_hooks_2d.h"
#include "input/input_state.h"
#include "io/file_layer.h"
#include "platform/gl_context.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"
#include "sound/music_player.h"
#include "sound/sound_effects.h"

namespace vexel::hooks {

void install_render_hooks() {
    install_2d_render_hooks();
}
void seed_random_generator(int32_t seed) {
    seed_random(seed);
}
void publish_gl_lookup() {
    set_gl_proc_lookup(platform::gl_offered_proc_address);
}
void create_3d_state() {
    engine3d::install_mesh_graphics();
    engine3d::create_duderedi_3d(platform::opengl_duderedi());
    platform::render_hooks().end_shadow_pass = engine3d::finish_shadow_pass;
    engine3d::set_print_text_hook(
        [](const DynString& text, double x, double y, int32_t proportional) {
            print_text(text, x, y, proportional != 0);
            flush_2d_batch();  // drawn now, in the 3D transform that print_3d undoes after
        });
}
void create_input_object() {
    create_input_state();
    platform::render_hooks().char_typed = push_typed_char;
}
void create_input_devices(bool exclusive_mouse) {
    init_input(exclusive_mouse);
}
void clear_current_font() {
    draw_state().current_font = 0;
}
void attach_input_window() {}
void init_archive_resolver(const char* exe_path) {
    open_executable_archive(exe_path);
}
void init_font_slot_zero() {
    init_empty_font(0);
}
void load_default_font() {
    vexel::load_default_font();
}
void select_default_font() {
    draw_state().current_font = 0;
}
void show_arrow_cursor() {
    platform::cursor_show(true);
}
void bind_mouse(bool exclusive_mouse) {
    vexel::bind_mouse(exclusive_mouse);
}
void resolve_external_functions() {
    resolve_externals();
}
void start_sound() {
    vexel::start_sound();
}

void play_input_script() {
    vexel::play_input_script();
}
void sample_input() {
    vexel::sample_input();
}
void refresh_keyboard() {
    vexel::refresh_keyboard();
}
bool key_down(int32_t code) {
    return platform::keyboard_key_down(code);
}
void finish_shadow_pass() {
    engine3d::finish_shadow_pass();
}
void music_loop_check() {
    vexel::music_loop_check();
}
void reset_frame_render_state() {
    use_shader(-1);
    engine3d::scene_globals().texture_mipmapping = 0;
}

PointerSnapshot read_pointer() {
    PointerSnapshot snapshot;
    uint8_t buttons = 0;
    peek_pointer(&snapshot.x, &snapshot.y, &buttons);
    snapshot.left = (buttons & platform::kMouseLeft) != 0;
    snapshot.right = (buttons & platform::kMouseRight) != 0;
    return snapshot;
}
bool joystick_active() {
    for (int32_t n = joystick_count() - 1; n >= 0; --n) {
        if (joystick_moved(n)) return true;
    }
    return false;
}

void rebind_to_window() {
    rebind_mouse();
    rebind_sound_window();
}

void release_input_for_debugger() {
    platform::cursor_set_relative(false);
    platform::mouse_reset();
    platform::keyboard_release_all();
    vexel::refresh_keyboard();
}

void stop_music() {
    release_media_players();
}
void close_file_channels() {
    close_all_channels();
    write_back_stores();
}
void close_engine_socket(int32_t socket) {
    socket_close(socket);
}
void shutdown_sockets() {
    for (int i = 0; i < 16; ++i)
        socket_shutdown();
}
void release_input() {
    vexel::release_input();
}
void release_sound() {
    stop_sound_device();
}
void delete_3d_state() {
    platform::render_hooks().end_shadow_pass = nullptr;
    engine3d::delete_duderedi_3d();
}
void release_archive_states() {
    vexel::release_archive_states();
}

}  // namespace vexel::hooks
