// The tool's command line: two file names and the options that shape the conversion.
#pragma once

#include <string>
#include <vector>

namespace vxmconv {

enum class UpAxis { kZ, kY };

struct Options {
    std::string input;
    std::string output;
    float scale = 1;
    UpAxis up = UpAxis::kZ;     // up axis of the engine-side model
    bool flip_winding = false;  // keep the file's triangle order instead of reversing it
    bool text = false;          // "VXMA" text instead of the binary format
    bool multi = false;         // one mesh file per mesh of the scene and a description
    int frames = 0;             // 0: the scene as it stands; N: N samples of the first animation
    bool help = false;
};

// The options, or a UsageError that says what is wrong with the command line.
Options parse_command_line(const std::vector<std::string>& arguments);

// What --help prints.
const char* usage_text();

}  // namespace vxmconv
