#include "app/failure_report.h"

#include <cstdio>
#include <string>

#include <vexel/error.h>

namespace vexel {

void log_load_failure(std::string_view command, std::string_view file, std::string_view reason) {
    std::string line;
    line.reserve(command.size() + file.size() + reason.size() + 20);
    line.append(command).append(": cannot load \"").append(file).append("\": ");
    line.append(reason).append("\n");
    append_error_log(line.c_str());
}

void log_write_failure(std::string_view command, std::string_view file, std::string_view reason) {
    std::string line;
    line.reserve(command.size() + file.size() + reason.size() + 21);
    line.append(command).append(": cannot write \"").append(file).append("\": ");
    line.append(reason).append("\n");
    append_error_log(line.c_str());
}

void end_program_because(std::string_view cause) {
    std::fprintf(stderr, "vexel: %.*s\n", static_cast<int>(cause.size()), cause.data());
    std::fflush(stderr);
    end_program();
}

}  // namespace vexel
