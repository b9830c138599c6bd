#include "platform/gl_extensions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <vexel/window.h>

#include "platform/gl_context.h"
#include "platform/gl_entry_points.h"

namespace vexel::platform {

namespace {

GlExtensionProcs g_procs;

template <typename Proc>
void fetch(Proc& slot, const char* name) {
    slot = reinterpret_cast<Proc>(gl_proc_address(name));
}

// A decimal number of at most four digits, taken off the front of *text.
bool read_number(const char** text, int* value) {
    int digits = 0;
    *value = 0;
    while (**text >= '0' && **text <= '9' && digits < 4) {
        *value = *value * 10 + (**text - '0');
        ++*text;
        ++digits;
    }
    return digits > 0;
}

// "GL_VERSION_3_0" names core version 3.0; extension names give false.
bool core_version(const char* feature, int* major, int* minor) {
    constexpr char kPrefix[] = "GL_VERSION_";
    if (std::strncmp(feature, kPrefix, sizeof kPrefix - 1) != 0) return false;
    const char* at = feature + sizeof kPrefix - 1;
    return read_number(&at, major) && *at++ == '_' && read_number(&at, minor) && *at == '\0';
}

}  // namespace

const GlExtensionProcs& gl_extension_procs() {
    return g_procs;
}

void fetch_gl_extension_procs(const char* extensions) {
    GlExtensionProcs& p = g_procs;
    p = GlExtensionProcs{};
    if (!extensions) return;
    if (std::strstr(extensions, "GL_ARB_multitexture")) {
        fetch(p.glActiveTextureARB, "glActiveTextureARB");
        fetch(p.glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
        fetch(p.glClientActiveTextureARB, "glClientActiveTextureARB");
        fetch(p.glGenBuffersARB, "glGenBuffersARB");
        fetch(p.glBindBufferARB, "glBindBufferARB");
        fetch(p.glBufferDataARB, "glBufferDataARB");
        fetch(p.glDeleteBuffersARB, "glDeleteBuffersARB");
        fetch(p.glMapBufferARB, "glMapBufferARB");
        fetch(p.glUnmapBufferARB, "glUnmapBufferARB");
        fetch(p.glGetBufferParameterivARB, "glGetBufferParameterivARB");
    }
    if (std::strstr(extensions, "GL_EXT_multi_draw_arrays"))
        fetch(p.glMultiDrawArraysEXT, "glMultiDrawArraysEXT");
    if (std::strstr(extensions, "GL_ARB_fragment_program")) {
        fetch(p.glCreateProgramObjectARB, "glCreateProgramObjectARB");
        fetch(p.glDeleteObjectARB, "glDeleteObjectARB");
        fetch(p.glCreateShaderObjectARB, "glCreateShaderObjectARB");
        fetch(p.glShaderSourceARB, "glShaderSourceARB");
        fetch(p.glCompileShaderARB, "glCompileShaderARB");
        fetch(p.glGetObjectParameterivARB, "glGetObjectParameterivARB");
        fetch(p.glAttachObjectARB, "glAttachObjectARB");
        fetch(p.glGetInfoLogARB, "glGetInfoLogARB");
        fetch(p.glLinkProgramARB, "glLinkProgramARB");
        fetch(p.glUseProgramObjectARB, "glUseProgramObjectARB");
        fetch(p.glGetUniformLocationARB, "glGetUniformLocationARB");
        fetch(p.glUniform1fARB, "glUniform1fARB");
        fetch(p.glUniform1iARB, "glUniform1iARB");
        fetch(p.glGetAttribLocationARB, "glGetAttribLocationARB");
        fetch(p.glVertexAttrib1fARB, "glVertexAttrib1fARB");
    }
}

bool fetch_framebuffer_procs() {
    GlExtensionProcs& p = g_procs;
    p.glBindRenderbufferEXT = nullptr;
    p.glDeleteRenderbuffersEXT = nullptr;
    p.glGenRenderbuffersEXT = nullptr;
    p.glRenderbufferStorageEXT = nullptr;
    p.glBindFramebufferEXT = nullptr;
    p.glDeleteFramebuffersEXT = nullptr;
    p.glGenFramebuffersEXT = nullptr;
    p.glCheckFramebufferStatusEXT = nullptr;
    p.glFramebufferTexture2DEXT = nullptr;
    p.glFramebufferRenderbufferEXT = nullptr;
    p.glGetFramebufferAttachmentParameterivEXT = nullptr;
    const char* hidden = std::getenv("VEXEL_NO_FBO");
    if (hidden && *hidden && std::strcmp(hidden, "0") != 0) return false;
    fetch(p.glBindRenderbufferEXT, "glBindRenderbufferEXT");
    fetch(p.glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT");
    fetch(p.glGenRenderbuffersEXT, "glGenRenderbuffersEXT");
    fetch(p.glRenderbufferStorageEXT, "glRenderbufferStorageEXT");
    fetch(p.glBindFramebufferEXT, "glBindFramebufferEXT");
    fetch(p.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    fetch(p.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    fetch(p.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    fetch(p.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    fetch(p.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
    fetch(p.glGetFramebufferAttachmentParameterivEXT, "glGetFramebufferAttachmentParameterivEXT");
    return p.glGenFramebuffersEXT != nullptr;
}

bool extension_list_has(const char* list, const char* name) {
    if (!list || !name || !*name) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name)) {
        const bool starts_word = at == list || at[-1] == ' ';
        const bool ends_word = at[length] == ' ' || at[length] == '\0';
        if (starts_word && ends_word) return true;
    }
    return false;
}

const char* gl_extension_text() {
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return text && *text ? text : nullptr;
}

const char* gl_version_text() {
    return reinterpret_cast<const char*>(glGetString(GL_VERSION));
}

bool gl_version_at_least(const char* version, int major, int minor) {
    if (!version) return false;
    int have_major = 0;
    int have_minor = 0;
    const char* at = version;
    if (!read_number(&at, &have_major) || *at++ != '.' || !read_number(&at, &have_minor))
        return false;
    return have_major > major || (have_major == major && have_minor >= minor);
}

void* gl_offered_proc_address(const char* name) {
    if (!name || !*name) return nullptr;
    const GlEntryPoint* end = kGlEntryPoints + kGlEntryPointCount;
    const auto [first, last] = std::equal_range(kGlEntryPoints, end, GlEntryPoint{name, ""},
                                                [](const GlEntryPoint& a, const GlEntryPoint& b) {
                                                    return std::strcmp(a.name, b.name) < 0;
                                                });
    const char* extensions = gl_extension_text();
    const char* version = gl_version_text();
    for (const GlEntryPoint* entry = first; entry != last; ++entry) {
        int major = 0;
        int minor = 0;
        const bool offered = core_version(entry->feature, &major, &minor)
                                 ? gl_version_at_least(version, major, minor)
                                 : extension_list_has(extensions, entry->feature);
        if (offered) return gl_proc_address(name);
    }
    return nullptr;
}

}  // namespace vexel::platform

namespace vexel {

bool has_extension(const char* name) {
    return platform::extension_list_has(platform::gl_extension_text(), name);
}

}  // namespace vexel
