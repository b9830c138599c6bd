#include "sound/music_mpv_library.h"

#include <dlfcn.h>

namespace vexel {

namespace {

// The versions whose client API this engine is written against (2.x and the compatible 1.x).
constexpr const char* kLibraryNames[] = {"libmpv.so.2", "libmpv.so.1", "libmpv.so"};

struct Loaded {
    MpvLibrary table;
    bool complete = false;
    std::string failure;
};

template <typename Function>
void fetch(void* library, Function& slot, const char* name, std::string* missing) {
    slot = reinterpret_cast<Function>(dlsym(library, name));
    if (!slot && missing->empty()) *missing = name;
}

Loaded load() {
    Loaded loaded;
    void* library = nullptr;
    for (const char* name : kLibraryNames) {
        library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library) break;
    }
    if (!library) {
        loaded.failure = "libmpv is not installed";
        return loaded;
    }
    MpvLibrary& t = loaded.table;
    std::string missing;
    fetch(library, t.create, "mpv_create", &missing);
    fetch(library, t.initialize, "mpv_initialize", &missing);
    fetch(library, t.terminate_destroy, "mpv_terminate_destroy", &missing);
    fetch(library, t.error_string, "mpv_error_string", &missing);
    fetch(library, t.set_option_string, "mpv_set_option_string", &missing);
    fetch(library, t.request_event, "mpv_request_event", &missing);
    fetch(library, t.wait_event, "mpv_wait_event", &missing);
    fetch(library, t.command, "mpv_command", &missing);
    fetch(library, t.set_property, "mpv_set_property", &missing);
    fetch(library, t.set_property_string, "mpv_set_property_string", &missing);
    fetch(library, t.get_property, "mpv_get_property", &missing);
    fetch(library, t.render_context_create, "mpv_render_context_create", &missing);
    fetch(library, t.render_context_set_update_callback, "mpv_render_context_set_update_callback",
          &missing);
    fetch(library, t.render_context_update, "mpv_render_context_update", &missing);
    fetch(library, t.render_context_render, "mpv_render_context_render", &missing);
    fetch(library, t.render_context_report_swap, "mpv_render_context_report_swap", &missing);
    fetch(library, t.render_context_free, "mpv_render_context_free", &missing);
    loaded.complete = missing.empty();
    if (!loaded.complete) loaded.failure = "libmpv lacks " + missing;
    return loaded;
}

}  // namespace

const MpvLibrary* mpv_library(std::string* reason) {
    // Never destroyed: a player that outlives it at process exit still calls through it.
    static const Loaded* const loaded = new Loaded(load());
    if (!loaded->complete) {
        *reason = loaded->failure;
        return nullptr;
    }
    return &loaded->table;
}

}  // namespace vexel
