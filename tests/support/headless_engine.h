#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <vexel/app.h>

#include "support/temp_dir.h"

namespace vexel::testing {

// In sanitizer builds, allocations of this thread between the two calls are not reported as
// leaks: the GL driver keeps what it allocates while loading for the life of the process.
void suspend_leak_checks();
void resume_leak_checks();

// Keeps allocations out of leak reports from its construction to its destruction. The GL driver
// keeps the code it builds for every new combination of drawing state (and for releasing it at
// shutdown) for the life of the process; memory errors are still reported.
struct LeakCheckPause {
    LeakCheckPause() { suspend_leak_checks(); }
    ~LeakCheckPause() { resume_leak_checks(); }
    LeakCheckPause(const LeakCheckPause&) = delete;
    LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};

// set_screen(640, 480, 1) on the head-less display, which cannot switch to that size: the game's
// picture is shown scaled, through framebuffers whose driver state stays out of leak reports.
void full_screen_640x480();

// init_engine with SDL's offscreen video driver and, unless VEXEL_AUDIO is set already, silent
// sound (VEXEL_AUDIO=null), for tests that end the program themselves.
void init_engine_headless(int32_t show_command, const char* caption);

// Starts the engine head-less in the test's own process: a fresh TMPDIR (so the error log is
// the test's own), SDL's offscreen video driver, the given callbacks and init_engine with the
// project settings as they are (adjust project_settings() before constructing). Shuts the engine
// down when it goes out of scope. before_start runs once the temporary folder exists.
class HeadlessEngine {
public:
    explicit HeadlessEngine(const CallbackEntry* callbacks = nullptr, int32_t show_command = 1,
                            const std::function<void(const ScopedTempDir&)>& before_start = {});
    ~HeadlessEngine();
    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    bool has_window() const;     // start-up made the window and its context
    uint32_t window_id() const;  // the engine window's id, for injected events
    std::string log() const;     // the error log as it is now
    const ScopedTempDir& temp() const { return temp_; }

private:
    ScopedTempDir temp_;
};

// Draws what the engine's 2D layer holds back, as the engine does before it reads pixels: for
// tests that read the framebuffer or draw with plain GL between engine commands.
void draw_held_2d();

// The whole-window colour at (x, y) counted from the bottom-left, read from the back buffer,
// as R + G*256 + B*65536.
int32_t read_pixel(int32_t x, int32_t y);

}  // namespace vexel::testing
