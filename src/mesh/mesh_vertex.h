// Internal: the 92-byte vertex record shared by the mesh builder, the loaders and the renderer.
// Its layout is the vertex-array layout the renderer hands to OpenGL (stride 92), so the field
// offsets are fixed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexel {

struct Vec3f {
    float x = 0;
    float y = 0;
    float z = 0;
};

// Colour values -1, -2 and -3 make a record a marker that switches how the following records
// are joined into triangles; -4 is an ordinary white vertex.
inline constexpr int32_t kMarkerTriangles = -1;
inline constexpr int32_t kMarkerStrip = -2;
inline constexpr int32_t kMarkerFan = -3;
inline constexpr int32_t kWhiteVertex = -4;

inline bool is_marker(int32_t colour) {
    return colour >= kMarkerFan && colour <= kMarkerTriangles;
}

// A colour value 0xBBGGRR as red, green and blue 0..1, with the alpha given.
inline std::array<float, 4> colour_floats(int32_t colour, float alpha = 1) {
    const auto bits = static_cast<uint32_t>(colour);
    return {static_cast<float>(bits & 0xFF) / 255.0f,
            static_cast<float>((bits >> 8) & 0xFF) / 255.0f,
            static_cast<float>((bits >> 16) & 0xFF) / 255.0f, alpha};
}

struct MeshVertex {
    Vec3f position;
    Vec3f normal;
    float u = 0;
    float v = 0;  // stored negated: the builder and the older files hold +v
    Vec3f reserved;
    Vec3f tangent;
    Vec3f bitangent;
    int32_t colour = 0;  // 0xBBGGRR, or a marker value
    uint8_t palette_index = 0;
    uint8_t padding[3] = {0, 0, 0};
    float red = 1;
    float green = 1;
    float blue = 1;
    float alpha = 1;

    // Sets the colour integer and the colour floats that follow from it: -4 ... -1 give white,
    // anything else its three bytes / 255 with alpha 1.
    void set_colour(int32_t value);
};

static_assert(sizeof(MeshVertex) == 92);
static_assert(offsetof(MeshVertex, normal) == 12);
static_assert(offsetof(MeshVertex, u) == 24);
static_assert(offsetof(MeshVertex, v) == 28);
static_assert(offsetof(MeshVertex, reserved) == 32);
static_assert(offsetof(MeshVertex, tangent) == 44);
static_assert(offsetof(MeshVertex, bitangent) == 56);
static_assert(offsetof(MeshVertex, colour) == 68);
static_assert(offsetof(MeshVertex, palette_index) == 72);
static_assert(offsetof(MeshVertex, red) == 76);

// A marker record: all zero but for its colour value and white colour floats.
MeshVertex make_marker(int32_t marker);

}  // namespace vexel
