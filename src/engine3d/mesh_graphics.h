// Internal: the GL side of the mesh layer, which itself never talks to OpenGL: textures of
// multi-mesh slots, and deleting a slot's textures and a mesh's buffer objects and ramp.
#pragma once

namespace vexel::engine3d {

// Installs the mesh layer's graphics hooks; each GL call waits for a current context.
void install_mesh_graphics();

}  // namespace vexel::engine3d
