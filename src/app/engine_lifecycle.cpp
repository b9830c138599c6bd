#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include <vexel/app.h>
#include <vexel/error.h>
#include <vexel/frame.h>

#include "app/message_layer.h"
#include "app/pause_state.h"
#include "app/subsystem_hooks.h"
#include "platform/memory_policy.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "platform/quit_signals.h"
#include "platform/timer.h"
#include "platform/video.h"

namespace vexel {

namespace {

constexpr size_t kExePathLimit = 1024;

// A directory where the log belongs is removed (only when empty); a file is deleted.
void reset_error_log() {
    const char* path = error_log_path();
    struct stat info {};
    if (::lstat(path, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::rmdir(path);
    } else {
        ::unlink(path);
    }
    append_error_log("Start new log...\n");
}

std::string executable_path() {
    char buffer[kExePathLimit];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    std::string path(buffer, static_cast<size_t>(length));
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

std::string folder_of(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

void change_to_executable_folder() {
    const std::string folder = folder_of(executable_path());
    if (!folder.empty()) (void)::chdir(folder.c_str());
}

int32_t truncated_timer() {
    const double now = std::trunc(timer_ms());
    return now >= static_cast<double>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(now);
}

}  // namespace

ProjectSettings& project_settings() {
    static ProjectSettings settings;
    return settings;
}

void init_engine(int32_t show_command, const char* caption) {
    platform::keep_freed_memory();
    const ProjectSettings& settings = project_settings();
    reset_error_log();
    set_autopause(1);
    platform::watch_quit_signals();

    append_error_log("timer\n");
    platform::timer_init();

    append_error_log("rbow\n");
    platform::OpenGLDuderedi& gl = platform::create_opengl_duderedi();
    append_error_log("rbow init\n");
    hooks::install_render_hooks();
    if (!gl.create_window(settings.width, settings.height, 0, settings.frame_rate,
                          settings.multisample))
        return;
    hooks::publish_gl_lookup();

    gl.set_caption(caption);
    append_error_log("Cptn\n");

    hooks::seed_random_generator(truncated_timer());

    append_error_log("Network\n");
    create_message_layer();

    hooks::create_3d_state();
    append_error_log("Input\n");

    hooks::create_input_object();
    append_error_log("Window mode\n");

    if (settings.fullscreen) {
        gl.set_fullscreen();
    } else {
        gl.set_windowed();
    }
    append_error_log("Create DXin\n");

    hooks::create_input_devices(settings.exclusive_mouse != 0);
    append_error_log("reptr\n");

    hooks::clear_current_font();
    hooks::attach_input_window();

    append_error_log("getexe\n");
    const std::string exe_path = executable_path();
    const std::string exe_folder = folder_of(exe_path);
    append_error_log("cd\n");
    if (!exe_folder.empty()) (void)::chdir(exe_folder.c_str());
    append_error_log(("exepath=curdir= " + exe_folder + "\n").c_str());

    hooks::init_archive_resolver(exe_path.c_str());

    platform::stamp_frame_clock();

    gl.set_clear_colour(0);
    platform::present_frame(nullptr);
    gl.reset_gl_state();
    hooks::init_font_slot_zero();

    hooks::load_default_font();

    hooks::select_default_font();
    clear_paused_flag();
    hooks::show_arrow_cursor();
    platform::stamp_frame_clock();

    if (show_command == 0) gl.hide_window();

    hooks::bind_mouse(settings.exclusive_mouse != 0);
    hooks::resolve_external_functions();
    hooks::start_sound();
    append_error_log("Init Finalized\n");
}

void shutdown_engine() {
    static bool quit_called = false;
    if (!quit_called) {
        quit_called = true;
        call_by_name("VXL_ON_QUIT");
    }
    if (!platform::opengl_duderedi()) return;
    append_error_log("Shutdown VXL\n");
    hooks::stop_music();
    change_to_executable_folder();
    hooks::close_file_channels();
    close_message_layer();
    hooks::shutdown_sockets();
    hooks::release_input();
    hooks::release_sound();
    platform::delete_opengl_duderedi();
    hooks::delete_3d_state();
    hooks::release_archive_states();
    platform::video_shutdown();
    append_error_log("vxl is shut down\n");
}

}  // namespace vexel
