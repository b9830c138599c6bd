#include "engine3d/collision_objects.h"

namespace vexel::engine3d {

namespace {

const std::vector<ObjectSlot>* g_objects = nullptr;

}  // namespace

void set_collision_objects(const std::vector<ObjectSlot>* objects) {
    g_objects = objects;
}

const ObjectSlot* collision_object(int32_t num) {
    if (!g_objects || num < 0 || static_cast<size_t>(num) >= g_objects->size()) return nullptr;
    return &(*g_objects)[static_cast<size_t>(num)];
}

}  // namespace vexel::engine3d
