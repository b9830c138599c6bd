#include "mesh/mesh_hooks.h"

#include <utility>

namespace vexel {

namespace {

MeshGraphicsHooks& hooks() {
    static MeshGraphicsHooks installed;
    return installed;
}

}  // namespace

void set_mesh_graphics_hooks(MeshGraphicsHooks hooks_to_install) {
    hooks() = std::move(hooks_to_install);
}

uint32_t load_mesh_texture(const DynString& path, std::string_view* reason) {
    const MeshGraphicsHooks& installed = hooks();
    if (installed.load_texture_or_reason) return installed.load_texture_or_reason(path, reason);
    *reason = "not a BMP, PNG or JPEG picture";
    return installed.load_texture ? installed.load_texture(path) : 0;
}

void delete_slot_textures(const std::vector<uint32_t>& textures) {
    const auto& remove = hooks().delete_textures;
    if (remove && !textures.empty()) remove(textures);
}

void release_mesh_gpu(MeshGpuResources& resources) {
    const auto& release = hooks().release_gpu;
    if (release && resources.holds_any()) release(resources);
    resources = MeshGpuResources{};
}

}  // namespace vexel
