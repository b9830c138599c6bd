#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vexel/window.h>

#include "platform/gl_enable_cache.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using namespace platform;

TEST(GlEnableCache, SwitchesReachOpenGlOnlyWhenTheCachedStateDiffers) {
    testing::HeadlessEngine engine;
    reset_gl_state();
    EXPECT_EQ(gl_enable_cache_state(GL_FOG), 0);
    EXPECT_EQ(gl_enable_cache_state(GL_ALPHA_TEST), 1);

    glEnable(GL_FOG);  // behind the cache's back
    gl_disable(GL_FOG);
    EXPECT_TRUE(glIsEnabled(GL_FOG));  // the cache believed it was off already

    gl_enable_cache_invalidate();
    EXPECT_EQ(gl_enable_cache_state(GL_FOG), kEnableUnknown);
    gl_disable(GL_FOG);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    gl_enable(GL_FOG);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(gl_enable_cache_state(GL_FOG), 1);
}

TEST(GlEnableCache, PerUnitCapabilitiesAlwaysReachOpenGl) {
    testing::HeadlessEngine engine;
    EXPECT_EQ(gl_enable_cache_state(GL_TEXTURE_2D), -1);
    gl_enable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    gl_enable(GL_TEXTURE_2D);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

}  // namespace
}  // namespace vexel
