#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <vexel/platform_info.h>
#include <vexel/window.h>

#include "platform/gl_extensions.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using platform::extension_list_has;

TEST(GlExtensions, ANameCountsOnlyAsAWholeWord) {
    const char* list = "GL_ARB_multisample GL_EXT_bgra GL_ARB_multitexture";
    EXPECT_TRUE(extension_list_has(list, "GL_ARB_multisample"));
    EXPECT_TRUE(extension_list_has(list, "GL_EXT_bgra"));
    EXPECT_TRUE(extension_list_has(list, "GL_ARB_multitexture"));
    EXPECT_FALSE(extension_list_has(list, "GL_ARB_multi"));
    EXPECT_FALSE(extension_list_has(list, "ARB_multisample"));
    EXPECT_FALSE(extension_list_has(list, "GL_EXT_bgr"));
    EXPECT_FALSE(extension_list_has(list, "GL_ARB_multitexture2"));
    EXPECT_FALSE(extension_list_has(list, ""));
    EXPECT_FALSE(extension_list_has(nullptr, "GL_EXT_bgra"));
    EXPECT_FALSE(extension_list_has(list, nullptr));
    // A later whole occurrence counts even when an earlier one is only part of a word.
    EXPECT_TRUE(extension_list_has("GL_X_ab GL_X_a", "GL_X_a"));
    EXPECT_TRUE(extension_list_has("XGL_Y GL_Y", "GL_Y"));
}

TEST(GlExtensions, EntryPointsAreFetchedOnlyForListedExtensions) {
    testing::HeadlessEngine engine;
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    platform::fetch_gl_extension_procs(nullptr);
    EXPECT_EQ(procs.glActiveTextureARB, nullptr);
    EXPECT_EQ(procs.glCreateProgramObjectARB, nullptr);

    platform::fetch_gl_extension_procs("GL_ARB_multitexture");
    EXPECT_NE(procs.glActiveTextureARB, nullptr);
    EXPECT_NE(procs.glMultiTexCoord2fARB, nullptr);
    EXPECT_NE(procs.glBindBufferARB, nullptr);
    EXPECT_EQ(procs.glCreateProgramObjectARB, nullptr);

    platform::fetch_gl_extension_procs("GL_ARB_fragment_program");
    EXPECT_EQ(procs.glActiveTextureARB, nullptr);
    EXPECT_NE(procs.glCreateShaderObjectARB, nullptr);
    EXPECT_NE(procs.glVertexAttrib1fARB, nullptr);
}

TEST(GlExtensions, TheFramebufferSwitchHidesTheFramebufferEntryPoints) {
    testing::HeadlessEngine engine;
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    unsetenv("VEXEL_NO_FBO");
    EXPECT_TRUE(platform::fetch_framebuffer_procs());
    EXPECT_NE(procs.glGenFramebuffersEXT, nullptr);
    EXPECT_NE(procs.glCheckFramebufferStatusEXT, nullptr);
    EXPECT_NE(procs.glGetFramebufferAttachmentParameterivEXT, nullptr);

    setenv("VEXEL_NO_FBO", "1", 1);
    EXPECT_FALSE(platform::fetch_framebuffer_procs());
    EXPECT_EQ(procs.glGenFramebuffersEXT, nullptr);
    EXPECT_EQ(procs.glBindFramebufferEXT, nullptr);
    EXPECT_EQ(procs.glRenderbufferStorageEXT, nullptr);
    // The other extensions stay as they were.
    EXPECT_NE(procs.glActiveTextureARB, nullptr);

    setenv("VEXEL_NO_FBO", "0", 1);
    EXPECT_TRUE(platform::fetch_framebuffer_procs());
    setenv("VEXEL_NO_FBO", "", 1);
    EXPECT_TRUE(platform::fetch_framebuffer_procs());
}

TEST(GlExtensions, TheDriversListIsSearchedWholeWord) {
    testing::HeadlessEngine engine;
    const char* list = platform::gl_extension_text();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(has_extension("GL_EXT_bgra") == extension_list_has(list, "GL_EXT_bgra"));
    EXPECT_FALSE(has_extension("GL_ARB_multi"));
    EXPECT_FALSE(has_extension("GL_"));
}

TEST(GlExtensions, AVersionTextIsComparedByMajorThenMinor) {
    using platform::gl_version_at_least;
    const char* mesa = "4.5 (Compatibility Profile) Mesa 22.3.6";
    EXPECT_TRUE(gl_version_at_least(mesa, 4, 5));
    EXPECT_TRUE(gl_version_at_least(mesa, 3, 9));
    EXPECT_FALSE(gl_version_at_least(mesa, 4, 6));
    EXPECT_FALSE(gl_version_at_least(mesa, 5, 0));
    EXPECT_TRUE(gl_version_at_least("10.0", 9, 9));
    EXPECT_FALSE(gl_version_at_least("1.2.1", 1, 3));
    EXPECT_FALSE(gl_version_at_least("OpenGL 4.5", 1, 0));
    EXPECT_FALSE(gl_version_at_least("4", 1, 0));
    EXPECT_FALSE(gl_version_at_least("", 1, 0));
    EXPECT_FALSE(gl_version_at_least(nullptr, 1, 0));
}

// The driver hands out an entry point for any name starting with "gl"; the answer comes from
// the context's extension list and its version instead.
TEST(GlExtensions, PlatformInfoAnswersFromTheContextsExtensionsAndVersion) {
    testing::HeadlessEngine engine;
    const char* version = platform::gl_version_text();
    const auto answer = [](const char* key) { return std::string(platform_info(key).c_str()); };
    const auto expected = [](bool offered) { return std::string(offered ? "1" : "0"); };
    EXPECT_EQ(answer("GLEXT:glMadeUpFunctionEXT"), "0");
    EXPECT_EQ(answer("GLEXT:glClear"), "1");
    EXPECT_EQ(answer("GLEXT:glActiveTexture"),
              expected(platform::gl_version_at_least(version, 1, 3)));
    EXPECT_EQ(answer("GLEXT:glGenFramebuffers"),
              expected(platform::gl_version_at_least(version, 3, 0)));
    EXPECT_EQ(answer("GLEXT:glSpecializeShader"),
              expected(platform::gl_version_at_least(version, 4, 6)));
    EXPECT_EQ(answer("glext:glGenFramebuffersEXT"),
              expected(has_extension("GL_EXT_framebuffer_object")));
    EXPECT_EQ(answer("GLEXT:glGenPathsNV"), expected(has_extension("GL_NV_path_rendering")));
    EXPECT_EQ(answer("GLEXT:GLGENFRAMEBUFFERSEXT"), "0");
    EXPECT_EQ(answer("GLEXT:"), "0");
    // On this machine's driver, so that the cases above are not all of one kind.
    EXPECT_EQ(answer("GLEXT:glGenFramebuffersEXT"), "1");
}

}  // namespace
}  // namespace vexel
