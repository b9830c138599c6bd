#include "engine3d/collision_debug_draw.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <vexel/app.h>
#include <vexel/collision.h>

#include "engine3d/collision_test_support.h"
#include "engine3d/duderedi_3d.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::read_pixel;

constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;

// The engine in debug mode, drawing into a black window through a projection of one unit per
// pixel with the origin at the window's centre (320, 240).
class CollisionDebugDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_.has_window());
        project_settings().debug_mode = 1;
        // A large triangle in the plane x = 0, and one far away.
        objects()[1] = testing::slot_with(
            testing::triangle_mesh({{{{0, -500, -500}, {0, 500, -500}, {0, 0, 500}}}}));
        objects()[2] = testing::slot_with(
            testing::triangle_mesh({{{{900, 900, 900}, {901, 900, 900}, {900, 901, 900}}}}));

        // The driver keeps the code it builds for every kind of shape drawn here; the shapes
        // themselves allocate nothing.
        testing::suspend_leak_checks();
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-320, 320, -240, 240, -1000, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        platform::gl_disable(GL_DEPTH_TEST);
        platform::gl_disable(GL_BLEND);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override { testing::resume_leak_checks(); }

    // Pixels of the colour in the whole window, and the farthest of them from the centre.
    struct Census {
        int count = 0;
        double farthest = 0;
    };
    static Census census(int32_t colour) {
        std::vector<unsigned char> rgba(640 * 480 * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        Census c;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const unsigned char* p = &rgba[size_t(y * 640 + x) * 4];
                if ((p[0] | p[1] << 8 | p[2] << 16) != colour) continue;
                ++c.count;
                c.farthest = std::fmax(c.farthest, std::hypot(x + 0.5 - 320, y + 0.5 - 240));
            }
        }
        return c;
    }

    testing::HeadlessEngine engine_;
    std::vector<ObjectSlot>& objects() { return engine3d::duderedi_3d()->objects; }
};

TEST_F(CollisionDebugDrawTest, RayWithoutHitIsThinRed) {
    ASSERT_EQ(ray_distance(2, 0, -300, 10.5, 0, 1, 0, 0), 0);
    EXPECT_EQ(read_pixel(420, 250), kRed);
    EXPECT_EQ(read_pixel(30, 250), kRed);
    EXPECT_EQ(read_pixel(420, 252), kBlack);
}

TEST_F(CollisionDebugDrawTest, RayHitInFrontIsWideGreenUpToTheHit) {
    ASSERT_DOUBLE_EQ(ray_distance(1, 0, -300, 10.5, 0, 1, 0, 0), 300);
    EXPECT_EQ(read_pixel(170, 250), kGreen);
    EXPECT_EQ(read_pixel(170, 252), kGreen);
    EXPECT_EQ(read_pixel(170, 248), kGreen);
    EXPECT_EQ(read_pixel(170, 255), kBlack);
    EXPECT_EQ(read_pixel(420, 250), kBlack);  // beyond the hit
}

TEST_F(CollisionDebugDrawTest, RayHitBehindIsWideWhiteBackToTheHit) {
    ASSERT_DOUBLE_EQ(ray_distance(1, 0, 300, 10.5, 0, 1, 0, 0), -300);
    EXPECT_EQ(read_pixel(470, 250), kWhite);
    EXPECT_EQ(read_pixel(470, 252), kWhite);
    EXPECT_EQ(read_pixel(220, 250), kBlack);
}

TEST_F(CollisionDebugDrawTest, SphereMissIsAThinGreenIcosahedron) {
    ASSERT_EQ(collide_sphere(2, 0, 100, 0, 0, 0), 0);
    const Census green = census(kGreen);
    EXPECT_GT(green.count, 500);
    EXPECT_LE(green.farthest, 102);
    EXPECT_EQ(census(kRed).count, 0);
}

TEST_F(CollisionDebugDrawTest, SphereHitIsAWideRedIcosahedron) {
    ASSERT_EQ(collide_sphere(1, 0, 100, 50, 0, 0), 1);
    const Census red = census(kRed);
    EXPECT_GT(red.count, 2500);
    EXPECT_EQ(census(kGreen).count, 0);
    // Centred on the sphere: nothing right of x = 50 + 100 (window column 470) and a bit.
    EXPECT_EQ(read_pixel(475, 240), kBlack);
}

TEST_F(CollisionDebugDrawTest, BoxEdgesInTheResultColour) {
    ASSERT_EQ(collide_box(2, 0, 0.5, 0.5, 0, 200, 100, 50), 0);
    EXPECT_EQ(read_pixel(420, 240), kGreen);  // the edge x = 100.5
    EXPECT_EQ(read_pixel(220, 240), kGreen);  // x = -99.5
    EXPECT_EQ(read_pixel(320, 290), kGreen);  // y = 50.5
    EXPECT_EQ(read_pixel(320, 240), kBlack);  // inside
    EXPECT_EQ(read_pixel(423, 240), kBlack);  // width 1

    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_EQ(collide_box(1, 0, 0.5, 0.5, 0, 200, 100, 50), 1);
    EXPECT_EQ(read_pixel(420, 240), kRed);
    EXPECT_EQ(read_pixel(422, 240), kRed);  // width 5
    EXPECT_EQ(read_pixel(320, 240), kBlack);
}

TEST_F(CollisionDebugDrawTest, DrawingStateIsPutBack) {
    platform::opengl_duderedi()->global_alpha = 0.5f;
    platform::gl_enable(GL_LIGHTING);
    platform::gl_disable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    glLineWidth(3);
    collide_sphere(1, 0, 100, 50, 0, 0);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(platform::gl_enable_cache_state(GL_LIGHTING), 1);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_COLOR_MATERIAL), 0);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1);
    EXPECT_FLOAT_EQ(colour[1], 1);
    EXPECT_FLOAT_EQ(colour[2], 1);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    EXPECT_GT(census(kRed).count, 0);
}

TEST_F(CollisionDebugDrawTest, NothingIsDrawnOutsideDebugMode) {
    project_settings().debug_mode = 0;
    collide_sphere(1, 0, 100, 50, 0, 0);
    collide_box(1, 0, 0.5, 0.5, 0, 200, 100, 50);
    ray_distance(1, 0, -300, 10.5, 0, 1, 0, 0);
    EXPECT_EQ(census(kRed).count + census(kGreen).count + census(kWhite).count, 0);
}

TEST(CollisionDebugDrawWithoutWindowTest, DrawsNothingAndDoesNotCrash) {
    engine3d::draw_collision_sphere({0, 0, 0}, 1, true);
    engine3d::draw_collision_box({0, 0, 0}, 1, 1, 1, false);
    engine3d::draw_collision_ray({0, 0, 0}, {1, 0, 0}, 2);
    EXPECT_EQ(platform::opengl_duderedi(), nullptr);
}

}  // namespace
}  // namespace vexel
