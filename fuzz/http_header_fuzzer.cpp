// The HTTP header scanner: a response fed whole and fed in pieces of changing sizes (chosen by
// the input's last byte) must end its header at the same byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/http_header.h"
#include "support/fuzz_harness.h"

using vexel::fuzz::check;
using vexel::net::HeaderScan;

namespace {

// Header bytes in all, and whether the blank line was seen.
struct Outcome {
    size_t header = 0;
    bool ended = false;
};

Outcome scan_in_pieces(const std::vector<char>& response, uint8_t rhythm) {
    HeaderScan scan;
    Outcome outcome;
    size_t at = 0;
    uint32_t state = rhythm;
    while (at < response.size()) {
        state = state * 1103515245u + 12345u;
        const size_t piece =
            std::min<size_t>(response.size() - at, 1 + (state >> 16) % (rhythm % 17 + 1));
        const size_t header = vexel::net::header_bytes(scan, response.data() + at, piece);
        check(header <= piece, "more header bytes than the piece holds");
        check(!outcome.ended || header == 0, "header bytes after the header ended");
        outcome.header += header;
        outcome.ended = scan.ended;
        at += piece;
    }
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const uint8_t rhythm = provider.ConsumeIntegral<uint8_t>();
    const std::vector<char> response = provider.ConsumeRemainingBytes<char>();

    HeaderScan whole;
    const size_t header = vexel::net::header_bytes(whole, response.data(), response.size());
    check(header <= response.size(), "more header bytes than the response holds");
    const Outcome pieces = scan_in_pieces(response, rhythm);
    check(pieces.header == header && pieces.ended == whole.ended,
          "pieces and the whole response disagree on the header");
    if (whole.ended)
        check(header >= 2 && response[header - 1] == '\n', "a header not ended by a line feed");
    return 0;
}
