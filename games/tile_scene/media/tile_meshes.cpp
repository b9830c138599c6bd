#include "tile_meshes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "mesh/group_mesh.h"

namespace tile_media {

namespace {

using vexel::GroupVertex;
using vexel::Vec3f;
using vexel::VertexGroup;

constexpr double kPi = 3.14159265358979323846;

struct Colours {
    int32_t top;
    int32_t bevel;
    int32_t side;
};

constexpr int32_t rgb(int32_t r, int32_t g, int32_t b) {
    return r | g << 8 | b << 16;
}

// Colours light enough to keep each channel of the coloured spot light visible.
constexpr Colours kSquareColours{rgb(236, 226, 204), rgb(212, 200, 178), rgb(176, 166, 150)};
constexpr Colours kTriangleColours{rgb(238, 242, 246), rgb(206, 214, 224), rgb(164, 174, 186)};
constexpr Colours kHexagonColours{rgb(226, 226, 234), rgb(200, 200, 212), rgb(156, 156, 168)};
constexpr int32_t kWallColour = rgb(206, 196, 180);
constexpr int32_t kWallTopColour = rgb(228, 220, 204);

struct Point {
    double x;
    double y;
};

// The outline's bounding box: u runs from 0 at low.x to span at high.x, v from 0 at high.y to
// span at low.y, so that v grows down the picture as seen from above.
struct TextureFrame {
    Point low;
    Point high;
    double span;
};

Vec3f vec(double x, double y, double z) {
    return Vec3f{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

Vec3f unit(double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    return vec(x / length, y / length, z / length);
}

GroupVertex vertex(Point p, double z, Vec3f normal, int32_t colour, const TextureFrame& texture) {
    GroupVertex v;
    v.position = vec(p.x, p.y, z);
    v.normal = normal;
    v.u =
        static_cast<float>((p.x - texture.low.x) / (texture.high.x - texture.low.x) * texture.span);
    v.v = static_cast<float>((texture.high.y - p.y) / (texture.high.y - texture.low.y) *
                             texture.span);
    v.colour = colour;
    return v;
}

// Corners of a regular polygon, counter-clockwise from the given angle.
std::vector<Point> regular_polygon(int corners, double radius, double first_degrees) {
    std::vector<Point> points;
    for (int i = 0; i < corners; ++i) {
        const double angle = (first_degrees + 360.0 * i / corners) * kPi / 180;
        points.push_back(Point{radius * std::cos(angle), radius * std::sin(angle)});
    }
    return points;
}

TextureFrame bounding_frame(const std::vector<Point>& outline, double span) {
    TextureFrame frame{outline[0], outline[0], span};
    for (Point p : outline) {
        frame.low = Point{std::min(frame.low.x, p.x), std::min(frame.low.y, p.y)};
        frame.high = Point{std::max(frame.high.x, p.x), std::max(frame.high.y, p.y)};
    }
    return frame;
}

// The slab under a counter-clockwise convex outline centred at the origin: bevelled top, sides
// and bottom, each face with its own flat normal.
std::vector<VertexGroup> slab(const std::vector<Point>& outline, const Colours& colours,
                              const TextureFrame& texture) {
    const size_t n = outline.size();
    std::vector<Point> inner;
    std::vector<Point> outward;  // unit normal of edge i (from corner i to i + 1)
    for (size_t i = 0; i < n; ++i) {
        const Point a = outline[i];
        const Point b = outline[(i + 1) % n];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        outward.push_back(Point{(b.y - a.y) / length, (a.x - b.x) / length});
    }
    // Each corner moves in along the bisector so that every edge comes in by the bevel width.
    for (size_t i = 0; i < n; ++i) {
        const Point e1 = outward[(i + n - 1) % n];
        const Point e2 = outward[i];
        const double bx = e1.x + e2.x;
        const double by = e1.y + e2.y;
        const double scale = kBevelWidth / (1 + e1.x * e2.x + e1.y * e2.y);
        inner.push_back(Point{outline[i].x - bx * scale, outline[i].y - by * scale});
    }

    std::vector<VertexGroup> groups;
    VertexGroup top{vexel::kMarkerFan, {}};
    top.vertices.push_back(vertex({0, 0}, kTileHeight, vec(0, 0, 1), colours.top, texture));
    for (size_t i = 0; i <= n; ++i)
        top.vertices.push_back(
            vertex(inner[i % n], kTileHeight, vec(0, 0, 1), colours.top, texture));
    groups.push_back(std::move(top));

    const double drop = kTileHeight - kBevelHeight;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const Vec3f bevel_normal = unit(outward[i].x * drop, outward[i].y * drop, kBevelWidth);
        groups.push_back(
            VertexGroup{vexel::kMarkerStrip,
                        {vertex(outline[i], kBevelHeight, bevel_normal, colours.bevel, texture),
                         vertex(outline[j], kBevelHeight, bevel_normal, colours.bevel, texture),
                         vertex(inner[i], kTileHeight, bevel_normal, colours.bevel, texture),
                         vertex(inner[j], kTileHeight, bevel_normal, colours.bevel, texture)}});
        const Vec3f side_normal = vec(outward[i].x, outward[i].y, 0);
        groups.push_back(
            VertexGroup{vexel::kMarkerStrip,
                        {vertex(outline[i], 0, side_normal, colours.side, texture),
                         vertex(outline[j], 0, side_normal, colours.side, texture),
                         vertex(outline[i], kBevelHeight, side_normal, colours.side, texture),
                         vertex(outline[j], kBevelHeight, side_normal, colours.side, texture)}});
    }

    VertexGroup bottom{vexel::kMarkerFan, {}};
    bottom.vertices.push_back(vertex({0, 0}, 0, vec(0, 0, -1), colours.side, texture));
    for (size_t i = n + 1; i-- > 0;)
        bottom.vertices.push_back(vertex(outline[i % n], 0, vec(0, 0, -1), colours.side, texture));
    groups.push_back(std::move(bottom));
    return groups;
}

vexel::MeshObjectX tile(const std::vector<Point>& outline, const Colours& colours, double span) {
    return vexel::build_group_mesh(slab(outline, colours, bounding_frame(outline, span)), 0);
}

// A point of the wall's cross-section: y across the wall, z up, with the outward normal there.
struct ProfilePoint {
    double y;
    double z;
    double ny;
    double nz;
};

// The wall's cross-section from the outer foot, up the outer face, over the rounded top, down the
// inner face and round the fillet onto the tile. Normals change smoothly except at the foot.
std::vector<ProfilePoint> wall_profile() {
    const double outer = -0.5;
    const double inner = outer + kWallThickness;
    const double radius = kWallThickness / 2;
    const double centre_z = kWallHeight - radius;
    const double fillet = 0.05;
    std::vector<ProfilePoint> profile{{outer, 0, -1, 0}};
    for (int degrees = 180; degrees >= 0; degrees -= 15) {
        const double a = degrees * kPi / 180;
        profile.push_back(ProfilePoint{outer + radius + radius * std::cos(a),
                                       centre_z + radius * std::sin(a), std::cos(a), std::sin(a)});
    }
    // Concave: the normal points at the fillet's centre.
    for (int degrees = 180; degrees <= 270; degrees += 15) {
        const double a = degrees * kPi / 180;
        profile.push_back(ProfilePoint{inner + fillet + fillet * std::cos(a),
                                       kTileHeight + fillet + fillet * std::sin(a), -std::cos(a),
                                       -std::sin(a)});
    }
    return profile;
}

std::vector<VertexGroup> wall(const TextureFrame& texture) {
    const std::vector<ProfilePoint> profile = wall_profile();
    std::vector<VertexGroup> groups;

    // The surface along x, one strip per profile segment.
    const double left = -0.5;
    const double right = 0.5;
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        VertexGroup strip{vexel::kMarkerStrip, {}};
        for (size_t k = i; k <= i + 1; ++k) {
            const ProfilePoint& p = profile[k];
            const Vec3f normal = vec(0, p.ny, p.nz);
            const int32_t colour =
                p.z > kWallHeight - kWallThickness ? kWallTopColour : kWallColour;
            strip.vertices.push_back(vertex({left, p.y}, p.z, normal, colour, texture));
            strip.vertices.push_back(vertex({right, p.y}, p.z, normal, colour, texture));
        }
        groups.push_back(std::move(strip));
    }

    // Both ends: fans over the cross-section, closed along the foot, from a point on the tile's
    // top under the middle of the wall; seen from there the outline turns one way only.
    std::vector<ProfilePoint> section = profile;
    section.push_back(ProfilePoint{profile.back().y, 0, 0, 0});
    section.push_back(profile.front());
    const double hub_y = -0.5 + kWallThickness / 2;
    for (const double x : {left, right}) {
        VertexGroup end{vexel::kMarkerFan, {}};
        const Vec3f normal = vec(x < 0 ? -1 : 1, 0, 0);
        end.vertices.push_back(vertex({x, hub_y}, kTileHeight, normal, kWallColour, texture));
        // Seen from +x the section runs clockwise, so that end walks it backwards.
        std::vector<ProfilePoint> ring = section;
        if (x > 0) std::reverse(ring.begin(), ring.end());
        for (const ProfilePoint& p : ring)
            end.vertices.push_back(vertex({x, p.y}, p.z, normal, kWallColour, texture));
        groups.push_back(std::move(end));
    }
    return groups;
}

}  // namespace

vexel::MeshObjectX make_square_tile() {
    return tile({{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}}, kSquareColours, 1);
}

vexel::MeshObjectX make_triangle_tile() {
    return tile(regular_polygon(3, 1 / std::sqrt(3.0), 90), kTriangleColours, 0.125);
}

vexel::MeshObjectX make_hexagon_tile() {
    return tile(regular_polygon(6, 1, 30), kHexagonColours, 1);
}

vexel::MeshObjectX make_square_wall() {
    const std::vector<Point> outline{{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}};
    const TextureFrame texture = bounding_frame(outline, 1);
    std::vector<VertexGroup> groups = slab(outline, kSquareColours, texture);
    for (VertexGroup& group : wall(texture))
        groups.push_back(std::move(group));
    return vexel::build_group_mesh(groups, 0);
}

}  // namespace tile_media
