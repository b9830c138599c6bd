#include "engine3d/collision_triangle.h"

#include <algorithm>
#include <cmath>

#include "mesh/vec3_math.h"

namespace vexel::engine3d {

namespace {

// 0.99 of a full turn: a point in the plane of a polygon and inside it sees its vertices round
// a full turn, one outside sees them within less; the margin absorbs rounding.
constexpr float kInsideAngleSum = 6.2203536f;
// Directions from the point shorter than this (as a product of the two lengths) have no angle.
constexpr float kTinyLengthProduct = 1e-8f;

// Whether the triangle's projections onto the axis and the box's leave a gap between them.
bool separated_on(const Vec3f& axis, const OrientedBox& box, const Vec3f& a, const Vec3f& b,
                  const Vec3f& c) {
    const float centre = dot(box.centre, axis);
    const float reach = std::fabs(dot(box.half_axes[0], axis)) +
                        std::fabs(dot(box.half_axes[1], axis)) +
                        std::fabs(dot(box.half_axes[2], axis));
    const float pa = dot(a, axis);
    const float pb = dot(b, axis);
    const float pc = dot(c, axis);
    const float low = std::min({pa, pb, pc});
    const float high = std::max({pa, pb, pc});
    return centre + reach < low || centre - reach > high;
}

// Whether q lies beyond r plus the triangle's own size from its bounding box along some axis.
// Such a sphere reaches no edge, and the foot of its centre sees the triangle within far less
// than the angle sum asks for, so skipping the full test changes no answer.
bool beyond_reach(const Vec3f& q, float r, const Vec3f& a, const Vec3f& b, const Vec3f& c) {
    const float low[3] = {std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}),
                          std::min({a.z, b.z, c.z})};
    const float high[3] = {std::max({a.x, b.x, c.x}), std::max({a.y, b.y, c.y}),
                           std::max({a.z, b.z, c.z})};
    const float reach = r + (high[0] - low[0]) + (high[1] - low[1]) + (high[2] - low[2]);
    const float p[3] = {q.x, q.y, q.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (p[axis] < low[axis] - reach || p[axis] > high[axis] + reach) return true;
    }
    return false;
}

}  // namespace

bool inside_by_angle_sum(const Vec3f& p, const Vec3f* vertices, int k) {
    float sum = 0;
    for (int i = 0; i < k; ++i) {
        const Vec3f to_a = sub(vertices[i], p);
        const Vec3f to_b = sub(vertices[(i + 1) % k], p);
        const float lengths = std::sqrt(length_squared(to_a)) * std::sqrt(length_squared(to_b));
        if (lengths <= kTinyLengthProduct) continue;
        sum += std::acos(std::clamp(dot(to_a, to_b) / lengths, -1.0f, 1.0f));
    }
    return sum >= kInsideAngleSum;
}

bool sphere_touches_triangle(const Vec3f& q, float r, const Vec3f& a, const Vec3f& b,
                             const Vec3f& c) {
    if (beyond_reach(q, r, a, b, c)) return false;
    const Vec3f n = normalised(cross(sub(b, a), sub(c, a)));
    const float d = dot(n, q) - dot(n, a);
    if (!(std::fabs(d) <= r)) return false;  // written so that not-a-number misses too

    const Vec3f corners[3] = {a, b, c};
    if (inside_by_angle_sum(sub(q, times(n, d)), corners, 3)) return true;

    for (int i = 0; i < 3; ++i) {
        const Vec3f& from = corners[i];
        const Vec3f edge = sub(corners[(i + 1) % 3], from);
        const float edge_squared = length_squared(edge);
        if (edge_squared == 0) continue;
        const float s = std::clamp(dot(edge, sub(q, from)) / edge_squared, 0.0f, 1.0f);
        const Vec3f closest = add(from, times(edge, s));
        if (length_squared(sub(q, closest)) < r * r) return true;
    }
    return false;
}

bool box_overlaps_triangle(const OrientedBox& box, const Vec3f& a, const Vec3f& b, const Vec3f& c) {
    for (const Vec3f& axis : box.half_axes) {
        if (separated_on(axis, box, a, b, c)) return false;
    }
    const Vec3f edges[3] = {sub(b, a), sub(c, b), sub(a, c)};
    for (const Vec3f& axis : box.half_axes) {
        for (const Vec3f& edge : edges) {
            if (separated_on(cross(axis, edge), box, a, b, c)) return false;
        }
    }
    return !separated_on(cross(edges[0], sub(c, a)), box, a, b, c);
}

float ray_meets_triangle(const Vec3f& s, const Vec3f& e, const Vec3f& a, const Vec3f& b,
                         const Vec3f& c) {
    const Vec3f e1 = sub(b, a);
    const Vec3f e2 = sub(c, a);
    const Vec3f n = cross(e1, e2);
    if (n.x == 0 && n.y == 0 && n.z == 0) return 0;

    const Vec3f u = sub(e, s);
    const float facing = dot(n, u);
    if (facing == 0) return 0;
    const float t = -dot(n, sub(s, a)) / facing;
    const Vec3f w = sub(add(s, times(u, t)), a);

    const float aa = dot(e1, e1);
    const float bb = dot(e1, e2);
    const float cc = dot(e2, e2);
    const float denominator = bb * bb - aa * cc;
    // Rounding can leave a sliver with a normal but no area to measure against.
    if (denominator == 0) return 0;
    const float we1 = dot(w, e1);
    const float we2 = dot(w, e2);
    const float along_b = (bb * we2 - cc * we1) / denominator;
    const float along_c = (bb * we1 - aa * we2) / denominator;
    if (!(along_b >= 0 && along_b <= 1) || !(along_c >= 0) || !(along_b + along_c <= 1)) return 0;
    return t;
}

}  // namespace vexel::engine3d
