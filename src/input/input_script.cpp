#include "input/input_script.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <vexel/error.h>

#include "platform/event_injection.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

constexpr long kScriptSizeLimit = 16L << 20;
// Injected text travels in pieces that fit one system text event.
constexpr size_t kTextPiece = 15;
// Bad lines named one by one in the error log; the rest are counted in one line, so that a file
// of junk costs one log line, not one per line.
constexpr size_t kReportedBadLines = 5;

// Scripted positions are the game's pixels; the device reports them where the window shows
// them, which differs while the game's picture is letterboxed.
Point on_window(Point game) {
    if (const platform::OpenGLDuderedi* gl = platform::opengl_duderedi())
        gl->letterbox.position_to_screen(gl->window, &game.x, &game.y);
    return game;
}

void queue(const ScriptedEvent& event, uint32_t window, Point* pointer) {
    switch (event.kind) {
        case ScriptedKind::kKeyDown:
        case ScriptedKind::kKeyUp:
            platform::inject_key(window, event.a, event.kind == ScriptedKind::kKeyDown);
            break;
        case ScriptedKind::kText:
            for (size_t at = 0; at < event.text.size(); at += kTextPiece)
                platform::inject_text(window, event.text.substr(at, kTextPiece).c_str());
            break;
        case ScriptedKind::kMouseMove: {
            const Point to = on_window({event.a, event.b});
            const Point from = on_window(*pointer);
            platform::inject_mouse_move(window, to.x, to.y, to.x - from.x, to.y - from.y);
            *pointer = {event.a, event.b};
            break;
        }
        case ScriptedKind::kMouseButton:
            platform::inject_mouse_button(window, event.a, event.down);
            break;
        case ScriptedKind::kWheel:
            platform::inject_wheel(window, event.a);
            break;
        case ScriptedKind::kFocusLost:
            platform::inject_focus_lost(window);
            break;
        case ScriptedKind::kFocusGained:
            platform::inject_focus_gained(window);
            break;
        case ScriptedKind::kClose:
            platform::inject_close_request(window);
            break;
    }
}

}  // namespace

void InputScriptPlayer::load(InputScript script, Point pointer) {
    events_ = std::move(script.events);
    next_ = 0;
    frame_ = 0;
    pointer_ = pointer;
}

void InputScriptPlayer::play_frame(uint32_t window_id) {
    ++frame_;
    while (next_ < events_.size() && events_[next_].frame <= frame_)
        queue(events_[next_++], window_id, &pointer_);
}

InputScript load_environment_input_script() {
    const char* path = std::getenv("VEXEL_INPUT_SCRIPT");
    if (!path || !*path) return {};
    std::string text;
    std::FILE* file = std::fopen(path, "rb");
    bool readable = file != nullptr;
    if (file) {
        char block[4096];
        size_t got = 0;
        while (readable && (got = std::fread(block, 1, sizeof block, file)) > 0) {
            text.append(block, got);
            readable = static_cast<long>(text.size()) <= kScriptSizeLimit;
        }
        readable = readable && !std::ferror(file);
        std::fclose(file);
    }
    if (!readable) {
        append_error_log("Input script not readable\n");
        return {};
    }
    InputScript script = parse_input_script(text);
    const size_t reported = std::min(script.bad_lines.size(), kReportedBadLines);
    char message[80];
    for (size_t i = 0; i < reported; ++i) {
        std::snprintf(message, sizeof message, "Input script line %d ignored\n",
                      script.bad_lines[i]);
        append_error_log(message);
    }
    if (script.bad_lines.size() > reported) {
        std::snprintf(message, sizeof message, "Input script: %zu more lines ignored\n",
                      script.bad_lines.size() - reported);
        append_error_log(message);
    }
    return script;
}

}  // namespace vexel
