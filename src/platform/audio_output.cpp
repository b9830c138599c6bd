#include "platform/audio_output.h"

#include <cstdlib>
#include <cstring>

namespace vexel::platform {

bool null_audio_requested() {
    const char* value = std::getenv("VEXEL_AUDIO");
    return value && std::strcmp(value, "null") == 0;
}

}  // namespace vexel::platform
