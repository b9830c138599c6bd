#include "command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "conversion_error.h"

namespace vxmconv {

namespace {

constexpr int kMostFrames = 10000;

constexpr char kUsage[] =
    "usage: vxmconv [options] INPUT OUTPUT\n"
    "\n"
    "Converts a model made in a modelling tool (glTF 2.0, OBJ, FBX, COLLADA, 3DS, PLY, STL and\n"
    "whatever else the Open Asset Import Library reads) into the engine's mesh file, or a mesh\n"
    "file of the engine (binary, \"VXMA\" text or \";VXW\" description) back into a model file.\n"
    "OUTPUT ending in .vxm is written as a mesh file of the engine; any other ending names the\n"
    "model format written (.obj, .glb, .gltf, .dae, .ply, .stl, .fbx, .3ds, .x3d, ...).\n"
    "\n"
    "options:\n"
    "  --scale S         multiply every position by S (a positive number)\n"
    "  --up z|y          up axis of the engine's side (default z: the model's y-up becomes z-up)\n"
    "  --flip-winding    keep the file's triangle order instead of turning counter-clockwise\n"
    "                    faces into the engine's clockwise ones (for models that face inwards)\n"
    "  --text            write the \"VXMA\" text variant instead of the binary format\n"
    "  --multi           one .vxm per mesh of the scene with its textures, and OUTPUT as the\n"
    "                    \";VXW\" description that load_object reads them through\n"
    "  --frames N        sample N frames evenly over the first animation (node, skin or morph)\n"
    "  --help            show this text\n"
    "\n"
    "Exit status: 0 converted, 1 a file could not be read, converted or written, 2 a wrong\n"
    "command line.\n";

float parse_scale(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value <= 0 ||
        !std::isfinite(static_cast<float>(value)) || static_cast<float>(value) == 0)
        throw UsageError("--scale needs a positive number, not \"" + text + "\"");
    return static_cast<float>(value);
}

int parse_frames(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < 1 || value > kMostFrames)
        throw UsageError("--frames needs a whole number from 1 to " + std::to_string(kMostFrames) +
                         ", not \"" + text + "\"");
    return static_cast<int>(value);
}

UpAxis parse_up(const std::string& text) {
    if (text == "z" || text == "Z") return UpAxis::kZ;
    if (text == "y" || text == "Y") return UpAxis::kY;
    throw UsageError("--up takes z or y, not \"" + text + "\"");
}

}  // namespace

Options parse_command_line(const std::vector<std::string>& arguments) {
    Options options;
    std::vector<std::string> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--scale") {
            options.scale = parse_scale(value());
        } else if (argument == "--up") {
            options.up = parse_up(value());
        } else if (argument == "--frames") {
            options.frames = parse_frames(value());
        } else if (argument == "--flip-winding") {
            options.flip_winding = true;
        } else if (argument == "--text") {
            options.text = true;
        } else if (argument == "--multi") {
            options.multi = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            files.push_back(argument);
        }
    }
    if (options.help) return options;
    if (files.size() != 2) throw UsageError("give one input and one output file");
    options.input = files[0];
    options.output = files[1];
    return options;
}

const char* usage_text() {
    return kUsage;
}

}  // namespace vxmconv
