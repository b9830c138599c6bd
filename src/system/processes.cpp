#include <string>
#include <string_view>

#include <vexel/app.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/system.h>

#include "io/system_path.h"
#include "platform/opengl_duderedi.h"
#include "system/child_process.h"
#include "system/command_line_split.h"

namespace vexel {

namespace {

constexpr const char* kDesktopOpener = "xdg-open";

// The started program may need the screen: the engine's window turns windowed (and centred).
void switch_to_windowed() {
    if (platform::OpenGLDuderedi* gl = platform::opengl_duderedi()) gl->set_windowed();
}

void take_back_focus() {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (gl && gl->window) platform::window_raise(gl->window);
}

// "scheme:" of a URL (two or more letters, so that "C:" stays a path).
bool looks_like_url(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit_or_mark = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && digit_or_mark)) return false;
    }
    return true;
}

void start_opener(const DynString& document) {
    std::string target = looks_like_url(document.c_str()) ? std::string(document.c_str())
                                                          : system_path(document.c_str());
    const pid_t child = system::spawn_program({kDesktopOpener, std::move(target)});
    if (child > 0) system::reap_when_done(child);
}

}  // namespace

int32_t launch_process(const DynString& command_line, bool wait, bool /*show*/, double& exit_code) {
    exit_code = 0;
    switch_to_windowed();
    int32_t started = 0;
    const auto arguments =
        system::split_command_line(std::string_view(command_line.c_str(), command_line.length()));
    if (arguments && !arguments->empty()) {
        const pid_t child = system::spawn_program(*arguments);
        if (child > 0) {
            started = 1;
            if (wait) {
                exit_code = system::wait_for_exit(child).value_or(0);
            } else {
                system::reap_when_done(child);
            }
        }
    }
    take_back_focus();
    return started;
}

int32_t launch_process(const DynString& command_line, bool wait, bool show, int32_t& exit_code) {
    double code = 0;
    const int32_t started = launch_process(command_line, wait, show, code);
    exit_code = static_cast<int32_t>(code);
    return started;
}

void run_and_end(const DynString& command_line) {
    shutdown_engine();
    double ignored = 0;
    launch_process(command_line, false, true, ignored);
    end_program();
}

void shell_open(const DynString& document) {
    if (!system::found_on_path(kDesktopOpener)) {
        set_error(3);
        return;
    }
    const bool quits = get_escape_quits() != 0;
    if (quits) shutdown_engine();
    start_opener(document);
    if (quits) end_program();
}

}  // namespace vexel
