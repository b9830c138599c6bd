// Internal: Duderedi3D, the one 3D state object: object table, camera, projection, transform
// stack, lights and light effects. Created by init_engine beside OpenGLDuderedi and deleted by
// shutdown_engine; every 3D command reaches it through duderedi_3d().
#pragma once

#include <cstdint>
#include <vector>

#include "engine3d/matrix4.h"
#include "mesh/object_slot.h"

namespace vexel::platform {
class OpenGLDuderedi;
}

namespace vexel::engine3d {

inline constexpr int32_t kObjectCount = 4096;
inline constexpr int32_t kTransformLevels = 16;
inline constexpr int32_t kLevelEntries = 16;  // rotations and user matrices per level

inline constexpr float kDefaultUp[3] = {0, 1, 0};

inline constexpr uint8_t kEffectBumpMapping = 1;
inline constexpr uint8_t kEffectCelShading = 2;
inline constexpr uint8_t kEffectStencilShadows = 3;

struct Rotation {
    float degrees = 0;
    float x = 0;
    float y = 0;
    float z = 0;
};

// One level of the transform stack. matrix holds the parent's matrix after any reset and the
// level's own result once rebuilt.
struct TransformFrame {
    int32_t matrix_count = 0;
    int32_t rotation_count = 0;
    Rotation rotations[kLevelEntries];
    float scale[3] = {1, 1, 1};
    float translation[3] = {0, 0, 0};
    Matrix4 user_matrices[kLevelEntries];
    Matrix4 matrix = identity_matrix();
    int32_t matrix_valid = 0;
};

struct TransformStack {
    TransformFrame levels[kTransformLevels];
    int32_t depth = 0;
};

class Duderedi3D {
public:
    explicit Duderedi3D(platform::OpenGLDuderedi* context);
    virtual ~Duderedi3D();
    Duderedi3D(const Duderedi3D&) = delete;
    Duderedi3D& operator=(const Duderedi3D&) = delete;

    // The slot, or null for a number outside the table.
    ObjectSlot* object(int32_t number);

    std::vector<ObjectSlot> objects;
    int32_t build_frame = 0;
    float frustum_planes[6][4] = {};
    uint8_t shadow_pass = 0;
    int8_t cull_mode = 0;
    TransformStack transform_stack;
    Matrix4 projection_matrix = identity_matrix();
    Matrix4 view_matrix = identity_matrix();
    float texture_offset_u = 0;
    float texture_offset_v = 0;
    uint8_t lights_mask = 0;
    uint8_t sphere_mapping = 0;
    platform::OpenGLDuderedi* gl_context = nullptr;
    uint8_t effect_enabled = 0;
    uint8_t effect_mode = 0;
    float effect_light[3] = {0, 0, 0};
    int32_t shadow_colour = 0;
    float camera_up[3] = {0, 1, 0};
    float camera_eye[3] = {0, 0, 0};
    float camera_target[3] = {0, 0, -1};
    float view_cone_tangent = 0;
    float near_plane = 1;
    float far_plane = 1000;
    int32_t auto_normals = 2;
    // The cel-shading ramp: one intensity 0..255 per band, drawn by the render pipeline; empty
    // until set, and then given the default bands by the first ramp texture made.
    std::vector<uint8_t> cel_levels;
};

// The state beside the object: the textures of set_textures, the binding variant, the cull mode
// that temporarily forced modes go back to, and the slot being built.
struct SceneGlobals {
    int32_t texture_1 = -1;
    int32_t texture_2 = -1;
    int32_t texture_mipmapping = 0;
    int32_t remembered_cull_mode = 0;
    int32_t building_slot = -1;
};

// The engine's instance, or null before start-up and after shutdown.
Duderedi3D* duderedi_3d();
// The instance's slot of that number; null without an instance or outside the table.
ObjectSlot* object_slot(int32_t num);
// Makes the instance bound to the window object (the one already there is replaced).
Duderedi3D& create_duderedi_3d(platform::OpenGLDuderedi* context);
void delete_duderedi_3d();
SceneGlobals& scene_globals();

}  // namespace vexel::engine3d
