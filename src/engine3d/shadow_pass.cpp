#include "engine3d/shadow_pass.h"

#include <GL/gl.h>

#include "engine3d/render_switches.h"
#include "mesh/mesh_vertex.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel::engine3d {

namespace {

void open_pass() {
    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    platform::gl_enable(GL_STENCIL_TEST);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, 0);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
}

// The whole viewport in the shadow colour wherever the stencil is not 0, drawn in the 2D
// projection between saved matrices.
void darken_marked_pixels(const Duderedi3D& state) {
    platform::OpenGLDuderedi* gl = state.gl_context;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    platform::gl_disable(GL_DEPTH_TEST);
    // The volumes leave culling on with either winding culled: the quad must not be removed.
    platform::gl_disable(GL_CULL_FACE);
    platform::gl_enable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (gl) gl->global_alpha = 0.5f;
    platform::gl_enable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColor4fv(colour_floats(state.shadow_colour, 0.5f).data());
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    platform::gl_disable(GL_BLEND);
    if (gl) gl->global_alpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void close_pass(const Duderedi3D& state) {
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    darken_marked_pixels(state);
    glShadeModel(GL_SMOOTH);
    platform::gl_enable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    platform::gl_disable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    platform::gl_enable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    apply_cull_mode(scene_globals().remembered_cull_mode);
}

}  // namespace

void set_shadow_pass(Duderedi3D& state, bool open) {
    if (open == (state.shadow_pass != 0)) return;
    state.shadow_pass = open ? 1 : 0;
    if (open) {
        open_pass();
    } else {
        close_pass(state);
    }
}

void finish_shadow_pass() {
    if (Duderedi3D* state = duderedi_3d()) set_shadow_pass(*state, false);
}

}  // namespace vexel::engine3d
