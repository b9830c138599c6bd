#include <SDL.h>

#include <cstring>

#include "platform/event_injection.h"
#include "platform/events.h"
#include "platform/keyboard.h"

namespace vexel::platform {

namespace {

int32_t control_character(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
            return 13;
        case SDL_SCANCODE_BACKSPACE:
            return 8;
        case SDL_SCANCODE_TAB:
            return 9;
        case SDL_SCANCODE_ESCAPE:
            return 27;
        default:
            return 0;
    }
}

// UTF-8 from the system to the engine's 8-bit text: code points above 255 have no byte and
// are dropped, as are malformed sequences.
void to_8bit(const char* utf8, char* out, size_t size) {
    size_t n = 0;
    const auto* in = reinterpret_cast<const unsigned char*>(utf8);
    while (*in && n + 1 < size) {
        uint32_t code = 0;
        int extra = 0;
        if (*in < 0x80) {
            code = *in;
        } else if ((*in & 0xE0) == 0xC0) {
            code = *in & 0x1F;
            extra = 1;
        } else if ((*in & 0xF0) == 0xE0) {
            code = *in & 0x0F;
            extra = 2;
        } else if ((*in & 0xF8) == 0xF0) {
            code = *in & 0x07;
            extra = 3;
        } else {
            ++in;
            continue;
        }
        ++in;
        bool valid = true;
        for (int i = 0; i < extra; ++i, ++in) {
            if ((*in & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (*in & 0x3F);
        }
        if (valid && code > 0 && code < 256) out[n++] = static_cast<char>(code);
    }
    out[n] = 0;
}

// The engine numbers buttons as its state bytes do: 0 left, 1 right, 2 middle; -1 for others.
int32_t engine_button(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return -1;
    }
}

Uint8 native_button(int32_t button) {
    switch (button) {
        case 0:
            return SDL_BUTTON_LEFT;
        case 1:
            return SDL_BUTTON_RIGHT;
        case 2:
            return SDL_BUTTON_MIDDLE;
        default:
            return 0;
    }
}

Event translate(const SDL_Event& sdl) {
    Event event;
    switch (sdl.type) {
        case SDL_WINDOWEVENT:
            event.window_id = sdl.window.windowID;
            if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                event.kind = EventKind::kFocusGained;
            } else if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                event.kind = EventKind::kFocusLost;
            } else if (sdl.window.event == SDL_WINDOWEVENT_CLOSE) {
                event.kind = EventKind::kCloseRequest;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.window_id = sdl.key.windowID;
            event.kind = sdl.type == SDL_KEYDOWN ? EventKind::kKeyDown : EventKind::kKeyUp;
            event.scan_code = scan_code_from_native(sdl.key.keysym.scancode);
            if (sdl.type == SDL_KEYDOWN)
                event.character = control_character(sdl.key.keysym.scancode);
            break;
        case SDL_TEXTINPUT:
            event.window_id = sdl.text.windowID;
            event.kind = EventKind::kText;
            to_8bit(sdl.text.text, event.text, sizeof event.text);
            break;
        case SDL_MOUSEMOTION:
            event.window_id = sdl.motion.windowID;
            event.kind = EventKind::kMouseMove;
            event.x = sdl.motion.x;
            event.y = sdl.motion.y;
            event.dx = sdl.motion.xrel;
            event.dy = sdl.motion.yrel;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.window_id = sdl.button.windowID;
            event.button = engine_button(sdl.button.button);
            if (event.button >= 0) {
                event.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? EventKind::kMouseButtonDown
                                                             : EventKind::kMouseButtonUp;
            }
            break;
        case SDL_MOUSEWHEEL:
            event.window_id = sdl.wheel.windowID;
            event.kind = EventKind::kMouseWheel;
            event.dy = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
            break;
        default:
            break;
    }
    return event;
}

bool next_event(Event* event, SDL_eventaction action) {
    SDL_Event sdl;
    if (SDL_PeepEvents(&sdl, 1, action, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) return false;
    *event = translate(sdl);
    return true;
}

void push_window_event(uint32_t window_id, Uint8 what) {
    SDL_Event sdl{};
    sdl.type = SDL_WINDOWEVENT;
    sdl.window.windowID = window_id;
    sdl.window.event = what;
    sdl.window.timestamp = SDL_GetTicks();
    SDL_PushEvent(&sdl);
}

// Runs for every event as it enters the queue, on the thread that posts it.
int SDLCALL follow_device(void*, SDL_Event* sdl) {
    if (sdl->type == SDL_KEYDOWN || sdl->type == SDL_KEYUP) {
        const int32_t scan_code = scan_code_from_native(sdl->key.keysym.scancode);
        if (scan_code != 0) keyboard_set_key(scan_code, sdl->type == SDL_KEYDOWN);
    } else if (sdl->type == SDL_WINDOWEVENT) {
        if (sdl->window.event == SDL_WINDOWEVENT_FOCUS_GAINED) keyboard_set_focus(true);
        if (sdl->window.event == SDL_WINDOWEVENT_FOCUS_LOST) keyboard_set_focus(false);
    }
    return 0;
}

}  // namespace

void events_start() {
    SDL_DelEventWatch(follow_device, nullptr);
    SDL_AddEventWatch(follow_device, nullptr);
}

void events_stop() {
    SDL_DelEventWatch(follow_device, nullptr);
}

void events_collect() {
    SDL_PumpEvents();
}

bool event_peek(Event* event) {
    return next_event(event, SDL_PEEKEVENT);
}

bool event_take(Event* event) {
    return next_event(event, SDL_GETEVENT);
}

void inject_focus_lost(uint32_t window_id) {
    push_window_event(window_id, SDL_WINDOWEVENT_FOCUS_LOST);
}

void inject_focus_gained(uint32_t window_id) {
    push_window_event(window_id, SDL_WINDOWEVENT_FOCUS_GAINED);
}

void inject_close_request(uint32_t window_id) {
    push_window_event(window_id, SDL_WINDOWEVENT_CLOSE);
}

void inject_key(uint32_t window_id, int32_t scan_code, bool down) {
    const int32_t native = native_from_scan_code(scan_code & 0xFF);
    if (native == 0) {
        keyboard_set_key(scan_code, down);
        return;
    }
    SDL_Event sdl{};
    sdl.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    sdl.key.windowID = window_id;
    sdl.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    sdl.key.keysym.scancode = static_cast<SDL_Scancode>(native);
    sdl.key.keysym.sym = SDL_GetKeyFromScancode(sdl.key.keysym.scancode);
    sdl.key.timestamp = SDL_GetTicks();
    SDL_PushEvent(&sdl);
}

void inject_text(uint32_t window_id, const char* text) {
    SDL_Event sdl{};
    sdl.type = SDL_TEXTINPUT;
    sdl.text.windowID = window_id;
    sdl.text.timestamp = SDL_GetTicks();
    // 8-bit engine text travels as UTF-8, as the system would deliver it.
    size_t n = 0;
    for (const auto* in = reinterpret_cast<const unsigned char*>(text ? text : "");
         *in && n + 2 < sizeof sdl.text.text; ++in) {
        if (*in < 0x80) {
            sdl.text.text[n++] = static_cast<char>(*in);
        } else {
            sdl.text.text[n++] = static_cast<char>(0xC0 | (*in >> 6));
            sdl.text.text[n++] = static_cast<char>(0x80 | (*in & 0x3F));
        }
    }
    SDL_PushEvent(&sdl);
}

void inject_mouse_move(uint32_t window_id, int32_t x, int32_t y, int32_t dx, int32_t dy) {
    SDL_Event sdl{};
    sdl.type = SDL_MOUSEMOTION;
    sdl.motion.windowID = window_id;
    sdl.motion.timestamp = SDL_GetTicks();
    sdl.motion.x = x;
    sdl.motion.y = y;
    sdl.motion.xrel = dx;
    sdl.motion.yrel = dy;
    SDL_PushEvent(&sdl);
}

void inject_mouse_button(uint32_t window_id, int32_t button, bool down) {
    const Uint8 native = native_button(button);
    if (native == 0) return;
    SDL_Event sdl{};
    sdl.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    sdl.button.windowID = window_id;
    sdl.button.timestamp = SDL_GetTicks();
    sdl.button.button = native;
    sdl.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    sdl.button.clicks = 1;
    SDL_PushEvent(&sdl);
}

void inject_wheel(uint32_t window_id, int32_t notches) {
    SDL_Event sdl{};
    sdl.type = SDL_MOUSEWHEEL;
    sdl.wheel.windowID = window_id;
    sdl.wheel.timestamp = SDL_GetTicks();
    sdl.wheel.y = notches;
    sdl.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&sdl);
}

}  // namespace vexel::platform
