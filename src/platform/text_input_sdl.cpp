#include <SDL.h>

#include "platform/text_input.h"

namespace vexel::platform {

void text_input_start() {
    SDL_StartTextInput();
}

void text_input_stop() {
    SDL_StopTextInput();
}

}  // namespace vexel::platform
