// Turning an imported scene into meshes of the engine: every mesh placed by the scene's nodes,
// in the engine's axes, winding and vertex records, one frame or a sampled animation.
#pragma once

#include <assimp/scene.h>

#include <cstdint>
#include <string>

#include "command_line.h"
#include "model.h"
#include "progress_line.h"

namespace vxmconv {

struct BuildSettings {
    float scale = 1;
    UpAxis up = UpAxis::kZ;
    bool flip_winding = false;
    int frames = 0;              // 0: the scene as it stands
    bool part_per_mesh = false;  // one part per placed mesh instead of one for the whole scene
    std::string model_path;      // textures named by the model are found beside it
};

// Triangles of every mesh the scene's nodes place (a mesh placed twice counts twice).
uint64_t count_placed_triangles(const aiScene& scene);

// Throws ConversionError for a scene that places no triangles, for frames asked of a scene
// without animation, and for more vertices than a mesh file can hold.
Model build_model(const aiScene& scene, const BuildSettings& settings, ProgressLine& progress);

}  // namespace vxmconv
