#include "net/http_header.h"

namespace vexel::net {

size_t header_bytes(HeaderScan& scan, const char* bytes, size_t count) {
    if (scan.ended) return 0;
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] == '\r') continue;
        scan.line_ends = bytes[i] == '\n' ? scan.line_ends + 1 : 0;
        if (scan.line_ends == 2) {
            scan.ended = true;
            return i + 1;
        }
    }
    return count;
}

}  // namespace vexel::net
