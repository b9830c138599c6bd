// OpenGL extensions: the whole-word extension test and the table of extension entry points,
// fetched by name when the window's context is made. Every entry is null when the driver lacks
// it; callers check before calling.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace vexel::platform {

struct GlExtensionProcs {
    // "GL_ARB_multitexture" (and, fetched with it, the buffer objects)
    PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
    PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
    PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
    PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
    PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
    PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
    PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;
    PFNGLGETBUFFERPARAMETERIVARBPROC glGetBufferParameterivARB = nullptr;
    // "GL_EXT_multi_draw_arrays": several primitives of one kind in one call
    PFNGLMULTIDRAWARRAYSEXTPROC glMultiDrawArraysEXT = nullptr;
    // "GL_ARB_fragment_program": shader objects
    PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB = nullptr;
    PFNGLDELETEOBJECTARBPROC glDeleteObjectARB = nullptr;
    PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB = nullptr;
    PFNGLSHADERSOURCEARBPROC glShaderSourceARB = nullptr;
    PFNGLCOMPILESHADERARBPROC glCompileShaderARB = nullptr;
    PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB = nullptr;
    PFNGLATTACHOBJECTARBPROC glAttachObjectARB = nullptr;
    PFNGLGETINFOLOGARBPROC glGetInfoLogARB = nullptr;
    PFNGLLINKPROGRAMARBPROC glLinkProgramARB = nullptr;
    PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB = nullptr;
    PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB = nullptr;
    PFNGLUNIFORM1FARBPROC glUniform1fARB = nullptr;
    PFNGLUNIFORM1IARBPROC glUniform1iARB = nullptr;
    PFNGLGETATTRIBLOCATIONARBPROC glGetAttribLocationARB = nullptr;
    PFNGLVERTEXATTRIB1FARBPROC glVertexAttrib1fARB = nullptr;
    // Framebuffer objects, fetched by fetch_framebuffer_procs
    PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT = nullptr;
    PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT = nullptr;
    PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC glGetFramebufferAttachmentParameterivEXT =
        nullptr;
};

// The process-wide table.
const GlExtensionProcs& gl_extension_procs();
// Refills the table from the extension text of the current context (plain substring tests, as
// drivers list them); with no text every entry becomes null.
void fetch_gl_extension_procs(const char* extensions);
// Fetches the framebuffer-object entry points into the table by name. With VEXEL_NO_FBO set to
// anything but "0" or empty they all stay null, so the back-buffer emulation of offscreen
// surfaces runs even on a driver that has them. True when "glGenFramebuffersEXT" was found.
bool fetch_framebuffer_procs();

// True when name occurs in the blank-separated list as a whole word.
bool extension_list_has(const char* list, const char* name);
// The current context's extension list, or null when it gives none.
const char* gl_extension_text();
// The current context's version text ("4.5 (Compatibility Profile) Mesa 22.3.6"), or null.
const char* gl_version_text();
// True when the version text starts with major.minor at least as high as the given one; false
// for null or a text that does not start with "<number>.<number>".
bool gl_version_at_least(const char* version, int major, int minor);

}  // namespace vexel::platform
