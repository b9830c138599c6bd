// Simple shapes in the 3D scene. Each keeps lighting and texturing from leaking into it and
// leaves the colour white with the 2D alpha.
#include <GL/gl.h>

#include <algorithm>

#include <vexel/scene3d.h>

#include "engine3d/duderedi_3d.h"
#include "engine3d/render_switches.h"
#include "engine3d/text_hook.h"
#include "engine3d/texture_binding.h"
#include "gfx2d/texture_store.h"
#include "mesh/mesh_vertex.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

using engine3d::duderedi_3d;

constexpr double kSmallestWidth = 1;
constexpr double kLargestWidth = 512;
constexpr float kAxisLength = 20;

void set_colour(int32_t colour) {
    glColor4fv(colour_floats(colour).data());
}

float clamped_width(double width) {
    if (!(width >= kSmallestWidth)) return static_cast<float>(kSmallestWidth);  // NaN too
    return static_cast<float>(std::min(width, kLargestWidth));
}

// Untextured, unlit drawing with a smoothing capability on; on leaving, lighting comes back
// while lights are on, the smoothing switch as it was, the colour white with the 2D alpha.
class PlainShape {
public:
    PlainShape(const engine3d::Duderedi3D& state, uint32_t smoothing)
        : lit_(state.lights_mask != 0),
          smoothing_(smoothing),
          was_smooth_(platform::gl_enable_cache_state(smoothing) == 1) {
        engine3d::unbind_scene_textures();
        if (lit_) platform::gl_disable(GL_LIGHTING);
        platform::gl_enable(smoothing_);
    }
    ~PlainShape() {
        if (!was_smooth_) platform::gl_disable(smoothing_);
        if (lit_) platform::gl_enable(GL_LIGHTING);
        const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
        glColor4f(1, 1, 1, gl ? gl->global_alpha : 1.0f);
    }
    PlainShape(const PlainShape&) = delete;
    PlainShape& operator=(const PlainShape&) = delete;

private:
    bool lit_;
    uint32_t smoothing_;
    bool was_smooth_;
};

// One axis as a line strip: the shaft and a four-sided arrow head at 0.75 of its length.
void draw_axis(int axis) {
    const int across_a = (axis + 1) % 3;
    const int across_b = (axis + 2) % 3;
    const float points[8][3] = {{0, 0, 0},          {1, 0, 0}, {0.75f, 0.25f, 0},
                                {0.75f, -0.25f, 0}, {1, 0, 0}, {0.75f, 0, 0.25f},
                                {0.75f, 0, -0.25f}, {1, 0, 0}};
    glBegin(GL_LINE_STRIP);
    for (const auto& p : points) {
        float v[3];
        v[axis] = p[0];
        v[across_a] = p[1];
        v[across_b] = p[2];
        glVertex3fv(v);
    }
    glEnd();
}

// Modelview: the camera, then the point, with the rotation removed so that what follows faces
// the viewer.
void load_facing_matrix(const engine3d::Duderedi3D& state, double x, double y, double z) {
    engine3d::Matrix4 m = engine3d::multiply(
        state.view_matrix, engine3d::translation_matrix(float(x), float(y), float(z)));
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row)
            m[column * 4 + row] = column == row ? 1.0f : 0.0f;
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(m.data());
}

}  // namespace

void draw_line_3d(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                  int32_t colour) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    {
        PlainShape shape(*state, GL_LINE_SMOOTH);
        glLineWidth(clamped_width(width));
        set_colour(colour);
        glBegin(GL_LINES);
        glVertex3d(x1, y1, z1);
        glVertex3d(x2, y2, z2);
        glEnd();
    }
    glLineWidth(1);
}

void draw_dot_3d(double x, double y, double z, double size, int32_t colour) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    {
        PlainShape shape(*state, GL_POINT_SMOOTH);
        glPointSize(clamped_width(size));
        set_colour(colour);
        glBegin(GL_POINTS);
        glVertex3d(x, y, z);
        glEnd();
    }
    glPointSize(1);
}

void draw_axes(double x, double y, double z) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(state->view_matrix.data());
    glTranslatef(float(x), float(y), float(z));
    glScalef(kAxisLength, kAxisLength, kAxisLength);
    {
        PlainShape shape(*state, GL_LINE_SMOOTH);
        const int32_t colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
        for (int axis = 0; axis < 3; ++axis) {
            set_colour(colours[axis]);
            draw_axis(axis);
        }
    }
    glPopMatrix();
}

void print_3d(const DynString& text, double x, double y, double z, double size) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    load_facing_matrix(*state, x, y, z);
    // Text runs in pixels with y downwards; here one pixel is size units and y points up.
    glScalef(float(size), float(-size), float(size));
    const bool lit = state->lights_mask != 0;
    if (lit) platform::gl_disable(GL_LIGHTING);
    if (const engine3d::PrintTextHook print = engine3d::print_text_hook()) print(text, 0, 0, 1);
    if (lit) platform::gl_enable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void draw_sprite_3d(int32_t sprite, double x, double y, double z, double scale) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state || sprite < 0) return;
    const SpriteSlot* slot = texture_store().slot(sprite);
    if (!slot || slot->width <= 0 || !slot->texture) return;
    engine3d::apply_cull_mode(-1);
    load_facing_matrix(*state, x, y, z);
    const bool lit = state->lights_mask != 0;
    if (lit) platform::gl_disable(GL_LIGHTING);
    engine3d::bind_scene_textures(sprite, -1);
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    glColor4f(1, 1, 1, gl ? gl->global_alpha : 1.0f);
    const float w = static_cast<float>(slot->width * scale * 0.5);
    const float h = static_cast<float>(slot->height * scale * 0.5);
    // The picture fills the lower-left corner of its texture, its top row at v = v_extent.
    const float u = slot->u_extent;
    const float v = slot->v_extent;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-w, -h);
    glTexCoord2f(u, 0);
    glVertex2f(w, -h);
    glTexCoord2f(u, v);
    glVertex2f(w, h);
    glTexCoord2f(0, v);
    glVertex2f(-w, h);
    glEnd();
    engine3d::unbind_scene_textures();
    if (lit) platform::gl_enable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    engine3d::apply_cull_mode(engine3d::scene_globals().remembered_cull_mode);
}

}  // namespace vexel
