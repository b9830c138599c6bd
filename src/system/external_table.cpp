#include "system/external_table.h"

#include <dlfcn.h>
#include <strings.h>

#include <cstring>

#include <vexel/error.h>

#include "io/system_path.h"

namespace vexel::system {

namespace {

constexpr size_t kFirstCapacity = 512;
constexpr size_t kCapacityStep = 128;

template <typename T>
void push_with_growth_rule(std::vector<T>& table, T entry) {
    if (table.size() == table.capacity()) table.reserve(grown_capacity(table.size() + 1));
    table.push_back(std::move(entry));
}

bool ends_with_dll(const std::string& name) {
    return name.size() > 4 && ::strcasecmp(name.c_str() + name.size() - 4, ".dll") == 0;
}

void* load(const std::string& file) {
    return ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Reported as a line of its own for a debugger and in the error log.
void report(const std::string& message) {
    const std::string line = message + "\n";
    debug_output(line.c_str());
    append_error_log((line + "\n").c_str());
}

// The slot is a function pointer of whatever type the game declared; its bytes are the address.
void store(void* slot, void* address) {
    if (slot) std::memcpy(slot, &address, sizeof address);
}

}  // namespace

size_t grown_capacity(size_t needed) {
    if (needed <= kFirstCapacity) return kFirstCapacity;
    return (needed / kCapacityStep + 1) * kCapacityStep;
}

void* open_library(const std::string& declared) {
    // An empty name would give the program itself, never a library.
    if (declared.empty()) return nullptr;
    const std::string name = system_path(declared.c_str());
    if (void* handle = load(name)) return handle;
    if (name.find('/') != std::string::npos || name.find(".so") != std::string::npos)
        return nullptr;
    const std::string base = ends_with_dll(name) ? name.substr(0, name.size() - 4) : name;
    if (void* handle = load("lib" + base + ".so")) return handle;
    return load(base + ".so");
}

ExternalTable::~ExternalTable() {
    release();
}

void ExternalTable::add(std::string library, std::string entry, void* slot) {
    push_with_growth_rule(declarations_, Declaration{std::move(library), std::move(entry), slot});
}

void* ExternalTable::module_for(const std::string& library) {
    for (const auto& [name, handle] : modules_) {
        if (name == library) return handle;
    }
    void* handle = open_library(library);
    if (handle) push_with_growth_rule(modules_, std::make_pair(library, handle));
    return handle;
}

void ExternalTable::resolve() {
    if (declarations_.empty()) return;
    append_error_log("Delay load DLLs\n");
    for (const Declaration& declaration : declarations_) {
        void* module = module_for(declaration.library);
        if (!module) {
            store(declaration.slot, nullptr);
            report("DECLARE module not found: " + declaration.library);
            continue;
        }
        void* address = ::dlsym(module, declaration.entry.c_str());
        store(declaration.slot, address);
        if (!address) report("DECLARE entry not found: " + declaration.entry);
    }
}

void ExternalTable::release() {
    declarations_.clear();
    declarations_.shrink_to_fit();
    for (auto it = modules_.rbegin(); it != modules_.rend(); ++it)
        ::dlclose(it->second);
    modules_.clear();
    modules_.shrink_to_fit();
}

ExternalTable& external_table() {
    static ExternalTable table;
    return table;
}

}  // namespace vexel::system
