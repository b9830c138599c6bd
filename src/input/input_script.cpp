#include "input/input_script.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <vexel/error.h>

#include "platform/event_injection.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

constexpr long kScriptSizeLimit = 16L << 20;
constexpr int64_t kLastFrame = INT32_MAX;
constexpr int32_t kCoordinateLimit = 1 << 20;
constexpr int32_t kNotchLimit = 1000;
// Injected text travels in pieces that fit one system text event.
constexpr size_t kTextPiece = 15;
// Bad lines named one by one in the error log; the rest are counted in one line, so that a file
// of junk costs one log line, not one per line.
constexpr size_t kReportedBadLines = 5;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The next word, taken off the front of rest.
std::string_view next_word(std::string_view& rest) {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    const size_t end = rest.find_first_of(" \t");
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    return word;
}

bool number(std::string_view word, int64_t low, int64_t high, int64_t* value) {
    if (word.empty()) return false;
    const char* end = word.data() + word.size();
    const auto [at, error] = std::from_chars(word.data(), end, *value);
    return error == std::errc() && at == end && *value >= low && *value <= high;
}

bool number32(std::string_view& rest, int32_t low, int32_t high, int32_t* value) {
    int64_t wide = 0;
    if (!number(next_word(rest), low, high, &wide)) return false;
    *value = static_cast<int32_t>(wide);
    return true;
}

bool parse_line(std::string_view line, ScriptedEvent* event) {
    std::string_view rest = line;
    if (!number(next_word(rest), 1, kLastFrame, &event->frame)) return false;
    const std::string_view what = next_word(rest);
    if (what == "text") {
        if (!rest.empty()) rest.remove_prefix(1);  // the one separating blank
        if (rest.empty()) return false;
        event->kind = ScriptedKind::kText;
        event->text = std::string(rest);
        return true;
    }
    bool understood = true;
    if (what == "key-down" || what == "key-up") {
        event->kind = what == "key-down" ? ScriptedKind::kKeyDown : ScriptedKind::kKeyUp;
        understood = number32(rest, 0, 255, &event->a);
    } else if (what == "mouse-move") {
        event->kind = ScriptedKind::kMouseMove;
        understood = number32(rest, -kCoordinateLimit, kCoordinateLimit, &event->a) &&
                     number32(rest, -kCoordinateLimit, kCoordinateLimit, &event->b);
    } else if (what == "mouse-button") {
        event->kind = ScriptedKind::kMouseButton;
        int32_t button = 0;
        understood = number32(rest, 1, 3, &button);
        const std::string_view state = next_word(rest);
        event->a = button - 1;
        event->down = state == "down";
        understood = understood && (state == "down" || state == "up");
    } else if (what == "wheel") {
        event->kind = ScriptedKind::kWheel;
        understood = number32(rest, -kNotchLimit, kNotchLimit, &event->a);
    } else if (what == "focus-lost") {
        event->kind = ScriptedKind::kFocusLost;
    } else if (what == "focus-gained") {
        event->kind = ScriptedKind::kFocusGained;
    } else if (what == "close") {
        event->kind = ScriptedKind::kClose;
    } else {
        return false;
    }
    return understood && trimmed(rest).empty();
}

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

InputScript parse_input_script(std::string_view text) {
    InputScript script;
    int32_t line_number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++line_number;
        const std::string_view content = trimmed(line);
        if (content.empty() || content.front() == '#') continue;
        ScriptedEvent event;
        if (parse_line(line, &event)) {
            script.events.push_back(std::move(event));
        } else {
            script.bad_lines.push_back(line_number);
        }
    }
    std::stable_sort(
        script.events.begin(), script.events.end(),
        [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
    return script;
}

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
