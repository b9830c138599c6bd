#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include <vexel/app.h>
#include <vexel/scene3d.h>
#include <vexel/window.h>

#include "engine3d/scene_test_support.h"

namespace vexel {
namespace {

using testing::gl_integer;
using testing::scene;

using Vec4 = std::array<float, 4>;

Vec4 light_vector(GLenum light, GLenum which) {
    Vec4 v{};
    glGetLightfv(light, which, v.data());
    return v;
}

float light_value(GLenum light, GLenum which) {
    float v = 0;
    glGetLightfv(light, which, &v);
    return v;
}

void expect_vec(const Vec4& actual, const Vec4& expected, float tolerance = 1e-5f) {
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

class LightsTest : public testing::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        begin_3d(1, 1000, 45);
    }
};

TEST_F(LightsTest, HeadlightLeavesTheModelviewStackAsItWas) {
    const GLint depth = gl_integer(GL_MODELVIEW_STACK_DEPTH);
    set_light(2, 0x0000FF, 0, 0, 0, 0, 0, 0, 45);
    EXPECT_EQ(gl_integer(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    // not a spot light: a directional light along the view axis
    expect_vec(light_vector(GL_LIGHT2, GL_POSITION), {0, 0, 1, 0});
    EXPECT_FLOAT_EQ(light_value(GL_LIGHT2, GL_SPOT_CUTOFF), 180);
    expect_vec(light_vector(GL_LIGHT2, GL_DIFFUSE), {1, 0, 0, 1});
    expect_vec(light_vector(GL_LIGHT2, GL_SPECULAR), {0, 0, 0, 1});
    EXPECT_EQ(scene().lights_mask, 1 << 2);
}

TEST_F(LightsTest, EveryKindOfLightKeepsTheStackDepth) {
    const GLint depth = gl_integer(GL_MODELVIEW_STACK_DEPTH);
    set_light(0, 0xFFFFFF, 1, 2, 3, 0, -1, 0, 180);
    set_light(1, 0xFFFFFF, 1, 2, 3, 0, -1, 0, 120);
    set_light(3, 0xFFFFFF, 1, 2, 3, 0, -1, 0, 30);
    set_light(3, 0xFFFFFF, 1, 2, 3, 0, -1, 0, 0);
    EXPECT_EQ(gl_integer(GL_MODELVIEW_STACK_DEPTH), depth);
}

TEST_F(LightsTest, DirectionalLightComesFromAgainstItsDirection) {
    set_light(0, 0x00FF00, 5, 5, 5, 0, -2, 0, 180);
    // the camera is the identity: eye space is world space
    expect_vec(light_vector(GL_LIGHT0, GL_POSITION), {0, 1, 0, 0});
    EXPECT_FLOAT_EQ(light_value(GL_LIGHT0, GL_SPOT_CUTOFF), 180);
    expect_vec(light_vector(GL_LIGHT0, GL_DIFFUSE), {0, 1, 0, 1});
    expect_vec(light_vector(GL_LIGHT0, GL_SPECULAR), {0, 0, 0, 1});
}

TEST_F(LightsTest, PointLightAboveNinetyDegrees) {
    set_light(9, 0xFF0000, 1, 2, 3, 0, 0, -1, 91);  // number 9 is light 1
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    expect_vec(light_vector(GL_LIGHT1, GL_POSITION), {1, 2, 3, 1});
    EXPECT_FLOAT_EQ(light_value(GL_LIGHT1, GL_SPOT_CUTOFF), 180);
    expect_vec(light_vector(GL_LIGHT1, GL_SPECULAR), {0, 0, 1, 1});
}

TEST_F(LightsTest, SpotLightWithNormalisedDirection) {
    set_light(4, 0xFFFFFF, 1, 2, 3, 0, 0, -4, 30);
    expect_vec(light_vector(GL_LIGHT4, GL_POSITION), {1, 2, 3, 1});
    EXPECT_FLOAT_EQ(light_value(GL_LIGHT4, GL_SPOT_CUTOFF), 30);
    Vec4 direction{};
    glGetLightfv(GL_LIGHT4, GL_SPOT_DIRECTION, direction.data());
    EXPECT_NEAR(direction[2], -1, 1e-6);
}

TEST_F(LightsTest, PositionIsTakenInTheCameraSpace) {
    set_camera(0, 0, 10, 0, 0, 0);
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 1, 0, 120);  // a point light at the world origin
    // 10 units in front of the camera
    expect_vec(light_vector(GL_LIGHT0, GL_POSITION), {0, 0, -10, 1});
}

TEST_F(LightsTest, CutoffZeroSwitchesTheLightAndThenLightingOff) {
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 90);
    set_light(1, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 90);
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(scene().lights_mask, 2);
    set_light(1, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(scene().lights_mask, 0);
}

TEST_F(LightsTest, NegativeNumbersSelectTheLightEffects) {
    set_light(-1, 0x123456, 1, 2, 3, 0, 0, 0, 1);
    EXPECT_EQ(scene().effect_enabled, 1);
    EXPECT_EQ(scene().effect_mode, engine3d::kEffectBumpMapping);
    EXPECT_EQ(scene().shadow_colour, 0x123456);
    EXPECT_EQ(scene().effect_light[2], 3);
    set_light(-7, 0x111111, 9, 9, 9, 0, 0, 0, -0.5);
    EXPECT_EQ(scene().effect_mode, engine3d::kEffectCelShading);
    EXPECT_EQ(scene().effect_enabled, 1);
    // a tiny cutoff disables the effect and keeps the stored light
    set_light(-2, 0x222222, 4, 4, 4, 0, 0, 0, 0.000001);
    EXPECT_EQ(scene().effect_enabled, 0);
    EXPECT_EQ(scene().shadow_colour, 0x111111);
    EXPECT_EQ(scene().effect_light[0], 9);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(LightsTest, StencilShadowEffectOpensAndClosesThePass) {
    testing::drawing([&] { set_light(-3, 0x000000, 0, 50, 0, 0, 0, 0, 1); });
    EXPECT_EQ(scene().effect_mode, engine3d::kEffectStencilShadows);
    EXPECT_EQ(scene().shadow_pass, 1);
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    GLboolean colour_writes[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, colour_writes);
    EXPECT_FALSE(colour_writes[0]);
    testing::drawing([&] { set_light(-3, 0x000000, 0, 0, 0, 0, 0, 0, 0); });
    EXPECT_EQ(scene().shadow_pass, 0);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    glGetBooleanv(GL_COLOR_WRITEMASK, colour_writes);
    EXPECT_TRUE(colour_writes[0]);
    EXPECT_EQ(gl_integer(GL_DEPTH_FUNC), GL_LESS);
}

TEST_F(LightsTest, ClosingThePassDarkensMarkedPixelsHalfway) {
    glClearColor(1, 1, 1, 1);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    testing::drawing([&] { set_light(-3, 0x000000, 0, 50, 0, 0, 0, 0, 1); });
    // mark the lower-left quarter as a shadow volume would
    testing::drawing([] {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 320, 240);
        glClearStencil(1);
        glClear(GL_STENCIL_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearStencil(0);
    });
    int32_t shaded = 0;
    int32_t clear = 0;
    // the driver builds its code when the read flushes the fill
    testing::drawing([&] {
        set_light(-3, 0x000000, 0, 0, 0, 0, 0, 0, 0);
        shaded = testing::read_pixel(10, 10);
        clear = testing::read_pixel(600, 400);
    });
    EXPECT_NEAR(shaded & 0xFF, 128, 2);
    EXPECT_EQ(clear, 0xFFFFFF);
}

TEST_F(LightsTest, BeginClosesAnOpenShadowPass) {
    testing::drawing([&] { set_light(-3, 0, 0, 50, 0, 0, 0, 0, 1); });
    testing::drawing([&] { begin_3d(1, 1000, 45); });
    EXPECT_EQ(scene().shadow_pass, 0);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST_F(LightsTest, SettingTheTwoDimensionalViewportClosesThePass) {
    testing::drawing([&] { set_light(-3, 0, 0, 50, 0, 0, 0, 0, 1); });
    testing::drawing([&] { set_viewport(0, 0, 320, 240); });
    EXPECT_EQ(scene().shadow_pass, 0);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    testing::drawing([&] { set_light(-3, 0, 0, 50, 0, 0, 0, 0, 1); });
    testing::drawing([&] { end_3d(); });
    EXPECT_EQ(scene().shadow_pass, 0);
}

TEST_F(LightsTest, CameraLightShinesFromTheEye) {
    set_camera(0, 0, 10, 0, 0, 0);
    set_camera_light(5, 0xFFFFFF);
    // direction (0, 0, -10): the light comes from +Z of the world, which is +Z of the eye too
    const Vec4 position = light_vector(GL_LIGHT5, GL_POSITION);
    expect_vec(position, {0, 0, 1, 0});
    EXPECT_FLOAT_EQ(light_value(GL_LIGHT5, GL_SPOT_CUTOFF), 180);
}

TEST_F(LightsTest, DebugModeDrawsTheLightsDotInItsColour) {
    project_settings().debug_mode = 1;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    set_camera(0, 0, 10, 0, 0, 0);
    testing::drawing([&] { set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, -1, 120); });
    project_settings().debug_mode = 0;
    EXPECT_EQ(testing::read_pixel(320, 240), 8440063);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));  // the dot does not leave lighting off
}

TEST_F(LightsTest, FogDefaultsToTheNearAndFarPlanes) {
    begin_3d(3, 700, 45);
    set_fog(0x0000FF, 0, 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(gl_integer(GL_FOG_MODE), GL_LINEAR);
    float value = 0;
    glGetFloatv(GL_FOG_START, &value);
    EXPECT_FLOAT_EQ(value, 3);
    glGetFloatv(GL_FOG_END, &value);
    EXPECT_FLOAT_EQ(value, 700);
    float colour[4];
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1);
    EXPECT_FLOAT_EQ(colour[3], 0);
}

TEST_F(LightsTest, FogWithOneBoundGivenKeepsBoth) {
    set_fog(0, 0, 0, 50);
    float value = -1;
    glGetFloatv(GL_FOG_START, &value);
    EXPECT_FLOAT_EQ(value, 0);
    glGetFloatv(GL_FOG_END, &value);
    EXPECT_FLOAT_EQ(value, 50);
}

TEST_F(LightsTest, ExponentialFogAndFogOff) {
    set_fog(0, 1, 0.25, 99);
    EXPECT_EQ(gl_integer(GL_FOG_MODE), GL_EXP);
    float density = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_FLOAT_EQ(density, 0.25f);
    set_fog(-1, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

}  // namespace
}  // namespace vexel
