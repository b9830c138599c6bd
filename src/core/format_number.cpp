#include <cmath>
#include <cstdio>

#include <vexel/text.h>

namespace vexel {

namespace {

// Keeps every format within the output buffer below: a double's integer part has at most 309
// digits, so 340 decimals and a width of 700 can never overrun 1024 bytes.
constexpr int kMaxWidth = 700;
constexpr int kMaxDecimals = 340;
constexpr int kBufferSize = 1024;

int clamped(double value, int limit) {
    if (!(value > 0)) return 0;
    return value >= limit ? limit : static_cast<int>(value);
}

}  // namespace

DynString format_number(double width, double decimals, double value) {
    char buffer[kBufferSize];
    std::snprintf(buffer, sizeof buffer, "%*.*f", clamped(width, kMaxWidth),
                  clamped(decimals, kMaxDecimals), value);
    return DynString(buffer);
}

}  // namespace vexel
