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

}  // namespace

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

}  // namespace vexel::platform
