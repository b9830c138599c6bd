#include "platform/gl_extensions.h"

#include <cstdlib>
#include <cstring>

#include <vexel/window.h>

#include "platform/gl_context.h"

namespace vexel::platform {

namespace {

GlExtensionProcs g_procs;

template <typename Proc>
void fetch(Proc& slot, const char* name) {
    slot = reinterpret_cast<Proc>(gl_proc_address(name));
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

}  // namespace vexel::platform

namespace vexel {

bool has_extension(const char* name) {
    return platform::extension_list_has(platform::gl_extension_text(), name);
}

}  // namespace vexel
