#include <string>

#include <vexel/error.h>
#include <vexel/shaders.h>

#include "gfx2d/shader_programs.h"

namespace vexel {

namespace {

// The script's diagnostics: one line each on the debug output.
void debug_line(const char* text) {
    debug_output((std::string(text) + "\n").c_str());
}

}  // namespace

bool load_shader(int32_t program, const DynString& vertex_file, const DynString& fragment_file) {
    return load_shader_program(program, vertex_file.c_str(), fragment_file.c_str(), debug_line);
}

void use_shader(int32_t program) {
    activate_shader(program);
}

void set_shader_float(const DynString& name, double value) {
    set_uniform_float(name.c_str(), static_cast<float>(value), debug_line);
}

void set_shader_int(const DynString& name, int32_t value) {
    set_uniform_int(name.c_str(), value, debug_line);
}

void set_shader_attribute(const DynString& name, double value) {
    set_attribute_float(name.c_str(), static_cast<float>(value), debug_line);
}

}  // namespace vexel
