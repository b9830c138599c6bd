#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/frame.h>
#include <vexel/shaders.h>

#include "gfx2d/shader_programs.h"
#include "io/virtual_files.h"
#include "platform/gl_context.h"
#include "platform/gl_extensions.h"
#include "support/headless_engine.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

constexpr const char* kVertex =
    "attribute float weight;\n"
    "varying float shade;\n"
    "void main() { shade = weight; gl_Position = ftransform(); }\n";
constexpr const char* kFragment =
    "uniform float scale;\n"
    "uniform int TextureID1;\n"
    "uniform vec4 tint;\n"
    "varying float shade;\n"
    "void main() { gl_FragColor = tint * scale + vec4(shade, float(TextureID1), 0.0, 0.0); }\n";
constexpr const char* kFlatFragment =
    "uniform vec4 tint;\n"
    "void main() { gl_FragColor = tint; }\n";

std::vector<std::string> g_reports;

void record(const char* text) {
    g_reports.push_back(text);
}

class ShaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_reports.clear();
        ASSERT_TRUE(engine_.has_window());
        ASSERT_NE(platform::gl_extension_procs().glCreateProgramObjectARB, nullptr);
    }
    std::string file(const std::string& name, const std::string& text) {
        const std::string path = engine_.temp().file(name);
        testing::write_file(path, text);
        return path;
    }
    bool load(int32_t n, const std::string& vertex, const std::string& fragment) {
        return load_shader_program(n, vertex.c_str(), fragment.c_str(), record);
    }
    const ShaderProgram& program(int32_t n) { return shader_table().programs[size_t(n)]; }
    GLint current_program() {
        GLint value = -1;
        glGetIntegerv(GL_CURRENT_PROGRAM, &value);
        return value;
    }
    float uniform_float(const char* name) {
        auto get = reinterpret_cast<PFNGLGETUNIFORMFVARBPROC>(
            platform::gl_proc_address("glGetUniformfvARB"));
        const auto location =
            platform::gl_extension_procs().glGetUniformLocationARB(program(0).program, name);
        float value = -1;
        get(program(0).program, location, &value);
        return value;
    }
    int32_t uniform_int(const char* name) {
        auto get = reinterpret_cast<PFNGLGETUNIFORMIVARBPROC>(
            platform::gl_proc_address("glGetUniformivARB"));
        const auto location =
            platform::gl_extension_procs().glGetUniformLocationARB(program(0).program, name);
        GLint value = -1;
        get(program(0).program, location, &value);
        return value;
    }
    bool load_good_program() {
        return load(0, file("good.vert", kVertex), file("good.frag", kFragment));
    }

    testing::HeadlessEngine engine_;
};

TEST_F(ShaderTest, AGoodProgramLinksAndBecomesActive) {
    ASSERT_TRUE(load_good_program());
    EXPECT_TRUE(g_reports.empty());
    EXPECT_NE(program(0).program, 0u);
    EXPECT_NE(program(0).vertex_shader, 0u);
    EXPECT_NE(program(0).fragment_shader, 0u);
    use_shader(0);
    EXPECT_EQ(shader_table().current_shader, 0);
    EXPECT_EQ(current_program(), GLint(program(0).program));
}

TEST_F(ShaderTest, TheActiveProgramDrawsWithItsUniforms) {
    ASSERT_TRUE(load(4, "", file("flat.frag", kFlatFragment)));
    testing::suspend_leak_checks();  // the driver keeps the code it builds for drawing
    use_shader(4);
    auto uniform4f =
        reinterpret_cast<PFNGLUNIFORM4FARBPROC>(platform::gl_proc_address("glUniform4fARB"));
    uniform4f(platform::gl_extension_procs().glGetUniformLocationARB(program(4).program, "tint"), 0,
              1, 0, 1);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(10, 0);
    glVertex2i(10, 10);
    glVertex2i(0, 10);
    glEnd();
    EXPECT_EQ(testing::read_pixel(5, 480 - 5), 0x00FF00);
    testing::resume_leak_checks();
    use_shader(-1);
    EXPECT_EQ(current_program(), 0);
}

TEST_F(ShaderTest, UniformsAreSetAndReadBack) {
    ASSERT_TRUE(load_good_program());
    use_shader(0);
    set_uniform_float("scale", 0.25f, record);
    set_uniform_int("TextureID1", 3, record);
    EXPECT_TRUE(g_reports.empty());
    EXPECT_FLOAT_EQ(uniform_float("scale"), 0.25f);
    EXPECT_EQ(uniform_int("TextureID1"), 3);
    // The script commands reach the same program.
    set_shader_float("scale", 2.5);
    set_shader_int("TextureID1", 1);
    EXPECT_FLOAT_EQ(uniform_float("scale"), 2.5f);
    EXPECT_EQ(uniform_int("TextureID1"), 1);
}

TEST_F(ShaderTest, AnUnknownUniformIsReportedAndChangesNothing) {
    ASSERT_TRUE(load_good_program());
    use_shader(0);
    set_uniform_float("scale", 0.5f, record);
    set_uniform_float("missing", 9.0f, record);
    set_uniform_int("also_missing", 9, record);
    EXPECT_EQ(g_reports, (std::vector<std::string>{"undefined uniform:missing",
                                                   "undefined uniform:also_missing"}));
    EXPECT_FLOAT_EQ(uniform_float("scale"), 0.5f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShaderTest, AttributesAreSetAndUnknownOnesReported) {
    ASSERT_TRUE(load_good_program());
    use_shader(0);
    set_attribute_float("weight", 0.75f, record);
    set_attribute_float("nothing", 1.0f, record);
    EXPECT_EQ(g_reports, (std::vector<std::string>{"undefined attrib:nothing"}));
    const GLint location =
        platform::gl_extension_procs().glGetAttribLocationARB(program(0).program, "weight");
    ASSERT_GE(location, 0);
    auto get = reinterpret_cast<PFNGLGETVERTEXATTRIBFVARBPROC>(
        platform::gl_proc_address("glGetVertexAttribfvARB"));
    float value[4] = {};
    get(GLuint(location), GL_CURRENT_VERTEX_ATTRIB_ARB, value);
    EXPECT_FLOAT_EQ(value[0], 0.75f);
}

TEST_F(ShaderTest, WithoutAnActiveProgramNothingIsSetOrReported) {
    ASSERT_TRUE(load_good_program());
    set_uniform_float("missing", 1.0f, record);
    set_attribute_float("missing", 1.0f, record);
    EXPECT_TRUE(g_reports.empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShaderTest, AVertexCompileFailureReportsTheLogAndFails) {
    EXPECT_FALSE(load(2, file("bad.vert", "void main() { this is not glsl; }"),
                      file("good.frag", kFragment)));
    ASSERT_GE(g_reports.size(), 2u);
    EXPECT_FALSE(g_reports.front().empty());
    EXPECT_EQ(g_reports.back(), "vertex shader failed");
    EXPECT_EQ(program(2).program, 0u);
    EXPECT_EQ(program(2).vertex_shader, 0u);
    EXPECT_EQ(program(2).fragment_shader, 0u);
}

TEST_F(ShaderTest, AFragmentCompileFailureReportsTheLogAndFails) {
    EXPECT_FALSE(load(2, file("good.vert", kVertex), file("bad.frag", "void main() { x; }")));
    ASSERT_GE(g_reports.size(), 2u);
    EXPECT_EQ(g_reports.back(), "fragment shader failed");
    EXPECT_EQ(program(2).program, 0u);
}

TEST_F(ShaderTest, ALinkFailureReportsTheLogAndFails) {
    const std::string fragment = file(
        "unresolved.frag", "void helper();\nvoid main() { helper(); gl_FragColor = vec4(1); }\n");
    EXPECT_FALSE(load(5, "", fragment));
    ASSERT_GE(g_reports.size(), 1u);
    EXPECT_EQ(g_reports.back(), "link shader failed");
    EXPECT_EQ(program(5).program, 0u);
    EXPECT_EQ(program(5).fragment_shader, 0u);
}

TEST_F(ShaderTest, AMissingFileFails) {
    EXPECT_FALSE(load(1, engine_.temp().file("absent.vert"), ""));
    EXPECT_EQ(g_reports, (std::vector<std::string>{"vertex shader failed"}));
}

TEST_F(ShaderTest, AnOversizedSourceIsNotRead) {
    std::string huge(size_t(kMaxShaderSource) + 1, ' ');
    huge += kFlatFragment;
    EXPECT_FALSE(load(1, "", file("huge.frag", huge)));
    EXPECT_EQ(g_reports, (std::vector<std::string>{"fragment shader failed"}));
}

TEST_F(ShaderTest, SourcesComeFromVirtualFilesToo) {
    const std::string text = kFlatFragment;
    const uint32_t handle = register_memory_block(text.data(), uint32_t(text.size()));
    EXPECT_TRUE(load(6, "", memory_file_name(uint32_t(text.size()), handle)));
    unregister_memory_block(handle);
    EXPECT_NE(program(6).program, 0u);
}

TEST_F(ShaderTest, ReloadingReplacesTheProgramAndAFailedReloadEmptiesIt) {
    ASSERT_TRUE(load_good_program());
    use_shader(0);
    EXPECT_FALSE(load(0, file("bad.vert", "nonsense"), ""));
    EXPECT_EQ(program(0).program, 0u);
    EXPECT_EQ(shader_table().current_shader, -1);
    EXPECT_EQ(current_program(), 0);
}

TEST_F(ShaderTest, NumbersOutsideTheTableAreIgnoredAndRestoreTheFixedPipeline) {
    EXPECT_FALSE(load(255, "", file("flat.frag", kFlatFragment)));
    EXPECT_FALSE(load(-1, "", file("flat.frag", kFlatFragment)));
    EXPECT_TRUE(g_reports.empty());
    ASSERT_TRUE(load_good_program());
    use_shader(0);
    use_shader(255);
    EXPECT_EQ(shader_table().current_shader, -1);
    EXPECT_EQ(current_program(), 0);
    use_shader(0);
    use_shader(-7);
    EXPECT_EQ(current_program(), 0);
}

TEST_F(ShaderTest, EveryPresentEndsWithTheFixedPipeline) {
    setenv("VEXEL_FIXED_FRAME_MS", "1", 1);
    ASSERT_TRUE(load_good_program());
    use_shader(0);
    show_screen();
    EXPECT_EQ(shader_table().current_shader, -1);
    EXPECT_EQ(current_program(), 0);
}

TEST_F(ShaderTest, WithoutShaderFunctionsLoadingIsRefused) {
    platform::fetch_gl_extension_procs(nullptr);
    EXPECT_FALSE(load(0, file("good.vert", kVertex), file("good.frag", kFragment)));
    EXPECT_EQ(g_reports, (std::vector<std::string>{"No OpenGL 2.0 Shader Support"}));
    use_shader(0);
    EXPECT_EQ(shader_table().current_shader, -1);
}

TEST_F(ShaderTest, TheScriptCommandsLoadAndFail) {
    EXPECT_TRUE(load_shader(3, DynString(file("good.vert", kVertex).c_str()),
                            DynString(file("good.frag", kFragment).c_str())));
    EXPECT_FALSE(load_shader(3, DynString(file("bad.vert", "nonsense").c_str()), DynString()));
}

}  // namespace
}  // namespace vexel
