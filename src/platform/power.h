// Platform layer: the machine's power status.
#pragma once

#include <cstdint>

namespace vexel {

// Battery charge in percent (0 to 100), or -1 when the platform does not know it.
int32_t battery_percent();

}  // namespace vexel
