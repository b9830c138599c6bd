#include "gfx2d/shader_programs.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <new>
#include <string>
#include <vector>

#include "gfx2d/draw_batch.h"
#include "gfx2d/render_context.h"
#include "io/file_stream.h"
#include "platform/gl_extensions.h"

namespace vexel {

namespace {

constexpr GLint kMaxInfoLog = 1 << 16;

ShaderTable g_table;

const platform::GlExtensionProcs& procs() {
    return platform::gl_extension_procs();
}

bool has_shader_functions() {
    const platform::GlExtensionProcs& gl = procs();
    return gl_ready() && gl.glCreateShaderObjectARB && gl.glShaderSourceARB &&
           gl.glCreateProgramObjectARB && gl.glCompileShaderARB && gl.glGetObjectParameterivARB &&
           gl.glAttachObjectARB && gl.glLinkProgramARB && gl.glDeleteObjectARB &&
           gl.glUseProgramObjectARB;
}

void say(ShaderReport report, const std::string& text) {
    if (report) report(text.c_str());
}

bool read_source(const char* name, std::string& text) {
    FileStream file;
    if (!file.open_read(name) || file.size() < 0 || file.size() > kMaxShaderSource) return false;
    try {
        text.assign(size_t(file.size()), '\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    return text.empty() || file.read(text.data(), uint32_t(text.size()));
}

void report_info_log(GLhandleARB object, ShaderReport report) {
    const platform::GlExtensionProcs& gl = procs();
    GLint length = 0;
    gl.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 1 || !gl.glGetInfoLogARB) return;
    if (length > kMaxInfoLog) length = kMaxInfoLog;
    std::vector<GLcharARB> log(size_t(length) + 1, 0);
    GLsizei written = 0;
    gl.glGetInfoLogARB(object, length, &written, log.data());
    say(report, std::string(log.data(), size_t(written > 0 && written <= length ? written : 0)));
}

// A compiled shader of the kind from the file; 0 after reporting the failure.
GLhandleARB compile_shader(const char* file, GLenum kind, const char* failure,
                           ShaderReport report) {
    const platform::GlExtensionProcs& gl = procs();
    std::string source;
    if (!read_source(file, source)) {
        say(report, failure);
        return 0;
    }
    const GLhandleARB shader = gl.glCreateShaderObjectARB(kind);
    if (shader == 0) {
        say(report, failure);
        return 0;
    }
    const GLcharARB* text = source.c_str();
    const GLint length = GLint(source.size());
    gl.glShaderSourceARB(shader, 1, &text, &length);
    gl.glCompileShaderARB(shader);
    GLint compiled = 0;
    gl.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (!compiled) {
        report_info_log(shader, report);
        say(report, failure);
        gl.glDeleteObjectARB(shader);
        return 0;
    }
    return shader;
}

void delete_program(ShaderProgram& record) {
    const platform::GlExtensionProcs& gl = procs();
    for (uint32_t* handle : {&record.program, &record.vertex_shader, &record.fragment_shader}) {
        if (*handle != 0 && gl.glDeleteObjectARB && gl_ready()) gl.glDeleteObjectARB(*handle);
        *handle = 0;
    }
}

// The active program's handle, 0 when the fixed pipeline runs.
GLhandleARB active_program() {
    const int32_t n = g_table.current_shader;
    return n >= 0 && n < kShaderProgramCount ? g_table.programs[size_t(n)].program : 0;
}

GLint uniform_location(const char* name, ShaderReport report) {
    const platform::GlExtensionProcs& gl = procs();
    const GLhandleARB program = active_program();
    if (!gl_ready() || program == 0 || !gl.glGetUniformLocationARB || !name) return -1;
    const GLint location = gl.glGetUniformLocationARB(program, name);
    if (location < 0) say(report, std::string("undefined uniform:") + name);
    return location;
}

}  // namespace

ShaderTable& shader_table() {
    return g_table;
}

bool load_shader_program(int32_t n, const char* vertex_file, const char* fragment_file,
                         ShaderReport report) {
    if (n < 0 || n >= kShaderProgramCount) return false;
    if (!has_shader_functions()) {
        say(report, "No OpenGL 2.0 Shader Support");
        return false;
    }
    const platform::GlExtensionProcs& gl = procs();
    ShaderProgram& record = g_table.programs[size_t(n)];
    if (g_table.current_shader == n) activate_shader(-1);
    delete_program(record);

    bool compiled = true;
    if (vertex_file && *vertex_file) {
        record.vertex_shader =
            compile_shader(vertex_file, GL_VERTEX_SHADER_ARB, "vertex shader failed", report);
        compiled = record.vertex_shader != 0;
    }
    if (fragment_file && *fragment_file) {
        record.fragment_shader =
            compile_shader(fragment_file, GL_FRAGMENT_SHADER_ARB, "fragment shader failed", report);
        compiled = compiled && record.fragment_shader != 0;
    }
    if (!compiled) {
        delete_program(record);
        return false;
    }
    record.program = gl.glCreateProgramObjectARB();
    if (record.program == 0) {
        say(report, "link shader failed");
        delete_program(record);
        return false;
    }
    if (record.vertex_shader) gl.glAttachObjectARB(record.program, record.vertex_shader);
    if (record.fragment_shader) gl.glAttachObjectARB(record.program, record.fragment_shader);
    gl.glLinkProgramARB(record.program);
    GLint linked = 0;
    gl.glGetObjectParameterivARB(record.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) {
        report_info_log(record.program, report);
        say(report, "link shader failed");
        delete_program(record);
        return false;
    }
    return true;
}

void release_shader_programs() {
    flush_2d_batch();
    activate_shader(-1);
    for (ShaderProgram& record : g_table.programs)
        delete_program(record);
    g_table = ShaderTable{};
}

void activate_shader(int32_t n) {
    const platform::GlExtensionProcs& gl = procs();
    if (!gl_ready() || !gl.glUseProgramObjectARB) return;
    flush_2d_batch();
    if (n >= 0 && n < kShaderProgramCount) {
        g_table.current_shader = n;
        gl.glUseProgramObjectARB(g_table.programs[size_t(n)].program);
    } else {
        g_table.current_shader = -1;
        gl.glUseProgramObjectARB(0);
    }
}

void set_uniform_float(const char* name, float value, ShaderReport report) {
    flush_2d_batch();
    const GLint location = uniform_location(name, report);
    if (location >= 0 && procs().glUniform1fARB) procs().glUniform1fARB(location, value);
}

void set_uniform_int(const char* name, int32_t value, ShaderReport report) {
    flush_2d_batch();
    const GLint location = uniform_location(name, report);
    if (location >= 0 && procs().glUniform1iARB) procs().glUniform1iARB(location, value);
}

void set_attribute_float(const char* name, float value, ShaderReport report) {
    const platform::GlExtensionProcs& gl = procs();
    const GLhandleARB program = active_program();
    if (!gl_ready() || program == 0 || !gl.glGetAttribLocationARB || !gl.glVertexAttrib1fARB ||
        !name)
        return;
    flush_2d_batch();
    const GLint location = gl.glGetAttribLocationARB(program, name);
    if (location < 0) {
        say(report, std::string("undefined attrib:") + name);
        return;
    }
    gl.glVertexAttrib1fARB(GLuint(location), value);
}

}  // namespace vexel
