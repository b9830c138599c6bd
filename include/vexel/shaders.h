// Vexel — GLSL shader programs: 255 numbered programs (0 to 254) loaded from source files, one
// active at a time, and the active program's uniforms and attributes. Every present returns to
// the fixed pipeline. Diagnostic texts go to the debug output. Program numbers outside 0..254
// are ignored.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Shader programs
//------------------------------------------------------------------------------------------------

// Compiles and links the vertex and fragment files (an empty name: that stage stays fixed) into
// program n; false, with the driver's log, when reading, compiling or linking fails.
bool load_shader(int32_t program, const DynString& vertex_file, const DynString& fragment_file);
// Program n becomes active; any number outside 0..254 returns to the fixed pipeline.
void use_shader(int32_t program);

//------------------------------------------------------------------------------------------------
// Shader inputs (of the active program; unknown names change nothing)
//------------------------------------------------------------------------------------------------

void set_shader_float(const DynString& name, double value);      // a float uniform
void set_shader_int(const DynString& name, int32_t value);       // an integer or sampler uniform
void set_shader_attribute(const DynString& name, double value);  // a float vertex attribute

}  // namespace vexel
