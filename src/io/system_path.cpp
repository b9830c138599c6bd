#include "io/system_path.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vexel {

std::string system_path(const char* name) {
    std::string path = name ? name : "";
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

bool is_directory(const char* name) {
    struct stat info;
    return ::stat(system_path(name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_regular_entry(const char* name) {
    struct stat info;
    return ::stat(system_path(name).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool remove_name(const char* name) {
    const std::string path = system_path(name);
    if (is_directory(path.c_str())) return ::rmdir(path.c_str()) == 0;
    return ::unlink(path.c_str()) == 0;
}

}  // namespace vexel
