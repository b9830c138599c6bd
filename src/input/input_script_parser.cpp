#include "input/input_script.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "platform/environment_text.h"

namespace vexel {

namespace {

constexpr int64_t kLastFrame = INT32_MAX;
constexpr int32_t kCoordinateLimit = 1 << 20;
constexpr int32_t kNotchLimit = 1000;

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
    return understood && platform::trim_blanks(rest).empty();
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
        const std::string_view content = platform::trim_blanks(line);
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

}  // namespace vexel
