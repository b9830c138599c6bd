// Internal: exact reads from a FileStream for the picture decoders, whose input is hostile.
#pragma once

#include <cstdint>
#include <vector>

#include "io/file_stream.h"

namespace vexel {

// Bytes between the read position and the end as measured when the stream was opened.
inline int64_t bytes_left(const FileStream& stream) {
    return stream.size() - stream.position();
}

// True only when all n bytes arrived (memory streams otherwise accept short reads).
inline bool read_exact(FileStream& stream, void* buffer, uint32_t n) {
    if (bytes_left(stream) < n) return false;
    const int64_t before = stream.position();
    return stream.read(buffer, n) && stream.position() - before == n;
}

// The whole stream from its start; false when it is larger than limit bytes or a read fails.
inline bool read_whole_stream(FileStream& stream, int64_t limit, std::vector<uint8_t>& bytes) {
    const int64_t size = stream.size();
    if (size < 0 || size > limit) return false;
    stream.seek(0, 0);
    bytes.resize(static_cast<size_t>(size));
    return size == 0 || read_exact(stream, bytes.data(), static_cast<uint32_t>(size));
}

}  // namespace vexel
