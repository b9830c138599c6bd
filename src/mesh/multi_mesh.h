// Internal: multi-mesh descriptions, text files that start with ";VXW" and list image files
// (section "textures") and binary mesh files (section "objects") that make up one object slot.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

#include "mesh/object_slot.h"

namespace vexel {

inline constexpr char kMultiMeshTag[] = ";VXW";
// Counts in a description are held to this many textures and meshes.
inline constexpr int32_t kMaxMultiMeshEntries = 4096;

// Fills the (reset) slot from the description: flags used and multi_mesh first, then textures
// through the texture hook and meshes through read_mesh_file, each mesh prepared and bounded.
// File names are relative to the folder of `name` (the name as the script gave it); `resolved`
// is what the file layer made of it. A texture or mesh that fails stays empty. Always 1.
int32_t load_multi_mesh(ObjectSlot& slot, const char* name, const char* resolved);

// The folder part of a name, up to and including its last '/' or '\'; empty for a name
// without one and for "mem://" names, which have no folder.
DynString folder_of(const char* name);

}  // namespace vexel
