#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <vexel/draw.h>

#include "engine3d/slot_textures.h"
#include "engine3d/texture_binding.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

GLint blend_destination() {
    GLint factor = 0;
    glGetIntegerv(GL_BLEND_DST, &factor);
    return factor;
}

float current_alpha() {
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    return colour[3];
}

class DrawModesTest : public testing::DrawTest {
protected:
    platform::OpenGLDuderedi& gl() { return *platform::opengl_duderedi(); }
};

TEST_F(DrawModesTest, NegativeModeBlendsWithItsMagnitudeAsAlpha) {
    set_alpha_mode(-0.5);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 1);
    EXPECT_EQ(blend_destination(), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FLOAT_EQ(gl().global_alpha, 0.5f);
    EXPECT_FLOAT_EQ(current_alpha(), 0.5f);
}

TEST_F(DrawModesTest, PositiveModeIsAdditiveWithAlphaAtMostOne) {
    set_alpha_mode(2);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 1);
    EXPECT_EQ(blend_destination(), GL_ONE);
    EXPECT_FLOAT_EQ(gl().global_alpha, 1.0f);
    set_alpha_mode(0.25);
    EXPECT_FLOAT_EQ(current_alpha(), 0.25f);
}

TEST_F(DrawModesTest, ZeroAndNanSwitchBlendingOff) {
    set_alpha_mode(-0.5);
    set_alpha_mode(0);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 0);
    EXPECT_FLOAT_EQ(gl().global_alpha, 1.0f);
    set_alpha_mode(-0.5);
    set_alpha_mode(std::nan(""));
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 0);
    EXPECT_FLOAT_EQ(current_alpha(), 1.0f);
}

TEST_F(DrawModesTest, AlphaTestBelowOneIsOnWithItsReference) {
    set_alpha_test(0.5);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 1);
    GLfloat reference = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.5f);
    EXPECT_FLOAT_EQ(gl().alpha_test_threshold, 0.5f);
    set_alpha_test(1);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 0);
    set_alpha_test(0.1);
    set_alpha_test(std::nan(""));
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 0);
}

TEST_F(DrawModesTest, PresentResetsModesTestAndSmoothing) {
    set_alpha_mode(-0.3);
    set_alpha_test(2);
    set_smoothing(false);
    texture_store().bound_2d_slot = 12;
    gl().reset_after_present();
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 0);
    EXPECT_FLOAT_EQ(gl().global_alpha, 1.0f);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 1);
    EXPECT_FLOAT_EQ(gl().alpha_test_threshold, 0.05f);
    EXPECT_TRUE(gl().smoothing);
    EXPECT_EQ(texture_store().bound_2d_slot, -1);
}

TEST_F(DrawModesTest, UntexturedBindTurnsBothUnitsOff) {
    ASSERT_TRUE(create_sprite(4, testing::solid_picture(4, 4, 0xFFFFFF), false));
    draw_sprite(4, 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    draw_rect(0, 0, 1, 1, 0x00FF00);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(texture_store().bound_2d_slot, -1);
}

bool second_unit_textured() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    procs.glActiveTextureARB(GL_TEXTURE1_ARB);
    const bool on = glIsEnabled(GL_TEXTURE_2D);
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    return on;
}

TEST_F(DrawModesTest, SpriteAfterThreeDimensionalTwoTextureBindIgnoresTheSecondUnit) {
    ASSERT_NE(platform::gl_extension_procs().glActiveTextureARB, nullptr);
    ASSERT_TRUE(create_sprite(4, testing::solid_picture(4, 4, 0xFFFFFF), false));
    ASSERT_TRUE(create_sprite(5, testing::solid_picture(4, 4, 0x000000), false));
    set_smoothing(false);
    draw_sprite(4, 0, 0);
    // A mesh drawn between two 2D draws of one frame leaves a texture on the second unit.
    const std::vector<uint32_t> names{texture_store().slot(4)->texture,
                                      texture_store().slot(5)->texture};
    engine3d::bind_slot_textures(names, 1, 0);
    ASSERT_TRUE(second_unit_textured());
    draw_sprite(4, 10, 10);
    EXPECT_FALSE(second_unit_textured());
    EXPECT_EQ(testing::screen_colour(11, 11), 0xFFFFFF);
}

// Switching units costs a driver flush: the 2D draws switch the second unit off only after the
// 3D layer has said it turned it on.
TEST_F(DrawModesTest, SecondUnitIsSwitchedOffOnlyAfterTheThreeDimensionalLayerUsedIt) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    ASSERT_NE(procs.glActiveTextureARB, nullptr);
    ASSERT_TRUE(create_sprite(4, testing::solid_picture(4, 4, 0xFFFFFF), false));
    draw_sprite(4, 0, 0);
    EXPECT_FALSE(draw_state().second_unit_may_be_on);
    procs.glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);  // behind the engine's back: not switched off
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    draw_sprite(4, 0, 0);
    draw_rect(0, 0, 2, 2, 0x00FF00);
    EXPECT_TRUE(second_unit_textured());
    procs.glActiveTextureARB(GL_TEXTURE1_ARB);
    engine3d::texture_second_unit();
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_TRUE(draw_state().second_unit_may_be_on);
    draw_sprite(4, 0, 0);
    EXPECT_FALSE(second_unit_textured());
    // The present forgets what it knew.
    gl().reset_after_present();
    EXPECT_TRUE(draw_state().second_unit_may_be_on);
}

TEST_F(DrawModesTest, UntexturedDrawsSwitchTheSecondUnitOff) {
    ASSERT_NE(platform::gl_extension_procs().glActiveTextureARB, nullptr);
    ASSERT_TRUE(create_sprite(5, testing::solid_picture(4, 4, 0x000000), false));
    draw_rect(0, 0, 2, 2, 0x00FF00);
    engine3d::bind_slot_textures({texture_store().slot(5)->texture}, 0, 0);
    ASSERT_TRUE(second_unit_textured());
    draw_rect(0, 0, 2, 2, 0x00FF00);
    EXPECT_FALSE(second_unit_textured());
    EXPECT_EQ(testing::screen_colour(1, 1), 0x00FF00);
}

}  // namespace
}  // namespace vexel
