// Internal: the object table the collision commands search. The 3D state hands over its table
// when it is made and takes it back (null) before it goes; with no table every object number is
// outside it.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/object_slot.h"

namespace vexel::engine3d {

void set_collision_objects(const std::vector<ObjectSlot>* objects);
// The slot of that number, or null when the number is outside the table.
const ObjectSlot* collision_object(int32_t num);

}  // namespace vexel::engine3d
