// Internal: what the mesh layer needs from the graphics layers without including OpenGL. The 2D/3D
// layer installs these at start-up; until then textures load as "no texture" and there is nothing
// to release.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include <vexel/dyn_string.h>

#include "mesh/mesh_object.h"

namespace vexel {

struct MeshGraphicsHooks {
    // Loads an image file as a texture of a multi-mesh slot: the GL texture name, or 0 with
    // *reason (never null) saying why in the words of the error log ("damaged", ...).
    std::function<uint32_t(const DynString& path, std::string_view* reason)> load_texture_or_reason;
    // The same for a loader that cannot tell why; used when the one above is not installed.
    std::function<uint32_t(const DynString& path)> load_texture;
    // Deletes a slot's GL textures (names of 0 are skipped by OpenGL itself).
    std::function<void(const std::vector<uint32_t>& textures)> delete_textures;
    // Deletes a mesh's buffer objects and ramp texture; the names are zeroed afterwards.
    std::function<void(MeshGpuResources& resources)> release_gpu;
};

// Installs the hooks; an empty function falls back to the default behaviour.
void set_mesh_graphics_hooks(MeshGraphicsHooks hooks);
// Loads a texture through the installed hook; 0 without one. On failure *reason says why, or
// that the file is no picture when the hook cannot tell.
uint32_t load_mesh_texture(const DynString& path, std::string_view* reason);
void delete_slot_textures(const std::vector<uint32_t>& textures);
void release_mesh_gpu(MeshGpuResources& resources);

}  // namespace vexel
