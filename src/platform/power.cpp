#include "platform/power.h"

#include <SDL_power.h>

namespace vexel {

int32_t battery_percent() {
    int percent = -1;
    SDL_GetPowerInfo(nullptr, &percent);
    if (percent < 0) return -1;
    return percent > 100 ? 100 : percent;
}

}  // namespace vexel
