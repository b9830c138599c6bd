#include <sys/stat.h>

#include <algorithm>
#include <cstdint>

#include <vexel/error.h>
#include <vexel/files.h>

#include "io/atomic_file.h"
#include "io/file_stream.h"
#include "io/system_path.h"
#include "io/virtual_files.h"

namespace vexel {

namespace {

constexpr uint32_t kCopyChunk = 4096;

}  // namespace

double file_size(const DynString& name) {
    set_error(0);
    FileStream stream;
    if (!stream.open_read(name.c_str())) {
        set_error(3);
        return 0;
    }
    return static_cast<double>(stream.size_of());
}

void copy_file(const DynString& source, const DynString& destination) {
    FileStream input;
    if (!input.open_read(source.c_str()) || destination.empty() ||
        is_memory_name(destination.c_str())) {
        set_error(3);
        return;
    }
    // The copy lands under a new name and replaces the destination only once it is complete.
    AtomicFile output(destination.c_str());
    if (!output.open()) {
        set_error(3);
        return;
    }
    uint8_t chunk[kCopyChunk];
    for (int64_t left = input.size_of(); left > 0;) {
        const auto count = static_cast<uint32_t>(std::min<int64_t>(left, kCopyChunk));
        const int64_t before = input.position();
        if (!input.read(chunk, count) || input.position() - before != count ||
            !output.write(chunk, count)) {
            set_error(3);
            return;
        }
        left -= count;
    }
    if (!output.commit()) set_error(3);
}

int32_t delete_file(const DynString& name) {
    return remove_name(name.c_str()) ? 1 : 0;
}

int32_t create_directory(const DynString& name) {
    return ::mkdir(system_path(name.c_str()).c_str(), 0777) == 0 ? 1 : 0;
}

int32_t file_exists(const DynString& name) {
    return is_regular_entry(name.c_str()) ? 1 : 0;
}

int32_t directory_exists(const DynString& name) {
    return is_directory(name.c_str()) ? 1 : 0;
}

}  // namespace vexel
