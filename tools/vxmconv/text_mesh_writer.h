// The "VXMA" text variant of mesh files, version 1.1 (with normals): shared vertex positions and
// texture coordinates, one colour per polygon, every frame repeating the polygon list. The
// engine reads it; it has no writer of its own.
#pragma once

#include <string>

#include "mesh/mesh_object.h"

namespace vxmconv {

struct TextMeshSummary {
    bool colours_merged = false;  // some triangle's corners differed in colour
};

// Writes every frame of the mesh. Throws ConversionError when the mesh is larger than the
// engine reads in the text variant or the file cannot be written (nothing is left behind then).
TextMeshSummary write_text_mesh(const std::string& path, const vexel::MeshObjectX& mesh);

}  // namespace vxmconv
