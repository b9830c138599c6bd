#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <vexel/draw.h>
#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "gfx2d/gl_test_support.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_context.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

using testing::gl_integer;
using testing::scene;

GLint binding_on_unit(GLenum unit) {
    const auto& procs = platform::gl_extension_procs();
    procs.glActiveTextureARB(unit);
    const GLint name = gl_integer(GL_TEXTURE_BINDING_2D);
    const bool on = glIsEnabled(GL_TEXTURE_2D);
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    return on ? name : -name - 1;  // a name bound with texturing off shows as negative
}

// Counter-clockwise as seen from the default camera.
void counter_clockwise_triangle() {
    glBegin(GL_TRIANGLES);
    glVertex3f(-1, -1, -5);
    glVertex3f(1, -1, -5);
    glVertex3f(0, 1, -5);
    glEnd();
}

class RenderSwitchesTest : public testing::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        ASSERT_NE(platform::gl_extension_procs().glActiveTextureARB, nullptr);
        begin_3d(1, 1000, 45);
        ASSERT_TRUE(create_sprite(10, testing::pattern_picture(8, 8), false));
        ASSERT_TRUE(create_sprite(11, testing::pattern_picture(16, 4), false));
    }
    void TearDown() override { free_all_sprites(); }

    uint32_t texture(int32_t slot) { return texture_store().slot(slot)->texture; }
    uint32_t mip(int32_t slot) { return texture_store().slot(slot)->mip_texture; }
};

TEST_F(RenderSwitchesTest, CullModeFiveActsAsOne) {
    set_cull_mode(5);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(gl_integer(GL_FRONT_FACE), GL_CW);
    EXPECT_EQ(gl_integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(scene().cull_mode, 1);
    EXPECT_EQ(engine3d::scene_globals().remembered_cull_mode, 1);
}

TEST_F(RenderSwitchesTest, CullModeMinusHalfTruncatesToOff) {
    set_cull_mode(-3);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(gl_integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(scene().cull_mode, -1);
    set_cull_mode(-0.5);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(scene().cull_mode, 0);
    EXPECT_EQ(engine3d::scene_globals().remembered_cull_mode, 0);
}

TEST_F(RenderSwitchesTest, CullModeOneRemovesCounterClockwiseTriangles) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    set_cull_mode(1);
    glColor3f(1, 1, 1);
    int32_t pixel = -1;
    // the driver builds its code when the drawing is flushed by the read
    testing::drawing([&] {
        counter_clockwise_triangle();
        pixel = testing::read_pixel(320, 230);
    });
    EXPECT_EQ(pixel, 0);
    set_cull_mode(-1);
    testing::drawing([&] {
        counter_clockwise_triangle();
        pixel = testing::read_pixel(320, 230);
    });
    EXPECT_EQ(pixel, 0xFFFFFF);
}

TEST_F(RenderSwitchesTest, OneTextureGoesOnUnitZero) {
    set_textures(10, -1);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), static_cast<GLint>(texture(10)));
    EXPECT_LT(binding_on_unit(GL_TEXTURE1_ARB), 0);
    EXPECT_EQ(engine3d::scene_globals().texture_1, 10);
    EXPECT_EQ(engine3d::scene_globals().texture_2, -1);
}

TEST_F(RenderSwitchesTest, TwoTexturesPutTheSecondOnUnitZero) {
    set_textures(10, 11);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), static_cast<GLint>(texture(11)));
    EXPECT_EQ(binding_on_unit(GL_TEXTURE1_ARB), static_cast<GLint>(texture(10)));
    set_textures(-1, 11);
    EXPECT_LT(binding_on_unit(GL_TEXTURE0_ARB), 0);
    EXPECT_LT(binding_on_unit(GL_TEXTURE1_ARB), 0);
}

TEST_F(RenderSwitchesTest, EmptyOrOutOfTableSlotsBindNothing) {
    set_textures(99, -1);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), -1);
    set_textures(70000, 10);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), static_cast<GLint>(texture(10)));
    EXPECT_LT(binding_on_unit(GL_TEXTURE1_ARB), 0);
}

TEST_F(RenderSwitchesTest, MipmappingPicksTheMipmappedCopy) {
    ASSERT_NE(mip(10), 0u);
    set_texture_mipmapping(1);
    set_textures(10, -1);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), static_cast<GLint>(mip(10)));
    EXPECT_EQ(testing::texture_parameter(mip(10), GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    set_texture_mipmapping(0);
    set_textures(10, -1);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), static_cast<GLint>(texture(10)));
}

TEST_F(RenderSwitchesTest, FiltersFollowTheSmoothingSwitch) {
    platform::opengl_duderedi()->smoothing = false;
    set_textures(10, 11);
    EXPECT_EQ(testing::texture_parameter(texture(10), GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(testing::texture_parameter(texture(11), GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    platform::opengl_duderedi()->smoothing = true;
    set_textures(10, -1);
    EXPECT_EQ(testing::texture_parameter(texture(10), GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(testing::texture_parameter(texture(10), GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

TEST_F(RenderSwitchesTest, BeginUnbindsBothUnits) {
    set_textures(10, 11);
    begin_3d(1, 1000, 45);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE0_ARB), -1);
    EXPECT_EQ(binding_on_unit(GL_TEXTURE1_ARB), -1);
}

// The sprite drawn out of the batch at once, so that the driver code it builds is made while leak
// reports are held back.
void draw_sprite_now() {
    testing::drawing([] {
        draw_sprite(10, 0, 0);
        testing::draw_held_2d();
    });
}

// 2D drawing keeps the second unit off once it has turned it off; a 3D texture pair turns it on
// again, and the next sprite must not be modulated by the 3D texture left there.
TEST_F(RenderSwitchesTest, TwoDimensionalDrawingAfterATexturePairHasTheSecondUnitOff) {
    end_3d();
    draw_sprite_now();
    ASSERT_LT(binding_on_unit(GL_TEXTURE1_ARB), 0);
    begin_3d(1, 1000, 45);
    set_textures(10, 11);
    ASSERT_GE(binding_on_unit(GL_TEXTURE1_ARB), 0);
    end_3d();
    draw_sprite_now();
    EXPECT_LT(binding_on_unit(GL_TEXTURE1_ARB), 0);
}

GLuint compile(GLenum kind, const char* source) {
    auto create =
        reinterpret_cast<PFNGLCREATESHADERPROC>(platform::gl_proc_address("glCreateShader"));
    auto put = reinterpret_cast<PFNGLSHADERSOURCEPROC>(platform::gl_proc_address("glShaderSource"));
    auto build =
        reinterpret_cast<PFNGLCOMPILESHADERPROC>(platform::gl_proc_address("glCompileShader"));
    const GLuint shader = create(kind);
    put(shader, 1, &source, nullptr);
    build(shader);
    return shader;
}

TEST_F(RenderSwitchesTest, ActiveProgramGetsItsSamplerUnits) {
    auto create =
        reinterpret_cast<PFNGLCREATEPROGRAMPROC>(platform::gl_proc_address("glCreateProgram"));
    auto attach =
        reinterpret_cast<PFNGLATTACHSHADERPROC>(platform::gl_proc_address("glAttachShader"));
    auto link = reinterpret_cast<PFNGLLINKPROGRAMPROC>(platform::gl_proc_address("glLinkProgram"));
    auto use = reinterpret_cast<PFNGLUSEPROGRAMPROC>(platform::gl_proc_address("glUseProgram"));
    auto locate = reinterpret_cast<PFNGLGETUNIFORMLOCATIONPROC>(
        platform::gl_proc_address("glGetUniformLocation"));
    auto read =
        reinterpret_cast<PFNGLGETUNIFORMIVPROC>(platform::gl_proc_address("glGetUniformiv"));
    auto uniform = reinterpret_cast<PFNGLUNIFORM1IPROC>(platform::gl_proc_address("glUniform1i"));
    ASSERT_TRUE(create && attach && link && use && locate && read && uniform);
    const GLuint program = create();
    attach(program, compile(GL_VERTEX_SHADER, "void main() { gl_Position = ftransform(); }"));
    attach(program, compile(GL_FRAGMENT_SHADER,
                            "uniform sampler2D TextureID1; uniform sampler2D TextureID2;\n"
                            "void main() { gl_FragColor = texture2D(TextureID1, vec2(0.5)) *"
                            " texture2D(TextureID2, vec2(0.5)); }"));
    link(program);
    use(program);
    const GLint first = locate(program, "TextureID1");
    const GLint second = locate(program, "TextureID2");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    uniform(first, 5);
    uniform(second, 6);
    set_textures(10, 11);
    GLint value = -1;
    read(program, first, &value);
    EXPECT_EQ(value, 0);
    read(program, second, &value);
    EXPECT_EQ(value, 1);
    uniform(first, 5);
    begin_3d(1, 1000, 45);
    read(program, first, &value);
    EXPECT_EQ(value, 0);
    use(0);
}

TEST_F(RenderSwitchesTest, CelShadingLevelsFromIntensities) {
    DynArray<double> levels;
    levels.dim(4);
    levels.at(0) = 0.2;
    levels.at(1) = 0.5;
    levels.at(2) = 1.0;
    levels.at(3) = 7;  // held to full intensity
    set_cel_shading(levels);
    EXPECT_EQ(scene().cel_levels, (std::vector<uint8_t>{51, 127, 255, 255}));
    DynArray<double> none;
    set_cel_shading(none);
    EXPECT_EQ(scene().cel_levels, std::vector<uint8_t>{255});
}

TEST_F(RenderSwitchesTest, StoredSwitches) {
    set_sphere_mapping(3);
    EXPECT_EQ(scene().sphere_mapping, 1);
    set_texture_offset(0.25, -2);
    EXPECT_FLOAT_EQ(scene().texture_offset_u, 0.25f);
    EXPECT_FLOAT_EQ(scene().texture_offset_v, -2);
    set_texture_mipmapping(5);
    EXPECT_EQ(engine3d::scene_globals().texture_mipmapping, 1);
}

}  // namespace
}  // namespace vexel
