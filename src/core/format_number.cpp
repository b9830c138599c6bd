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

// A negative width left-aligns, as the '-' of "%-8.2f" does.
int signed_width(double width) {
    return width < 0 ? -clamped(-width, kMaxWidth) : clamped(width, kMaxWidth);
}

}  // namespace

DynString format_number(double width, double decimals, double value) {
    char buffer[kBufferSize];
    std::snprintf(buffer, sizeof buffer, "%*.*f", signed_width(width),
                  clamped(decimals, kMaxDecimals), value);
    return DynString(buffer);
}

}  // namespace vexel
