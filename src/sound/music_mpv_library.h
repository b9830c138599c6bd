// Internal: the libmpv functions the engine calls, looked up by name when music or video is
// first played. libmpv pulls in some two hundred libraries; opened at start-up, it would slow
// down the start of every game, also of those that never play music.
#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <string>

namespace vexel {

struct MpvLibrary {
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_error_string) error_string = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_request_event) request_event = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_set_property) set_property = nullptr;
    decltype(&::mpv_set_property_string) set_property_string = nullptr;
    decltype(&::mpv_get_property) get_property = nullptr;
    decltype(&::mpv_render_context_create) render_context_create = nullptr;
    decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback =
        nullptr;
    decltype(&::mpv_render_context_update) render_context_update = nullptr;
    decltype(&::mpv_render_context_render) render_context_render = nullptr;
    decltype(&::mpv_render_context_report_swap) render_context_report_swap = nullptr;
    decltype(&::mpv_render_context_free) render_context_free = nullptr;
};

// The table, filled at the first call; null when libmpv cannot be opened or lacks one of the
// functions, with the reason. The library stays loaded until the process ends.
const MpvLibrary* mpv_library(std::string* reason);

}  // namespace vexel
