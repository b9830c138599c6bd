// Internal: the record index of the triangle found by the latest sphere, box or ray command (a
// multiple of 3), -1 when it found none or hit through the quick acceptance. One value for the
// process, main thread only.
#pragma once

#include <cstdint>

namespace vexel::engine3d {

void set_last_hit_record(int32_t record);
int32_t last_hit_record();

}  // namespace vexel::engine3d
