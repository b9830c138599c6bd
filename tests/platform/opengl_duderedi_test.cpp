#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include <vexel/app.h>
#include <vexel/frame.h>
#include <vexel/window.h>

#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "platform/render_hooks.h"
#include "platform/video.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using platform::OpenGLDuderedi;
using ::testing::HasSubstr;
using testing::HeadlessEngine;

using Matrix = std::array<float, 16>;

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                r[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return r;
}

Matrix ortho(float w, float h) {
    Matrix m{};
    m[0] = 2 / w;
    m[5] = -2 / h;
    m[10] = -1;
    m[12] = -1;
    m[13] = 1;
    m[15] = 1;
    return m;
}

// The turn of each orientation, as the window code documents it (column-major).
Matrix turn(int orientation) {
    Matrix m{};
    m[10] = m[15] = 1;
    switch (orientation) {
        case 1:
            m[1] = -1;
            m[4] = 1;
            break;
        case 2:
            m[0] = -1;
            m[5] = -1;
            break;
        case 3:
            m[1] = 1;
            m[4] = -1;
            break;
        default:
            m[0] = m[5] = 1;
            break;
    }
    return m;
}

Matrix read_matrix(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

std::array<GLint, 4> read_viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

void expect_matrix_near(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "element " << i;
}

TEST(OpenGLDuderedi, ProjectionAndViewportFollowEachOrientation) {
    HeadlessEngine engine;
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    ASSERT_EQ(gl->width, 640);
    ASSERT_EQ(gl->height, 480);
    for (int orientation = 0; orientation < 4; ++orientation) {
        SCOPED_TRACE(orientation);
        gl->orientation = orientation;
        const bool sideways = orientation % 2 == 1;
        set_viewport(0, 0, 0, 0);
        const float w = sideways ? 480 : 640;
        const float h = sideways ? 640 : 480;
        expect_matrix_near(read_matrix(GL_PROJECTION_MATRIX),
                           multiply(turn(orientation), ortho(w, h)));
        expect_matrix_near(read_matrix(GL_MODELVIEW_MATRIX), turn(0));
        EXPECT_EQ(read_viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
        EXPECT_EQ(gl->viewport_width, static_cast<int32_t>(w));
        EXPECT_EQ(gl->viewport_height, static_cast<int32_t>(h));

        set_viewport(10, 20, 100, 50);
        expect_matrix_near(read_matrix(GL_PROJECTION_MATRIX),
                           multiply(turn(orientation), ortho(100, 50)));
        EXPECT_EQ(gl->viewport_x, 10);
        EXPECT_EQ(gl->viewport_y, 20);
        EXPECT_EQ(gl->viewport_width, 100);
        EXPECT_EQ(gl->viewport_height, 50);
    }
}

TEST(OpenGLDuderedi, AViewportRectangleTurnsIntoWindowCoordinates) {
    HeadlessEngine engine;
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    const std::array<GLint, 4> expected[] = {
        {10, 410, 100, 50}, {570, 370, 50, 100}, {530, 20, 100, 50}, {20, 10, 50, 100}};
    for (int orientation = 0; orientation < 4; ++orientation) {
        gl->orientation = orientation;
        set_viewport(10, 20, 100, 50);
        EXPECT_EQ(read_viewport(), expected[orientation]) << orientation;
    }
}

TEST(OpenGLDuderedi, ExtremeViewportValuesAndOrientationsAreHarmless) {
    HeadlessEngine engine;
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    for (int orientation : {0, 1, 2, 3, 4, -1}) {
        gl->orientation = orientation;
        set_viewport(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);
        set_viewport(INT32_MIN, INT32_MAX, 1, INT32_MAX);
        set_viewport(5, 5, -10, 20);
        EXPECT_EQ(gl->viewport_x, 0);
        EXPECT_EQ(gl->viewport_width, orientation % 2 != 0 && orientation > 0 ? 480 : 640);
    }
    gl->orientation = 7;  // not a turn: treated as upright
    set_viewport(0, 0, 0, 0);
    EXPECT_EQ(read_viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
}

TEST(OpenGLDuderedi, TheScriptsTopLeftCornerLandsWhereTheScreenIsTurned) {
    HeadlessEngine engine;
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    // Window pixels (from the bottom-left) of the corner the script calls (0, 0).
    const std::array<int, 2> corner[] = {{0, 479}, {639, 479}, {639, 0}, {0, 0}};
    const std::array<int, 2> opposite[] = {{639, 0}, {0, 0}, {0, 479}, {639, 479}};
    testing::suspend_leak_checks();  // the driver keeps the code it builds for drawing
    for (int orientation = 0; orientation < 4; ++orientation) {
        SCOPED_TRACE(orientation);
        gl->orientation = orientation;
        set_viewport(0, 0, 0, 0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1, 0, 0, 1);
        glBegin(GL_QUADS);
        glVertex2f(0, 0);
        glVertex2f(4, 0);
        glVertex2f(4, 4);
        glVertex2f(0, 4);
        glEnd();
        EXPECT_EQ(testing::read_pixel(corner[orientation][0], corner[orientation][1]), 0x0000FF);
        EXPECT_EQ(testing::read_pixel(opposite[orientation][0], opposite[orientation][1]), 0);
    }
    testing::resume_leak_checks();
}

TEST(OpenGLDuderedi, ResetGlStateLeavesTheDocumentedState) {
    HeadlessEngine engine;
    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH,
                       GL_STENCIL_TEST, GL_NORMALIZE, GL_LIGHTING, GL_COLOR_MATERIAL, GL_DITHER,
                       GL_POLYGON_SMOOTH, GL_POLYGON_OFFSET_FILL, GL_AUTO_NORMAL, GL_BLEND})
        glEnable(cap);
    glDisable(GL_ALPHA_TEST);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    glAlphaFunc(GL_ALWAYS, 0.5f);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    platform::opengl_duderedi()->alpha_test_threshold = 0.9f;

    reset_gl_state();

    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH,
                       GL_STENCIL_TEST, GL_NORMALIZE, GL_LIGHTING, GL_COLOR_MATERIAL, GL_DITHER,
                       GL_POLYGON_SMOOTH, GL_POLYGON_OFFSET_FILL, GL_AUTO_NORMAL, GL_BLEND})
        EXPECT_FALSE(glIsEnabled(cap)) << std::hex << cap;
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    GLint value = 0;
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CW);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_FLAT);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &value);
    EXPECT_EQ(value, GL_GREATER);
    GLfloat reference = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_NEAR(reference, 0.05f, 1e-6);
    EXPECT_FLOAT_EQ(platform::opengl_duderedi()->alpha_test_threshold, 0.05f);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_FASTEST);
    glGetIntegerv(GL_POLYGON_SMOOTH_HINT, &value);
    EXPECT_EQ(value, GL_FASTEST);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{1, 1, 1, 1}));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(value, 0);
}

int g_freed = 0;
int g_surfaces = 0;
int g_resets = 0;
void count_free() {
    ++g_freed;
}
void count_surfaces() {
    ++g_surfaces;
}
void count_resets() {
    ++g_resets;
}

TEST(OpenGLDuderedi, TheContextSurvivesWindowReCreation) {
    HeadlessEngine engine;
    platform::render_hooks().free_all_textures = count_free;
    platform::render_hooks().init_offscreen_surfaces = count_surfaces;
    platform::render_hooks().reset_2d_state = count_resets;
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    platform::NativeGlContext* context = gl->gl_context;

    EXPECT_EQ(gl->destroy_window(), 0);
    EXPECT_EQ(gl->window, nullptr);
    EXPECT_EQ(gl->width, 0);
    EXPECT_EQ(gl->height, 0);
    EXPECT_EQ(g_freed, 1);
    EXPECT_EQ(gl->destroy_window(), 0);
    EXPECT_EQ(g_freed, 1);

    ASSERT_TRUE(gl->create_window(320, 200, 0, 30, 0));
    EXPECT_EQ(gl->gl_context, context);
    EXPECT_EQ(gl->width, 320);
    EXPECT_EQ(gl->height, 200);
    EXPECT_NEAR(gl->ms_per_frame, 1000.0 / 30, 1e-9);
    EXPECT_EQ(g_surfaces, 1);
    EXPECT_GE(g_resets, 1);
    EXPECT_FALSE(platform::window_is_visible(gl->window));
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(testing::read_pixel(5, 5), 0x00FF00);
}

TEST(OpenGLDuderedi, AMultisampleRequestFallsBackToWhatTheDriverOffers) {
    project_settings().multisample = 8;
    HeadlessEngine engine;
    ASSERT_TRUE(engine.has_window());
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    EXPECT_EQ(gl->multisample, 0);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    const int32_t chosen = platform::window_samples(gl->window);
    EXPECT_EQ(chosen, samples);
    if (has_extension("GL_ARB_multisample")) {
        EXPECT_GE(chosen, 1);
    } else {
        EXPECT_EQ(chosen, 0);
    }
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(testing::read_pixel(1, 1), 0xFF0000);
    EXPECT_THAT(engine.log(), HasSubstr("OGRB init [OK]\n"));
}

// Drivers round a request up to the counts they have (llvmpipe: 2 becomes 4).
TEST(OpenGLDuderedi, TheSampleCountReportedIsTheOneObtained) {
    project_settings().multisample = 2;
    HeadlessEngine engine;
    ASSERT_TRUE(engine.has_window());
    if (!has_extension("GL_ARB_multisample")) GTEST_SKIP() << "no multisampling";
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_GE(samples, 2);
    EXPECT_EQ(platform::window_samples(platform::opengl_duderedi()->window), samples);
}

TEST(OpenGLDuderedi, FrameRateZeroGivesATwoMillisecondPeriod) {
    project_settings().frame_rate = 0;
    HeadlessEngine engine;
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    EXPECT_EQ(gl->ms_per_frame, 2.0);
    limit_fps(60);
    EXPECT_NEAR(gl->ms_per_frame, 1000.0 / 60, 1e-9);
    limit_fps(59.9);
    EXPECT_NEAR(gl->ms_per_frame, 1000.0 / 59, 1e-9);
    limit_fps(-3);
    EXPECT_EQ(gl->ms_per_frame, 2.0);
    limit_fps(std::nan(""));
    EXPECT_EQ(gl->ms_per_frame, 2.0);
    limit_fps(1e30);
    EXPECT_GT(gl->ms_per_frame, 0);
}

TEST(OpenGLDuderedi, TheExtensionTableAndTheBgraFlagFollowTheDriver) {
    HeadlessEngine engine;
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(text, nullptr);
    const std::string extensions = text;
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (extensions.find("GL_ARB_multitexture") != std::string::npos) {
        EXPECT_NE(procs.glActiveTextureARB, nullptr);
        EXPECT_NE(procs.glGenBuffersARB, nullptr);
    }
    if (extensions.find("GL_ARB_fragment_program") != std::string::npos) {
        EXPECT_NE(procs.glCreateShaderObjectARB, nullptr);
        EXPECT_NE(procs.glUseProgramObjectARB, nullptr);
    }
    const bool bgra = extensions.find("GL_EXT_bgra") != std::string::npos;
    EXPECT_EQ(platform::opengl_duderedi()->bgra_supported, bgra);
    EXPECT_THAT(engine.log(),
                HasSubstr(bgra ? "BGRA ext supported\n" : "BGRA ext NOT supported\n"));
}

const char kSoftwareWarning[] = "*** OpenGL Software Emulation - update driver!\n";

bool renderer_is(const char* name) {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer && std::string(renderer).find(name) != std::string::npos;
}

// Mesa's reference rasteriser, asked for by name, stands for the slow renderers warned about.
TEST(OpenGLDuderedi, TheSoftwareRendererWarningIsLoggedOncePerProcess) {
    setenv("GALLIUM_DRIVER", "softpipe", 1);
    HeadlessEngine engine;
    if (!renderer_is("softpipe")) GTEST_SKIP() << "the driver has no softpipe";
    OpenGLDuderedi* gl = platform::opengl_duderedi();
    gl->destroy_window();
    ASSERT_TRUE(gl->create_window(640, 480, 0, 60, 0));
    const std::string log = engine.log();
    EXPECT_EQ(log.find(kSoftwareWarning), log.rfind(kSoftwareWarning));
    EXPECT_NE(log.find(kSoftwareWarning), std::string::npos);
    EXPECT_TRUE(platform::video_is_headless());
}

TEST(OpenGLDuderedi, LlvmpipeIsAFullDriverAndGetsNoWarning) {
    HeadlessEngine engine;
    if (!renderer_is("llvmpipe")) GTEST_SKIP() << "another renderer";
    EXPECT_THAT(engine.log(), ::testing::Not(HasSubstr(kSoftwareWarning)));
}

TEST(SoftwareRenderer, SlowRasterisersAndContextsBelowOpenGl13AreWarnedAbout) {
    struct Case {
        const char* renderer;
        const char* version;
        bool warned;
    };
    const Case cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", "4.5 (Compatibility Profile) Mesa 22.3.6", false},
        {"softpipe", "3.3 (Compatibility Profile) Mesa 22.3.6", true},
        {"Mesa X11 swrast", "2.1 Mesa 7.0", true},
        {"Mesa Windows GDI Driver", "1.1.0", true},
        {"Mesa Windows GDI Driver 2", "4.5", false},
        {"AMD Radeon RX 6600 (radeonsi)", "4.6 (Compatibility Profile) Mesa 23.0", false},
        {"An old card", "1.2.1", true},
        {"An old card", "1.3", false},
        {"An old card", "", true},
        {"", nullptr, true},
        {nullptr, "4.5", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::needs_software_renderer_warning(c.renderer, c.version), c.warned)
            << (c.renderer ? c.renderer : "null") << " / " << (c.version ? c.version : "null");
    }
}

TEST(SoftwareRenderer, AdviceComesFromTheDriverFileWhenItHasText) {
    testing::ScopedTempDir temp;
    char previous[1024];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(temp.path().c_str()), 0);
    const std::string standard =
        "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n";
    EXPECT_EQ(platform::software_renderer_advice().c_str(), standard);
    testing::write_file("opengldriver.txt", "");
    EXPECT_EQ(platform::software_renderer_advice().c_str(), standard);
    testing::write_file("opengldriver.txt", "Install the vendor driver.\n");
    EXPECT_STREQ(platform::software_renderer_advice().c_str(), "Install the vendor driver.\n");
    testing::write_file("opengldriver.txt", std::string(5000, 'x'));
    EXPECT_EQ(platform::software_renderer_advice().length(), 2047u);
    ASSERT_EQ(chdir(previous), 0);
}

TEST(OpenGLDuderedi, TheDesktopSizeIsRemembered) {
    HeadlessEngine engine;
    double w = 0;
    double h = 0;
    get_desktop_size(w, h);
    int32_t mode_w = 0;
    int32_t mode_h = 0;
    int32_t bits = 0;
    platform::desktop_mode(&mode_w, &mode_h, &bits);
    EXPECT_GT(w, 0);
    EXPECT_EQ(w, mode_w);
    EXPECT_EQ(h, mode_h);
    EXPECT_EQ(platform::opengl_duderedi()->colour_bits, bits);
}

}  // namespace
}  // namespace vexel
