// Internal: where a mesh's vertex records reach OpenGL from. With the buffer-object entry points,
// frame 0 drawn unchanged lives in a static buffer made once per mesh and everything else is
// streamed into a second buffer on every draw; without them, the arrays point into memory.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/mesh_object.h"

namespace vexel::engine3d {

// The base the array pointers are offsets from: null inside a bound buffer, else the records.
using VertexBase = const char*;

// Whether draws go through buffer objects: the driver has them and they are not switched off.
bool buffer_objects_in_use();
// Switches the buffer objects off (false) or back on; the benchmark and the tests use it to
// reach the path a driver without them takes.
void allow_buffer_objects(bool allowed);

// Binds frame 0's triangle list, filling the static buffer the first time.
VertexBase bind_static_vertices(MeshObjectX& mesh);
// Binds the records, refilled into the stream buffer (or pointed at in memory).
VertexBase bind_stream_vertices(MeshObjectX& mesh, const std::vector<MeshVertex>& records);
// No array buffer bound.
void unbind_vertex_buffer();
// Deletes the static buffer so that the next static draw fills it again (its records changed).
void forget_static_vertices(MeshObjectX& mesh);

// How many times vertex records were handed to a buffer object since start.
uint64_t vertex_upload_count();

}  // namespace vexel::engine3d
