// What every fuzz harness shares: a private folder to work in, loaders' input lent to the file
// layer as a "mem://" block, and checks whose failure is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "io/virtual_files.h"

namespace vexel::fuzz {

// Once per process, before the first input: a new folder (in /dev/shm where it can be) becomes
// TMPDIR, so that the engine's temporary files stay inside it, and holds the harness's own
// files. The error log's name there is taken by a folder: every line is formatted and offered,
// none is kept (a long campaign would otherwise fill the disk). The folder goes at exit. The
// current directory stays, so that libFuzzer finds inputs named relative to it.
void enter_private_folder();

// The folder enter_private_folder made, ending in '/'.
const std::string& private_folder();

// The input as a registered block, for the lifetime of this object. The bytes are libFuzzer's
// own, sized exactly, so a read one byte past them is caught.
class InputFile {
public:
    InputFile(const uint8_t* data, size_t size) : file_(data, static_cast<uint32_t>(size)) {}
    const char* name() const { return file_.name().c_str(); }

private:
    MemoryFile file_;
};

// Reports what broke and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const char* what);
inline void check(bool condition, const char* what) {
    if (!condition) fail(what);
}

}  // namespace vexel::fuzz
