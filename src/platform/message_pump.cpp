#include "platform/message_pump.h"

#include <vexel/error.h>

#include "platform/mouse.h"
#include "platform/opengl_duderedi.h"
#include "platform/quit_signals.h"
#include "platform/render_hooks.h"

namespace vexel::platform {

namespace {

void type_character(int32_t character) {
    if (render_hooks().char_typed) render_hooks().char_typed(character);
}

// The keyboard device has followed the focus since the event arrived (events.h).
void change_focus(bool gained) {
    if (project_settings().debug_mode) return;
    if (OpenGLDuderedi* gl = opengl_duderedi()) gl->show_pause_caption(!gained);
    set_paused(gained ? 0 : 1);
}

}  // namespace

void handle_window_event(const Event& event) {
    switch (event.kind) {
        case EventKind::kFocusLost:
            change_focus(false);
            break;
        case EventKind::kFocusGained:
            change_focus(true);
            break;
        case EventKind::kCloseRequest:
            end_program();
            break;
        case EventKind::kKeyDown:
            if (event.character != 0) type_character(event.character);
            break;
        case EventKind::kKeyUp:
            break;
        case EventKind::kText:
            for (const char* c = event.text; *c; ++c)
                type_character(static_cast<unsigned char>(*c));
            break;
        case EventKind::kMouseMove: {
            int32_t x = event.x;
            int32_t y = event.y;
            int32_t dx = event.dx;
            int32_t dy = event.dy;
            if (OpenGLDuderedi* gl = opengl_duderedi()) {
                gl->letterbox.position_to_game(gl->window, &x, &y);
                gl->letterbox.motion_to_game(gl->window, &dx, &dy);
            }
            mouse_moved(x, y, dx, dy);
            break;
        }
        case EventKind::kMouseButtonDown:
        case EventKind::kMouseButtonUp:
            mouse_button_changed(event.button, event.kind == EventKind::kMouseButtonDown);
            break;
        case EventKind::kMouseWheel:
            mouse_wheel_turned(event.dy);
            break;
        case EventKind::kOther:
            break;
    }
}

int32_t pump_messages(ScriptFunction hook) {
    if (quit_signal_pending()) end_program();
    OpenGLDuderedi* gl = opengl_duderedi();
    if (!gl || !gl->window) return 1;
    const uint32_t engine_window = window_id(gl->window);
    events_collect();
    Event event;
    while (hook ? event_peek(&event) : event_take(&event)) {
        if (hook) {
            hook();
            if (!event_take(&event)) break;
        }
        // Events of windows the engine has already replaced are dropped unhandled.
        if (event.window_id == engine_window) handle_window_event(event);
        gl = opengl_duderedi();
        if (!gl || !gl->window) break;
    }
    return 1;
}

}  // namespace vexel::platform
