// Internal: where the header of an HTTP response ends. The response arrives in pieces of any
// size, so the scan keeps its state between pieces; it looks at nothing but line ends, which
// makes it safe to feed with any bytes at all.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexel::net {

struct HeaderScan {
    uint32_t line_ends = 0;  // line feeds in a row, carriage returns not counted
    bool ended = false;      // the blank line has been seen
};

// How many bytes at the start of the piece still belong to the header: all of them until the
// blank line (two line feeds with nothing but carriage returns between them) has been seen,
// then none. Everything after that line feed is body.
size_t header_bytes(HeaderScan& scan, const char* bytes, size_t count);

}  // namespace vexel::net
