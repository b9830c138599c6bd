#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

#include <vexel/offscreen.h>

#include "gfx2d/offscreen_surfaces.h"
#include "gfx2d/offscreen_test_support.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "platform/gl_context.h"
#include "platform/gl_extensions.h"

namespace vexel {
namespace {

class FramebufferTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::engine_with_framebuffers(false);
        ASSERT_TRUE(offscreen_state().framebuffers_available);
        texture_ = new_bound_texture(false);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 32, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    const platform::GlExtensionProcs& gl() { return platform::gl_extension_procs(); }
    GLint binding() {
        GLint value = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &value);
        return value;
    }
    bool is_framebuffer(uint32_t name) {
        auto is = reinterpret_cast<PFNGLISFRAMEBUFFEREXTPROC>(
            platform::gl_proc_address("glIsFramebufferEXT"));
        return is(name) == GL_TRUE;
    }
    GLint attachment(GLenum point, GLenum what) {
        GLint value = -1;
        gl().glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, point, what, &value);
        return value;
    }

    std::unique_ptr<testing::HeadlessEngine> engine_;
    uint32_t texture_ = 0;
};

TEST_F(FramebufferTest, TheTextureBecomesTheColourAttachmentBesideADepthBuffer) {
    ASSERT_TRUE(create_framebuffer(2, 32, 16, texture_, true));
    const OffscreenSurface& surface = *offscreen_surface(2);
    EXPECT_NE(surface.framebuffer, 0u);
    EXPECT_NE(surface.depth_buffer, 0u);
    EXPECT_EQ(surface.saved_binding, -1);
    EXPECT_EQ(surface.width, 32);
    EXPECT_EQ(surface.height, 16);
    EXPECT_EQ(binding(), 0);  // the screen is bound again

    gl().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, surface.framebuffer);
    EXPECT_EQ(attachment(GL_COLOR_ATTACHMENT0_EXT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT),
              GLint(texture_));
    EXPECT_EQ(attachment(GL_DEPTH_ATTACHMENT_EXT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_EXT),
              GL_RENDERBUFFER_EXT);
    gl().glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, surface.depth_buffer);
    auto parameter = reinterpret_cast<PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC>(
        platform::gl_proc_address("glGetRenderbufferParameterivEXT"));
    GLint depth_bits = 0;
    parameter(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_DEPTH_SIZE_EXT, &depth_bits);
    EXPECT_EQ(depth_bits, 24);
    gl().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(FramebufferTest, WithoutDepthThereIsNoRenderbuffer) {
    ASSERT_TRUE(create_framebuffer(0, 32, 16, texture_, false));
    EXPECT_EQ(offscreen_surface(0)->depth_buffer, 0u);
}

TEST_F(FramebufferTest, AReusedRecordDeletesWhatItHeld) {
    ASSERT_TRUE(create_framebuffer(1, 32, 16, texture_, true));
    const uint32_t first = offscreen_surface(1)->framebuffer;
    ASSERT_TRUE(is_framebuffer(first));
    ASSERT_TRUE(create_framebuffer(1, 32, 16, texture_, true));
    EXPECT_FALSE(is_framebuffer(first));
    EXPECT_TRUE(is_framebuffer(offscreen_surface(1)->framebuffer));
}

TEST_F(FramebufferTest, SizesBelowOneAreRefusedAndLogged) {
    EXPECT_FALSE(create_framebuffer(0, 0, 7, texture_, true));
    EXPECT_FALSE(create_framebuffer(0, 5, -2, texture_, true));
    EXPECT_EQ(offscreen_surface(0)->framebuffer, 0u);
    const std::string log = engine_->log();
    EXPECT_NE(log.find("can't create FBO for neg dims 0x7\n"), std::string::npos);
    EXPECT_NE(log.find("can't create FBO for neg dims 5x-2\n"), std::string::npos);
}

TEST_F(FramebufferTest, AnIncompleteFramebufferIsLoggedDeletedAndUnbound) {
    EXPECT_FALSE(create_framebuffer(4, 32, 16, 0, false));
    const OffscreenSurface& surface = *offscreen_surface(4);
    EXPECT_EQ(surface.framebuffer, 0u);
    EXPECT_EQ(surface.saved_binding, -1);
    EXPECT_EQ(surface.slot, -1);
    EXPECT_EQ(binding(), 0);
    EXPECT_NE(engine_->log().find("glBindRenderbufferExt failed 8cd"), std::string::npos);
}

TEST_F(FramebufferTest, NumbersOutsideTheTableFail) {
    EXPECT_FALSE(create_framebuffer(32, 32, 16, texture_, true));
    EXPECT_FALSE(create_framebuffer(-1, 32, 16, texture_, true));
    EXPECT_EQ(offscreen_surface(32), nullptr);
    EXPECT_EQ(offscreen_surface(-1), nullptr);
}

TEST_F(FramebufferTest, ReleasingABoundRecordBindsWhatWasBoundBefore) {
    ASSERT_TRUE(create_framebuffer(0, 32, 16, texture_, true));
    OffscreenSurface& surface = *offscreen_surface(0);
    gl().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, surface.framebuffer);
    surface.saved_binding = 0;
    const uint32_t name = surface.framebuffer;
    release_framebuffer(surface);
    EXPECT_EQ(binding(), 0);
    EXPECT_FALSE(is_framebuffer(name));
    EXPECT_EQ(surface.slot, -1);
    EXPECT_EQ(surface.saved_binding, -1);
}

TEST_F(FramebufferTest, TheGoingContextTakesEveryFramebufferAndTheCurrentSurface) {
    create_offscreen(0, 100, 16, 16);
    create_offscreen(9, 101, 16, 16);
    const uint32_t first = offscreen_surface(0)->framebuffer;
    const uint32_t second = offscreen_surface(9)->framebuffer;
    use_offscreen(9);
    release_offscreen_surfaces();
    EXPECT_EQ(offscreen_state().current, -1);
    EXPECT_EQ(binding(), 0);
    EXPECT_FALSE(is_framebuffer(first));
    EXPECT_FALSE(is_framebuffer(second));
    EXPECT_EQ(offscreen_surface(9)->slot, -1);
}

TEST_F(FramebufferTest, EntryPointsGoneLaterMakeTheSurfaceEmulated) {
    create_offscreen(0, 100, 16, 16);
    platform::fetch_gl_extension_procs(nullptr);
    testing::suspend_leak_checks();  // the driver keeps the code it builds for drawing
    use_offscreen(0);
    EXPECT_TRUE(offscreen_state().emulated);
    testing::draw_quad(0, 0, 16, 16, 0x0000FF);
    end_offscreen();
    ImageBuffer picture;
    ASSERT_TRUE(read_sprite_pixels(100, picture));
    testing::resume_leak_checks();
    EXPECT_EQ(picture.pixel(15, 15)[0], 255);
}

TEST(FramebufferHidden, RecordsStayEmptyWithoutTheEntryPoints) {
    auto engine = testing::engine_with_framebuffers(true);
    const uint32_t texture = new_bound_texture(false);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    EXPECT_FALSE(create_framebuffer(0, 16, 16, texture, true));
    EXPECT_EQ(offscreen_surface(0)->framebuffer, 0u);
    EXPECT_EQ(engine->log().find("glGenFramebuffersExt failed"), std::string::npos);
}

}  // namespace
}  // namespace vexel
