#include <gtest/gtest.h>

#include <vector>

#include <vexel/scene3d.h>

#include "engine3d/buffer_objects.h"
#include "engine3d/render_test_support.h"

namespace vexel {
namespace {

using testing::column_of;
using testing::read_pixel;
using testing::Rect;
using testing::row_of;
using testing::scene;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;

class DrawSlotTest : public testing::RenderTest {
protected:
    // Frames 0..4: a unit quad whose left edge lies at x = frame - 3, red but for a blue frame 4.
    void build_walking_quad(int32_t slot) {
        object_start(slot);
        for (int32_t frame = 0; frame < 5; ++frame) {
            object_set_frame(frame);
            const float left = static_cast<float>(frame - 3);
            testing::add_quad(Rect{left, -0.5f, left + 1, 0.5f}, 0, frame == 4 ? kBlue : kRed);
        }
        object_end();
    }
    // Whether the middle row at world x holds something drawn.
    static bool drawn_at(float x) { return read_pixel(column_of(x), 240) != 0; }
};

TEST_F(DrawSlotTest, LitColouredMeshInFrontDraws) {
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 90);
    testing::build_quad(1, Rect{}, 0, kRed);
    draw_object(1, 0);
    const int32_t pixel = read_pixel(320, 240);
    EXPECT_GE(testing::red_of(pixel), 240);
    EXPECT_LE(testing::green_of(pixel), 30);
    EXPECT_LE(testing::blue_of(pixel), 30);
    EXPECT_EQ(read_pixel(column_of(1.5f), 240), 0);
}

TEST_F(DrawSlotTest, LightFromBehindLeavesTheFrontDark) {
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 1, 180);  // light travelling away from the camera
    testing::build_quad(1, Rect{}, 0, kRed);
    draw_object(1, 0);
    EXPECT_LE(testing::red_of(read_pixel(320, 240)), 30);
}

TEST_F(DrawSlotTest, OutsideTheFrustumDrawsNothingAndUploadsNothing) {
    testing::build_quad(1, Rect{}, 0, kRed);
    build_walking_quad(2);
    const uint64_t before = engine3d::vertex_upload_count();
    translate(100, 0, 0);
    draw_object(1, 0);
    draw_object(2, 3);
    draw_object_blend(2, 1, 2, 0.5, 0);
    EXPECT_EQ(engine3d::vertex_upload_count(), before);
    EXPECT_EQ(scene().objects[1].meshes[0].gpu.static_buffer, 0u);
    EXPECT_EQ(read_pixel(320, 240), 0);
    translate(0, 0, 0);
    draw_object(1, 0);
    EXPECT_EQ(engine3d::vertex_upload_count(), before + 1);
    EXPECT_EQ(read_pixel(320, 240), kRed);
}

TEST_F(DrawSlotTest, ScaledSphereDecidesNearTheEdge) {
    testing::build_quad(1, Rect{-0.1f, -0.1f, 0.1f, 0.1f}, 0, kRed);
    // The right frustum plane at z = 0 lies at x = 10 * tan(22.5) * 640 / 480 = 5.52; the quad's
    // sphere (radius 0.141) would stay outside at x = 6, but scaled by 5 it reaches in.
    translate(6, 0, 0);
    const uint64_t before = engine3d::vertex_upload_count();
    draw_object(1, 0);
    EXPECT_EQ(engine3d::vertex_upload_count(), before);
    scale(5, 5, 5);
    draw_object(1, 0);
    EXPECT_EQ(engine3d::vertex_upload_count(), before + 1);
}

TEST_F(DrawSlotTest, StaticBufferFilledOnceOtherFramesStreamEveryDraw) {
    build_walking_quad(1);
    const uint64_t before = engine3d::vertex_upload_count();
    draw_object(1, 0);
    draw_object(1, 0);
    EXPECT_EQ(engine3d::vertex_upload_count(), before + 1);
    EXPECT_NE(scene().objects[1].meshes[0].gpu.static_buffer, 0u);
    draw_object(1, 2);
    draw_object(1, 2);
    EXPECT_EQ(engine3d::vertex_upload_count(), before + 3);
    EXPECT_NE(scene().objects[1].meshes[0].gpu.stream_buffer, 0u);
    EXPECT_TRUE(drawn_at(-0.5f));
}

TEST_F(DrawSlotTest, ScaledObjectIsDrawnScaledFromTheStaticBuffer) {
    testing::build_quad(1, Rect{-0.5f, -0.5f, 0.5f, 0.5f}, 0, kRed);
    draw_object(1, 0);
    EXPECT_FALSE(drawn_at(1.5f));
    scale_object(1, 4, 4, 4);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_object(1, 0);
    EXPECT_TRUE(drawn_at(1.5f));
    EXPECT_FALSE(drawn_at(2.5f));
}

TEST_F(DrawSlotTest, ClientArraysDrawWhenBufferObjectsAreOff) {
    engine3d::allow_buffer_objects(false);
    build_walking_quad(1);
    const uint64_t before = engine3d::vertex_upload_count();
    draw_object(1, 0);
    EXPECT_TRUE(drawn_at(-2.5f));
    draw_object_blend(1, 2, 4, 0.25, 0);
    EXPECT_TRUE(drawn_at(0));
    EXPECT_EQ(engine3d::vertex_upload_count(), before);
    EXPECT_EQ(scene().objects[1].meshes[0].gpu.static_buffer, 0u);
    engine3d::allow_buffer_objects(true);
}

TEST_F(DrawSlotTest, BlendAtAQuarterFromTwoToFourLandsAtTwoAndAHalf) {
    build_walking_quad(1);
    draw_object_blend(1, 2, 4, 0.25, 0);
    // Frame position 2.5 covers x -0.5 ... 0.5; frame 2 would reach -1, frame 3 would reach 1.
    EXPECT_TRUE(drawn_at(-0.4f));
    EXPECT_TRUE(drawn_at(0.4f));
    EXPECT_FALSE(drawn_at(-0.6f));
    EXPECT_FALSE(drawn_at(0.6f));
    // Colours are not blended: they come from frame 4.
    EXPECT_EQ(read_pixel(320, 240), kBlue);
}

TEST_F(DrawSlotTest, BlendWeightZeroDrawsTheFirstFrameGiven) {
    build_walking_quad(1);
    draw_object_blend(1, 2, 4, 0, 0);
    EXPECT_TRUE(drawn_at(-0.9f));
    EXPECT_FALSE(drawn_at(0.1f));
    EXPECT_EQ(read_pixel(column_of(-0.5f), 240), kRed);
}

TEST_F(DrawSlotTest, LoopFlagWrapsBeyondOne) {
    build_walking_quad(1);
    // 1.3 folds to 0.3: position 0 + 4 * 0.3 = 1.2, the quad over x -1.8 ... -0.8.
    draw_object_blend(1, 0, 4, 1.3, 1);
    EXPECT_FALSE(drawn_at(-1.9f));
    EXPECT_TRUE(drawn_at(-1.7f));
    EXPECT_TRUE(drawn_at(-0.9f));
    EXPECT_FALSE(drawn_at(-0.7f));
}

TEST_F(DrawSlotTest, LoopFlagRunsDownwardsFromAToB) {
    build_walking_quad(1);
    // From 4 down to 0 at 0.25: position 3, exactly frame 3 over x 0 ... 1.
    draw_object_blend(1, 4, 0, 0.25, 1);
    EXPECT_TRUE(drawn_at(0.1f));
    EXPECT_TRUE(drawn_at(0.9f));
    EXPECT_FALSE(drawn_at(-0.1f));
    EXPECT_FALSE(drawn_at(1.1f));
    EXPECT_EQ(read_pixel(column_of(0.5f), 240), kRed);
}

TEST_F(DrawSlotTest, FrameBeyondTheLastDrawsTheLast) {
    build_walking_quad(1);
    draw_object(1, 99);
    EXPECT_EQ(read_pixel(column_of(1.5f), 240), kBlue);
    EXPECT_FALSE(drawn_at(0.5f));
}

TEST_F(DrawSlotTest, NegativeFrameDrawsTheFirst) {
    build_walking_quad(1);
    draw_object(1, -7);
    EXPECT_EQ(read_pixel(column_of(-2.5f), 240), kRed);
    EXPECT_FALSE(drawn_at(-1.5f));
}

TEST_F(DrawSlotTest, EmptyAndOutOfTableSlotsDrawNothing) {
    EXPECT_EQ(draw_object(7, 0), 0);
    EXPECT_EQ(draw_object(-1, 0), 0);
    EXPECT_EQ(draw_object(4096, 0), 0);
    EXPECT_EQ(draw_object_blend(1 << 30, 0, 1, 0.5, 1), 0);
    EXPECT_EQ(read_pixel(320, 240), 0);
}

TEST_F(DrawSlotTest, TransformStackPlacesTheObject) {
    testing::build_quad(1, Rect{-0.2f, -0.2f, 0.2f, 0.2f}, 0, kRed);
    translate(2, 1, 0);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(column_of(2), row_of(1)), kRed);
    EXPECT_EQ(read_pixel(320, 240), 0);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

// The front as documented: a strip quad given top-left, top-right, bottom-left, bottom-right as
// the camera sees it faces the camera with both its triangles; given mirrored it turns its back.
// Culling, the generated normals and the lighting agree on it.
TEST_F(DrawSlotTest, AStripQuadBuiltClockwiseFacesTheViewer) {
    const float quads[2][4][2] = {{{-2, 1}, {-0.5f, 1}, {-2, -1}, {-0.5f, -1}},  // its front
                                  {{2, 1}, {0.5f, 1}, {2, -1}, {0.5f, -1}}};     // its back
    object_start(1);
    for (const auto& quad : quads) {
        for (const auto& corner : quad)
            object_add_vertex(corner[0], corner[1], 0, 0, 0, kRed);
        object_new_group();
    }
    object_end();
    DynArray<double> face;
    for (int32_t f = 0; f < 4; ++f) {
        get_face(1, 0, f, face);
        for (int32_t k = 0; k < 3; ++k)
            EXPECT_NEAR(face.at(k, 8), f < 2 ? 1 : -1, 1e-6) << f << "," << k;
    }
    // Each quad's first triangle covers its upper corner at the side it starts from, the second
    // its opposite lower corner.
    const auto front = [] {
        return std::vector<int32_t>{read_pixel(column_of(-1.6f), row_of(0.5f)),
                                    read_pixel(column_of(-0.9f), row_of(-0.5f))};
    };
    const auto back = [] {
        return std::vector<int32_t>{read_pixel(column_of(1.6f), row_of(0.5f)),
                                    read_pixel(column_of(0.9f), row_of(-0.5f))};
    };
    const auto redraw = [] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_object(1, 0);
    };
    set_cull_mode(1);
    redraw();
    EXPECT_EQ(front(), std::vector<int32_t>({kRed, kRed}));
    EXPECT_EQ(back(), std::vector<int32_t>({0, 0}));
    set_cull_mode(-1);
    redraw();
    EXPECT_EQ(front(), std::vector<int32_t>({0, 0}));
    EXPECT_EQ(back(), std::vector<int32_t>({kRed, kRed}));

    set_cull_mode(0);
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, -1, 180);  // shining from the camera into the scene
    redraw();
    for (const int32_t pixel : front())
        EXPECT_GE(testing::red_of(pixel), 200);
    for (const int32_t pixel : back())
        EXPECT_LE(testing::red_of(pixel), 64);  // the ambient share only
}

TEST_F(DrawSlotTest, TwoTexturesCombineOnTwoUnits) {
    // Unit 0 takes the second texture (a solid colour); unit 1 the first, black on its left half.
    ASSERT_TRUE(create_sprite(20, testing::halves_picture(16, 16, 0x000000, 0xFFFFFF), false));
    ASSERT_TRUE(create_sprite(21, testing::halves_picture(16, 16, 0x00FF80, 0x00FF80), false));
    testing::build_quad(1, Rect{-2, -2, 2, 2}, 0, 0xFFFFFF);
    set_textures(20, 21);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(column_of(-1), 240), 0);
    EXPECT_EQ(read_pixel(column_of(1), 240), 0x00FF80);
}

TEST_F(DrawSlotTest, OneTextureOnUnitZero) {
    ASSERT_TRUE(create_sprite(20, testing::halves_picture(16, 16, 0x0000FF, 0x00FF00), false));
    testing::build_quad(1, Rect{-2, -2, 2, 2}, 0, 0xFFFFFF);
    set_textures(20, -1);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(column_of(-1), 240), 0x0000FF);
    EXPECT_EQ(read_pixel(column_of(1), 240), 0x00FF00);
}

TEST_F(DrawSlotTest, TextureOffsetShiftsTheTexels) {
    ASSERT_TRUE(create_sprite(20, testing::halves_picture(16, 16, 0x0000FF, 0x00FF00), false));
    testing::build_quad(1, Rect{-2, -2, 2, 2}, 0, 0xFFFFFF);
    set_textures(20, -1);
    // u = 0.375 at x = -0.5: red without an offset, green once a quarter is added.
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(column_of(-0.5f), 240), 0x0000FF);
    EXPECT_EQ(read_pixel(column_of(-1.8f), 240), 0x0000FF);
    set_texture_offset(0.25, 0);
    glClear(GL_DEPTH_BUFFER_BIT);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(column_of(-0.5f), 240), 0x00FF00);
    EXPECT_EQ(read_pixel(column_of(-1.8f), 240), 0x0000FF);
}

TEST_F(DrawSlotTest, SphereMappingFollowsTheView) {
    ImageBuffer stripes;
    stripes.size_for(16, 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            uint8_t* p = stripes.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 16);
            p[1] = static_cast<uint8_t>(y * 16);
            p[2] = 0;
            p[3] = 255;
        }
    }
    ASSERT_TRUE(create_sprite(20, stripes, false));
    testing::build_quad(1, Rect{-2, -2, 2, 2}, 0, 0xFFFFFF);
    const auto centre_after_view = [](double eye_x, double eye_y) {
        set_camera(eye_x, eye_y, 10, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        set_textures(20, -1);
        draw_object(1, 0);
        return read_pixel(320, 240);
    };
    const int32_t plain_ahead = centre_after_view(0, 0);
    const int32_t plain_aside = centre_after_view(4, 3);
    EXPECT_EQ(plain_ahead, plain_aside);
    set_sphere_mapping(1);
    const int32_t mapped_ahead = centre_after_view(0, 0);
    const int32_t mapped_aside = centre_after_view(4, 3);
    EXPECT_NE(mapped_ahead, mapped_aside);
    EXPECT_NE(mapped_ahead, plain_ahead);
    set_sphere_mapping(0);
    EXPECT_EQ(centre_after_view(4, 3), plain_aside);
}

// A 16 x 16 texture of one colour, owned by whoever deletes it.
uint32_t solid_texture(int32_t colour) {
    const ImageBuffer picture = testing::halves_picture(16, 16, colour, colour);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, picture.pixels());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

TEST_F(DrawSlotTest, MultiMeshSlotDrawsEachMeshWithItsOwnTextures) {
    testing::build_quad(1, Rect{-2, -1, -1, 1}, 0, 0xFFFFFF);
    testing::build_quad(2, Rect{-0.5f, -1, 0.5f, 1}, 0, 0xFFFFFF);
    testing::build_quad(3, Rect{1, -1, 2, 1}, 0, 0xFFFFFF);
    ObjectSlot& slot = scene().objects[1];
    slot.meshes.push_back(std::move(scene().objects[2].meshes[0]));
    slot.meshes.push_back(std::move(scene().objects[3].meshes[0]));
    slot.multi_mesh = 1;
    slot.textures = {solid_texture(0x00FFFF), solid_texture(0xFFFF00)};
    slot.meshes[0].texture_a = 0;
    slot.meshes[1].texture_a = -1;  // no texture
    slot.meshes[2].texture_a = 0;   // with a second: cyan on unit 0, yellow on unit 1
    slot.meshes[2].texture_b = 1;
    set_textures(-1, -1);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(column_of(-1.5f), 240), 0x00FFFF);
    EXPECT_EQ(read_pixel(column_of(0), 240), 0xFFFFFF);
    EXPECT_EQ(read_pixel(column_of(1.5f), 240), 0x00FF00);  // yellow times cyan
}

TEST_F(DrawSlotTest, MultiMeshSlotWithoutTexturesDrawsUntextured) {
    ASSERT_TRUE(create_sprite(20, testing::halves_picture(16, 16, 0x0000FF, 0x0000FF), false));
    testing::build_quad(1, Rect{-2, -1, 2, 1}, 0, 0x00FF00);
    ObjectSlot& slot = scene().objects[1];
    slot.multi_mesh = 1;
    slot.meshes[0].texture_a = 0;
    set_textures(20, -1);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(320, 240), 0x00FF00);
}

TEST_F(DrawSlotTest, DrawLeavesNoArraysOrBufferBehind) {
    build_walking_quad(1);
    draw_object_blend(1, 0, 4, 0.5, 1);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(testing::gl_integer(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace vexel
