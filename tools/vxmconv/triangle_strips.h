// Indexed triangles joined into triangle strips as the engine joins a strip's vertices: A, B, C,
// D, E gives (A, B, C), (C, B, D), (C, D, E). A strip of n triangles takes n + 2 vertex records
// where separate triangles take 3n, so mesh files get smaller and load faster.
#pragma once

#include <cstdint>
#include <vector>

namespace vxmconv {

// Marks in a strip layout: what follows is a strip, or separate triangles.
inline constexpr uint32_t kStripMark = 0xFFFFFFFF;
inline constexpr uint32_t kTrianglesMark = 0xFFFFFFFE;

inline bool is_mark(uint32_t item) {
    return item >= kTrianglesMark;
}

// The triangles (three vertex indices each, every index below vertex_count) as strips, each
// after a kStripMark, and the triangles that joined no strip after one kTrianglesMark at the
// end. Every triangle keeps its corners' winding.
std::vector<uint32_t> strip_triangles(const std::vector<uint32_t>& triangles,
                                      uint32_t vertex_count);

}  // namespace vxmconv
