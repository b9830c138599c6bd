#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "gfx2d/gl_test_support.h"
#include "mesh/mesh_test_support.h"
#include "platform/gl_context.h"
#include "platform/gl_extensions.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::MeshBytes;
using testing::scene;

// One frame: a strip marker and three records, one triangle.
std::string triangle_file(float size) {
    MeshBytes file;
    file.header(2.0, 1, 2, 4).i32(-2).i32(0xFFFFFF);
    for (int i = 0; i < 4; ++i)
        file.f32(0).f32(0);
    file.i32(4).record(0, 0, 0, 0, 0);
    file.record(0, 0, 0, 5, 1).record(size, 0, 0, 5, 1).record(0, size, 0, 5, 1);
    return file.str();
}

std::string one_colour_bmp(uint32_t colour) {
    testing::BmpLayout layout;
    layout.width = 4;
    layout.height = 2;
    layout.values.assign(8, colour);
    return testing::bmp_bytes(layout);
}

class MeshGraphicsTest : public testing::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        const testing::ScopedTempDir& temp = engine_.temp();
        testing::write_file(temp.file("a.vxm"), triangle_file(1));
        testing::write_file(temp.file("b.vxm"), triangle_file(4));
        testing::write_file(temp.file("red.bmp"), one_colour_bmp(0xFF0000));
        testing::write_file(temp.file("blue.bmp"), one_colour_bmp(0x0000FF));
        testing::write_file(temp.file("pair.vxm"),
                            ";VXW two tiles\n[textures]\ncount=2\n1=red.bmp\n2=blue.bmp\n"
                            "[objects]\ncount=2\n1=a.vxm\n1ta=2\n1tb=1\n2=b.vxm\n2ta=1\n");
        name_ = DynString(temp.file("pair.vxm").c_str());
    }

    DynString name_;
};

TEST_F(MeshGraphicsTest, DescriptionWithTwoMeshesAndTwoTexturesLoadsRealTextures) {
    ASSERT_EQ(load_object(name_, 20), 1);
    const ObjectSlot& slot = *scene().object(20);
    EXPECT_EQ(slot.used, 1);
    EXPECT_EQ(slot.multi_mesh, 1);
    ASSERT_EQ(slot.textures.size(), 2u);
    ASSERT_TRUE(glIsTexture(slot.textures[0]));
    ASSERT_TRUE(glIsTexture(slot.textures[1]));
    // the pictures sit in the lower-left corner of their textures
    const ImageBuffer red = testing::texture_level(slot.textures[0], 0);
    EXPECT_EQ(red.pixel(0, 0)[0], 255);
    EXPECT_EQ(red.pixel(0, 0)[2], 0);
    const ImageBuffer blue = testing::texture_level(slot.textures[1], 0);
    EXPECT_EQ(blue.pixel(0, 0)[2], 255);
    ASSERT_EQ(slot.meshes.size(), 2u);
    EXPECT_EQ(slot.meshes[0].texture_a, 1);
    EXPECT_EQ(slot.meshes[0].texture_b, 0);
    EXPECT_EQ(slot.meshes[1].texture_a, 0);
    EXPECT_EQ(count_faces(20), 2);
    // faces count across the meshes in order
    DynArray<double> face;
    get_face(20, 0, 1, face);
    EXPECT_DOUBLE_EQ(face.at(1, 0), 4);
}

TEST_F(MeshGraphicsTest, ATextureThatFailsIsLoggedWithTheDecodersReason) {
    const testing::ScopedTempDir& temp = engine_.temp();
    testing::BmpLayout wide;
    wide.width = 20000;
    wide.height = 1;
    wide.values.assign(20000, 0);
    testing::write_file(temp.file("notes.png"), "plain text");
    testing::write_file(temp.file("cut.bmp"), one_colour_bmp(0xFF0000).substr(0, 60));
    testing::write_file(temp.file("wide.bmp"), testing::bmp_bytes(wide));
    testing::write_file(temp.file("mixed.vxm"),
                        ";VXW\n[textures]\ncount=4\n1=notes.png\n2=cut.bmp\n3=wide.bmp\n"
                        "4=red.bmp\n[objects]\ncount=1\n1=a.vxm\n1ta=4\n");
    ASSERT_EQ(load_object(DynString(temp.file("mixed.vxm").c_str()), 23), 1);
    const std::vector<uint32_t>& textures = scene().object(23)->textures;
    ASSERT_EQ(textures.size(), 4u);
    EXPECT_EQ(textures[0], 0u);
    EXPECT_EQ(textures[1], 0u);
    EXPECT_EQ(textures[2], 0u);
    EXPECT_TRUE(glIsTexture(textures[3]));
    const auto line = [&temp](const char* name, const char* reason) {
        return "load_object: cannot load \"" + temp.file(name) + "\": " + reason + "\n";
    };
    // After the start-up lines, exactly one line per failed texture.
    const std::string log = engine_.log();
    const size_t first = log.find("load_object:");
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.substr(first), line("notes.png", "not a PNG/BMP/JPEG picture") +
                                     line("cut.bmp", "damaged") +
                                     line("wide.bmp", "larger than 16384 pixels a side"));
}

TEST_F(MeshGraphicsTest, StartingOverTheSlotDeletesItsTextures) {
    ASSERT_EQ(load_object(name_, 21), 1);
    const std::vector<uint32_t> textures = scene().object(21)->textures;
    object_start(21);
    for (uint32_t name : textures)
        EXPECT_FALSE(glIsTexture(name));
    EXPECT_TRUE(scene().object(21)->textures.empty());
}

TEST_F(MeshGraphicsTest, ResettingASlotDeletesTheBuffersOfItsMeshes) {
    const auto& procs = platform::gl_extension_procs();
    auto is_buffer =
        reinterpret_cast<PFNGLISBUFFERARBPROC>(platform::gl_proc_address("glIsBufferARB"));
    ASSERT_TRUE(procs.glGenBuffersARB && procs.glBindBufferARB && is_buffer);
    ASSERT_EQ(load_object(DynString(engine_.temp().file("a.vxm").c_str()), 22), 1);
    GLuint buffers[2];
    procs.glGenBuffersARB(2, buffers);
    for (GLuint b : buffers)
        procs.glBindBufferARB(GL_ARRAY_BUFFER_ARB, b);
    procs.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    GLuint ramp = 0;
    glGenTextures(1, &ramp);
    glBindTexture(GL_TEXTURE_2D, ramp);
    glBindTexture(GL_TEXTURE_2D, 0);
    MeshGpuResources& gpu = scene().object(22)->meshes[0].gpu;
    gpu.static_buffer = buffers[0];
    gpu.stream_buffer = buffers[1];
    gpu.ramp_texture = ramp;
    object_start(22);
    EXPECT_FALSE(is_buffer(buffers[0]));
    EXPECT_FALSE(is_buffer(buffers[1]));
    EXPECT_FALSE(glIsTexture(ramp));
}

}  // namespace
}  // namespace vexel
