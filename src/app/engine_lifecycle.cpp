#include <vexel/app.h>
#include <vexel/error.h>

namespace vexel {

ProjectSettings& project_settings() {
    static ProjectSettings settings;
    return settings;
}

void shutdown_engine() {
    static bool quit_called = false;
    if (!quit_called) {
        quit_called = true;
        call_by_name("VXL_ON_QUIT");
    }
}

}  // namespace vexel
