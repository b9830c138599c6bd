// Internal: the 162 unit vectors that a one-byte normal index of a mesh file stands for. The
// definition is generated at build time from mesh/data/md2_normal_table.txt.
#pragma once

#include <cstdint>

namespace vexel {

inline constexpr uint32_t kNormalTableSize = 162;

extern const float kNormalTable[kNormalTableSize][3];

}  // namespace vexel
