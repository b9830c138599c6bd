// Test helpers for drawing objects head-less: meshes built through the object commands, and a
// 3D frame looking down -z from (0, 0, 10) at the origin on a black window.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>

#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "gfx2d/gl_test_support.h"
#include "gfx2d/sprite_operations.h"
#include "platform/opengl_duderedi.h"

namespace vexel::testing {

struct Rect {
    float x0 = -1;
    float y0 = -1;
    float x1 = 1;
    float y1 = 1;
};

// Two triangles facing +z in the engine's winding (clockwise seen from the front), texture
// coordinates 0..1 across the rectangle, into the frame being built.
inline void add_quad(const Rect& r, float z, int32_t colour) {
    object_add_vertex(0, 0, 0, 0, 0, -1);  // independent triangles follow
    object_add_vertex(r.x0, r.y0, z, 0, 0, colour);
    object_add_vertex(r.x0, r.y1, z, 0, 1, colour);
    object_add_vertex(r.x1, r.y0, z, 1, 0, colour);
    object_add_vertex(r.x1, r.y0, z, 1, 0, colour);
    object_add_vertex(r.x0, r.y1, z, 0, 1, colour);
    object_add_vertex(r.x1, r.y1, z, 1, 1, colour);
}

inline void build_quad(int32_t slot, const Rect& r, float z, int32_t colour) {
    object_start(slot);
    add_quad(r, z, colour);
    object_end();
}

// Window pixels per world unit at distance d with the 45 degree field of view on 480 rows.
inline float pixels_per_unit(float distance) {
    return 240.0f / (0.41421356f * distance);
}

// The window column of world x at z = 0 seen from the default test camera.
inline int32_t column_of(float x) {
    return static_cast<int32_t>(320.0f + x * pixels_per_unit(10));
}
inline int32_t row_of(float y) {
    return static_cast<int32_t>(240.0f + y * pixels_per_unit(10));
}

inline int32_t red_of(int32_t colour) {
    return colour & 0xFF;
}
inline int32_t green_of(int32_t colour) {
    return (colour >> 8) & 0xFF;
}
inline int32_t blue_of(int32_t colour) {
    return (colour >> 16) & 0xFF;
}

// A picture of w x h whose left half is one colour and right half another (0xBBGGRR).
inline ImageBuffer halves_picture(int32_t w, int32_t h, int32_t left, int32_t right) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const int32_t c = x < w / 2 ? left : right;
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(red_of(c));
            p[1] = static_cast<uint8_t>(green_of(c));
            p[2] = static_cast<uint8_t>(blue_of(c));
            p[3] = 255;
        }
    }
    return picture;
}

class RenderTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        platform::opengl_duderedi()->smoothing = false;
        begin_3d(1, 1000, 45);
        set_camera(0, 0, 10, 0, 0, 0);
        glClearColor(0, 0, 0, 1);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }
    void TearDown() override { free_all_sprites(); }

    LeakCheckPause pause_;  // from after start-up; every draw builds driver code
};

}  // namespace vexel::testing
