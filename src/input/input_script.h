// Internal: the input script of VEXEL_INPUT_SCRIPT, events queued at given frames so that a game
// runs without a person. One event a line: the frame (the n-th present, from 1), then
//   key-down CODE | key-up CODE          scan code 0-255
//   text CHARACTERS                      the rest of the line, 8-bit
//   mouse-move X Y                       pointer position in the game's pixels
//   mouse-button 1|2|3 down|up           left, right, middle
//   wheel NOTCHES                        positive away from the user
//   focus-lost | focus-gained | close
// Blank lines and lines starting with "#" are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/orientation.h"

namespace vexel {

enum class ScriptedKind {
    kKeyDown,
    kKeyUp,
    kText,
    kMouseMove,
    kMouseButton,
    kWheel,
    kFocusLost,
    kFocusGained,
    kClose,
};

struct ScriptedEvent {
    int64_t frame = 0;
    ScriptedKind kind = ScriptedKind::kKeyDown;
    int32_t a = 0;  // scan code, x, button (0 left, 1 right, 2 middle) or notches
    int32_t b = 0;  // y
    bool down = false;
    std::string text;
};

struct InputScript {
    std::vector<ScriptedEvent> events;  // in frame order; lines of one frame in file order
    std::vector<int32_t> bad_lines;     // 1-based numbers of lines that were not understood
};

InputScript parse_input_script(std::string_view text);

// Plays a script: each present, the events of its frame go into the event queue.
class InputScriptPlayer {
public:
    // pointer: where the pointer is, for the motion of the first mouse-move.
    void load(InputScript script, Point pointer);
    // Counts one present and queues the events of that frame for the window.
    void play_frame(uint32_t window_id);
    bool finished() const { return next_ >= events_.size(); }

private:
    std::vector<ScriptedEvent> events_;
    size_t next_ = 0;
    int64_t frame_ = 0;
    Point pointer_;
};

// The script named by VEXEL_INPUT_SCRIPT, when set, with a line in the error log for a file
// that cannot be read and for each of the first five lines not understood, then one line that
// counts the others. Empty when unset.
InputScript load_environment_input_script();

}  // namespace vexel
