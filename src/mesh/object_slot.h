// Internal: one entry of the 3D object table and what a mesh file does to it. The 3D state owns
// the table; these operations are the slot-level part of loading, saving and scaling objects.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/mesh_object.h"

namespace vexel {

struct ObjectSlot {
    uint8_t used = 0;        // a mesh was completed or loaded into the slot
    uint8_t multi_mesh = 0;  // several meshes with their own textures (a ";VXW" description)
    std::vector<MeshObjectX> meshes;
    std::vector<uint32_t> textures;  // GL texture names owned by the slot, 0 for none

    // Frees every mesh with its GL objects, deletes the textures, clears both flags.
    void reset();
};

// Resets the slot and loads the file, found through the file layer (disk, "mem://" or the
// archive): a ";VXW" description gives a multi-mesh slot and always succeeds; any other file is
// one mesh, prepared and bounded, and fails (slot reset, 0) when it cannot be read or its first
// frame holds no record. 1 on success.
int32_t load_object_slot(ObjectSlot& slot, const char* name);

// Writes the slot's first mesh as a version 2.0 file (see write_mesh_file); 1 written, 0 and last
// error 3 when nothing was written (no mesh, no frame, a "mem://" name, or the file could not be
// written).
int32_t save_object_slot(const ObjectSlot& slot, const char* name);

// Scales every mesh of the slot (see scale_mesh) and recomputes the bounding spheres.
void scale_object_slot(ObjectSlot& slot, float x, float y, float z);

}  // namespace vexel
