#include <unistd.h>

#include <cstdlib>
#include <string>

#include <vexel/error.h>
#include <vexel/platform_info.h>

#include "io/system_path.h"

extern char** environ;

namespace vexel {

DynString get_env(const DynString& name) {
    if (!name.empty()) return DynString(std::getenv(name.c_str()));
    DynString all;
    for (char** entry = environ; entry && *entry; ++entry) {
        all.append(*entry);
        all.append('\n');
    }
    return all;
}

void put_env(const DynString& name, const DynString& value) {
    if (name.empty()) return;
    if (value.empty()) {
        ::unsetenv(name.c_str());
    } else {
        ::setenv(name.c_str(), value.c_str(), 1);
    }
}

DynString get_current_dir() {
    std::string path;
    if (char* current = ::getcwd(nullptr, 0)) {
        path = current;
        std::free(current);
    }
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (path.empty() || path.back() != '/') path += '/';
    return path.c_str();
}

int32_t set_current_dir(const DynString& path) {
    set_error(0);
    if (::chdir(system_path(path.c_str()).c_str()) == 0) return 1;
    set_error(3);
    return 0;
}

}  // namespace vexel
