// Typed text: while it is on, the system turns key presses (and input methods) into text events.
// Internal to the engine; the SDL2 implementation is text_input_sdl.cpp.
#pragma once

namespace vexel::platform {

void text_input_start();
void text_input_stop();

}  // namespace vexel::platform
