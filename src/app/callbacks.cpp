#include <cstring>
#include <string>

#include <vexel/app.h>
#include <vexel/error.h>

namespace vexel {

namespace {

const CallbackEntry kEmptyTable[] = {{nullptr, nullptr}};
const CallbackEntry* g_table = kEmptyTable;

}  // namespace

void set_callback_table(const CallbackEntry* table) {
    g_table = table ? table : kEmptyTable;
}

ScriptFunction find_callback(const char* name) {
    if (!name) return nullptr;
    for (const CallbackEntry* entry = g_table; entry->function; ++entry) {
        if (entry->name && std::strcmp(entry->name, name) == 0) return entry->function;
    }
    return nullptr;
}

double call_by_name(const char* name) {
    if (ScriptFunction function = find_callback(name)) {
        function();
        return 1;
    }
    // Quitting and the message hook are looked up every time; their absence is normal.
    if (name && std::strcmp(name, "VXL_ON_QUIT") != 0 && std::strcmp(name, "VXL_WIN32_MSG") != 0) {
        std::string text = "CALLBYNAME \"";
        text += name;
        text += "\" *** failed ***\n";
        debug_output(text.c_str());
    }
    return 0;
}

}  // namespace vexel
