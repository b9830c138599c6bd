#include "engine3d/collision_last_hit.h"

namespace vexel::engine3d {

namespace {

int32_t g_last_hit_record = -1;

}  // namespace

void set_last_hit_record(int32_t record) {
    g_last_hit_record = record;
}

int32_t last_hit_record() {
    return g_last_hit_record;
}

}  // namespace vexel::engine3d
