// vxmconv: brings models from modelling tools into the engine's mesh files, and back.
#include <cstdio>
#include <string>
#include <vector>

#include "converter.h"

int main(int argc, char** argv) {
    return vxmconv::run_command_line(std::vector<std::string>(argv + 1, argv + argc), stdout,
                                     stderr);
}
