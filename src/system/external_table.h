// Internal: the game's declarations of functions in shared libraries, and the libraries loaded
// for them.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vexel::system {

// Room a table takes when it must grow to hold `needed` entries: 512 when that suffices, else
// the next multiple of 128 above the need.
size_t grown_capacity(size_t needed);

// dlopen of a declared library name; a bare name (no '/', no ".so") that loads nothing is also
// tried as "lib" + name + ".so" and name + ".so", with an ending ".dll" left off first. '\'
// separators become '/'. Null when nothing loads.
void* open_library(const std::string& declared);

class ExternalTable {
public:
    ExternalTable() = default;
    ~ExternalTable();  // release()
    ExternalTable(const ExternalTable&) = delete;
    ExternalTable& operator=(const ExternalTable&) = delete;

    // slot: where the entry's address is written (a function pointer of the game).
    void add(std::string library, std::string entry, void* slot);
    // "Delay load DLLs" in the log when there is any declaration, then each in order: its
    // library loaded once, the entry written to the slot (null when missing), each failure
    // reported.
    void resolve();
    // Forgets the declarations and unloads every library, the last loaded first.
    void release();

    size_t declaration_count() const { return declarations_.size(); }
    size_t declaration_capacity() const { return declarations_.capacity(); }
    size_t module_count() const { return modules_.size(); }

private:
    struct Declaration {
        std::string library;
        std::string entry;
        void* slot;
    };
    // The cached handle, or a newly loaded one (null when the library cannot be loaded).
    void* module_for(const std::string& library);

    std::vector<Declaration> declarations_;
    std::vector<std::pair<std::string, void*>> modules_;  // declared name, dlopen handle
};

// The process's table; released when the program ends.
ExternalTable& external_table();

}  // namespace vexel::system
