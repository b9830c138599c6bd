// Internal: GLSL programs in 255 numbered records, loaded from files (disk or "mem://") through
// the shader-object entry points, one of them active at a time. Every operation takes a report
// function for its diagnostic texts (no line end); null reports nothing. Numbers outside 0..254
// are ignored. Nothing happens without the shader entry points.
#pragma once

#include <array>
#include <cstdint>

namespace vexel {

inline constexpr int32_t kShaderProgramCount = 255;
// Longest shader source file read.
inline constexpr int64_t kMaxShaderSource = int64_t{1} << 22;

using ShaderReport = void (*)(const char* text);

struct ShaderProgram {
    uint32_t program = 0;  // GL handles, 0 = none
    uint32_t vertex_shader = 0;
    uint32_t fragment_shader = 0;
};

struct ShaderTable {
    std::array<ShaderProgram, kShaderProgramCount> programs{};
    int32_t current_shader = -1;  // the active program, -1 for the fixed pipeline
};

ShaderTable& shader_table();

// Replaces program n by one built from the files (an empty name leaves that stage to the fixed
// pipeline). A file that cannot be read, a compile or a link failure reports the driver's log and
// "vertex shader failed", "fragment shader failed" or "link shader failed"; the record is then
// empty and the result false.
bool load_shader_program(int32_t n, const char* vertex_file, const char* fragment_file,
                         ShaderReport report);
// The fixed pipeline and every program deleted: the window and its context are going.
void release_shader_programs();
// Program n active for n in 0..254, else the fixed pipeline.
void activate_shader(int32_t n);
// Uniforms and attributes of the active program; an unknown name reports "undefined uniform:"
// or "undefined attrib:" and the name, and changes nothing.
void set_uniform_float(const char* name, float value, ShaderReport report);
void set_uniform_int(const char* name, int32_t value, ShaderReport report);
void set_attribute_float(const char* name, float value, ShaderReport report);

}  // namespace vexel
