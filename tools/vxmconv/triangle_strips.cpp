#include "triangle_strips.h"

#include <array>
#include <cstddef>

namespace vxmconv {

namespace {

// Which triangles use each vertex, as one array: those of vertex v at [first[v], first[v + 1]).
class VertexTriangles {
public:
    VertexTriangles(const std::vector<uint32_t>& triangles, uint32_t vertex_count)
        : first_(static_cast<size_t>(vertex_count) + 1, 0), users_(triangles.size()) {
        for (uint32_t v : triangles)
            ++first_[v + 1];
        for (size_t v = 1; v < first_.size(); ++v)
            first_[v] += first_[v - 1];
        std::vector<uint32_t> next(first_.begin(), first_.end() - 1);
        for (size_t corner = 0; corner < triangles.size(); ++corner)
            users_[next[triangles[corner]]++] = static_cast<uint32_t>(corner / 3);
    }

    uint32_t count(uint32_t vertex) const { return first_[vertex + 1] - first_[vertex]; }

    template <typename Visit>
    bool any_of(uint32_t vertex, Visit visit) const {
        for (uint32_t i = first_[vertex]; i < first_[vertex + 1]; ++i) {
            if (visit(users_[i])) return true;
        }
        return false;
    }

private:
    std::vector<uint32_t> first_;
    std::vector<uint32_t> users_;
};

class Stripper {
public:
    Stripper(const std::vector<uint32_t>& triangles, uint32_t vertex_count)
        : triangles_(triangles),
          users_(triangles, vertex_count),
          used_(triangles.size() / 3, false) {}

    std::vector<uint32_t> run() {
        std::vector<uint32_t> layout;
        std::vector<uint32_t> alone;
        layout.reserve(triangles_.size() / 2);
        std::vector<uint32_t> strip;
        for (uint32_t t = 0; t < used_.size(); ++t) {
            if (used_[t]) continue;
            grow(t, strip);
            if (strip.size() == 3) {
                alone.insert(alone.end(), strip.begin(), strip.end());
                continue;
            }
            layout.push_back(kStripMark);
            layout.insert(layout.end(), strip.begin(), strip.end());
        }
        if (!alone.empty()) {
            layout.push_back(kTrianglesMark);
            layout.insert(layout.end(), alone.begin(), alone.end());
        }
        return layout;
    }

private:
    std::array<uint32_t, 3> corners(uint32_t t) const {
        return {triangles_[3 * t], triangles_[3 * t + 1], triangles_[3 * t + 2]};
    }

    // An unused triangle that runs from p to q (so it lies across that edge from a triangle
    // running q to p); its third corner goes to `third`. Such a triangle uses both corners, so
    // the shorter list is searched: the middle of a large fan is used by every triangle of it.
    bool across(uint32_t p, uint32_t q, uint32_t& found, uint32_t& third) const {
        return users_.any_of(users_.count(q) < users_.count(p) ? q : p, [&](uint32_t t) {
            if (used_[t]) return false;
            const std::array<uint32_t, 3> c = corners(t);
            for (int k = 0; k < 3; ++k) {
                if (c[k] == p && c[(k + 1) % 3] == q) {
                    found = t;
                    third = c[(k + 2) % 3];
                    return true;
                }
            }
            return false;
        });
    }

    // Starts at the triangle, turned so that the strip can go on from it where it can, and adds
    // the triangles across the strip's last edge while there are any.
    void grow(uint32_t start, std::vector<uint32_t>& strip) {
        std::array<uint32_t, 3> c = corners(start);
        used_[start] = true;
        for (int turn = 0; turn < 3; ++turn) {
            uint32_t t = 0, third = 0;
            if (across(c[2], c[1], t, third)) break;
            c = {c[1], c[2], c[0]};
        }
        strip.assign(c.begin(), c.end());
        for (;;) {
            // Triangle k of a strip is (s[k], s[k+1], s[k+2]) when k is even and
            // (s[k+1], s[k], s[k+2]) when it is odd.
            const size_t k = strip.size() - 2;
            const uint32_t a = strip[k];
            const uint32_t b = strip[k + 1];
            uint32_t t = 0, third = 0;
            if (!(k % 2 == 0 ? across(a, b, t, third) : across(b, a, t, third))) return;
            used_[t] = true;
            strip.push_back(third);
        }
    }

    const std::vector<uint32_t>& triangles_;
    VertexTriangles users_;
    std::vector<bool> used_;
};

}  // namespace

std::vector<uint32_t> strip_triangles(const std::vector<uint32_t>& triangles,
                                      uint32_t vertex_count) {
    return Stripper(triangles, vertex_count).run();
}

}  // namespace vxmconv
