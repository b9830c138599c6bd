// The input script of VEXEL_INPUT_SCRIPT. The engine reads that file by its system path, not
// through the file layer, so the bytes go straight to the parser.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "input/input_script.h"
#include "support/fuzz_harness.h"

namespace {

using vexel::ScriptedEvent;
using vexel::ScriptedKind;
using vexel::fuzz::check;

bool in_range(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

bool plausible(const ScriptedEvent& event) {
    switch (event.kind) {
        case ScriptedKind::kKeyDown:
        case ScriptedKind::kKeyUp:
            return in_range(event.a, 0, 255);
        case ScriptedKind::kMouseButton:
            return in_range(event.a, 0, 2);
        case ScriptedKind::kWheel:
            return in_range(event.a, -1000, 1000);
        case ScriptedKind::kText:
            return !event.text.empty();
        default:
            return true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vexel::InputScript script = vexel::parse_input_script(text);
    const auto lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    check(script.events.size() + script.bad_lines.size() <= lines, "more events than lines");
    check(std::is_sorted(
              script.events.begin(), script.events.end(),
              [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; }),
          "events out of frame order");
    check(std::is_sorted(script.bad_lines.begin(), script.bad_lines.end()), "bad lines unordered");
    for (const ScriptedEvent& event : script.events) {
        check(event.frame >= 1 && event.frame <= INT32_MAX, "an event before the first frame");
        check(plausible(event), "an event outside its range");
    }
    for (int32_t line : script.bad_lines)
        check(line >= 1 && static_cast<size_t>(line) <= lines, "a bad line that is not a line");
    return 0;
}
