// Internal: where the collision commands take the current transform level's matrix from
// (column-major, object to world, as OpenGL takes it).
#pragma once

namespace vexel::engine3d {

void current_level_matrix(float out[16]);

}  // namespace vexel::engine3d
