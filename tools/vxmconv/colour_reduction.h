// A mesh file keeps its colours in a palette addressed by one byte, markers included: a mesh with
// more colours than that must lose some before it is written.
#pragma once

#include <cstddef>

#include "mesh/mesh_object.h"

namespace vxmconv {

// Merges similar colours of the mesh's vertices until the palette, markers included, fits in
// 256 entries: each colour channel is cut to fewer bits until few enough groups remain, and every
// group takes the mean of the colours in it. Returns the number of distinct vertex colours the
// mesh had when it had to be reduced, 0 when it already fitted.
size_t fit_colours_to_palette(vexel::MeshObjectX& mesh);

}  // namespace vxmconv
