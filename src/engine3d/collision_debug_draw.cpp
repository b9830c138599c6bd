#include "engine3d/collision_debug_draw.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cstdint>

#include "mesh/vec3_math.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel::engine3d {

namespace {

constexpr int32_t kGreen = 65280;
constexpr int32_t kRed = 255;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr float kThin = 1;
constexpr float kWide = 5;

using Face = std::array<Vec3f, 3>;

// The icosahedron's faces split once into four, every corner pushed out onto the unit sphere.
std::array<Face, 80> unit_sphere_faces() {
    constexpr float g = 1.6180340f;
    const Vec3f v[12] = {{-1, g, 0},  {1, g, 0},  {-1, -g, 0}, {1, -g, 0}, {0, -1, g},  {0, 1, g},
                         {0, -1, -g}, {0, 1, -g}, {g, 0, -1},  {g, 0, 1},  {-g, 0, -1}, {-g, 0, 1}};
    constexpr int kFaces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                                   {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                                   {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                                   {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    std::array<Face, 80> faces;
    size_t next = 0;
    for (const auto& f : kFaces) {
        const Vec3f a = normalised(v[f[0]]);
        const Vec3f b = normalised(v[f[1]]);
        const Vec3f c = normalised(v[f[2]]);
        const Vec3f ab = normalised(add(a, b));
        const Vec3f bc = normalised(add(b, c));
        const Vec3f ca = normalised(add(c, a));
        faces[next++] = {a, ab, ca};
        faces[next++] = {ab, b, bc};
        faces[next++] = {ca, bc, c};
        faces[next++] = {ab, bc, ca};
    }
    return faces;
}

bool can_draw() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return gl && gl->gl_context;
}

// Suspends lighting and texturing (on both units when there are two) and turns colour material
// on for one shape; puts everything back as it was when it goes.
class DebugShape {
public:
    DebugShape(int32_t colour, float width) {
        lighting_ = glIsEnabled(GL_LIGHTING);
        colour_material_ = glIsEnabled(GL_COLOR_MATERIAL);
        platform::gl_disable(GL_LIGHTING);
        platform::gl_enable(GL_COLOR_MATERIAL);
        for_each_unit([this](int unit) {
            textured_[unit] = glIsEnabled(GL_TEXTURE_2D);
            glDisable(GL_TEXTURE_2D);
        });
        glLineWidth(width);
        glColor4fv(colour_floats(colour).data());
    }
    ~DebugShape() {
        glLineWidth(1);
        for_each_unit([this](int unit) {
            if (textured_[unit]) glEnable(GL_TEXTURE_2D);
        });
        platform::gl_set_enabled(GL_COLOR_MATERIAL, colour_material_);
        platform::gl_set_enabled(GL_LIGHTING, lighting_);
        glColor4f(1, 1, 1, platform::opengl_duderedi()->global_alpha);
    }
    DebugShape(const DebugShape&) = delete;
    DebugShape& operator=(const DebugShape&) = delete;

private:
    template <typename Visit>
    static void for_each_unit(Visit visit) {
        const auto select = platform::gl_extension_procs().glActiveTextureARB;
        if (!select) {
            visit(0);
            return;
        }
        GLint active = GL_TEXTURE0_ARB;
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
        for (int unit = 0; unit < 2; ++unit) {
            select(GL_TEXTURE0_ARB + unit);
            visit(unit);
        }
        select(static_cast<GLenum>(active));
    }

    bool lighting_ = false;
    bool colour_material_ = false;
    bool textured_[2] = {false, false};
};

void vertex(const Vec3f& p) {
    glVertex3f(p.x, p.y, p.z);
}

}  // namespace

void draw_collision_sphere(const Vec3f& centre, float radius, bool hit) {
    if (!can_draw()) return;
    static const std::array<Face, 80> faces = unit_sphere_faces();
    const DebugShape shape(hit ? kRed : kGreen, hit ? kWide : kThin);
    for (const Face& face : faces) {
        glBegin(GL_LINE_LOOP);
        for (const Vec3f& corner : face)
            vertex(add(centre, times(corner, radius)));
        glEnd();
    }
}

void draw_collision_box(const Vec3f& centre, float width, float height, float depth, bool hit) {
    if (!can_draw()) return;
    const DebugShape shape(hit ? kRed : kGreen, hit ? kWide : kThin);
    const Vec3f half{width / 2, height / 2, depth / 2};
    const auto corner = [&](int i) {
        return Vec3f{centre.x + (i & 1 ? half.x : -half.x), centre.y + (i & 2 ? half.y : -half.y),
                     centre.z + (i & 4 ? half.z : -half.z)};
    };
    glBegin(GL_LINES);
    for (int i = 0; i < 8; ++i) {
        for (int along = 1; along < 8; along <<= 1) {
            if (i & along) continue;
            vertex(corner(i));
            vertex(corner(i | along));
        }
    }
    glEnd();
}

void draw_collision_ray(const Vec3f& start, const Vec3f& direction, float distance) {
    if (!can_draw()) return;
    const int32_t colour = distance > 0 ? kGreen : distance < 0 ? kWhite : kRed;
    const DebugShape shape(colour, distance != 0 ? kWide : kThin);
    const float length = distance != 0 ? distance : kDebugRayLength;
    glBegin(GL_LINES);
    vertex(start);
    vertex(add(start, times(direction, length)));
    glEnd();
}

}  // namespace vexel::engine3d
