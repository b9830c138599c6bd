// Numbers and text: any text reads as a number without harm, and numbers written as text read
// back. The input's last bytes give a double (its bits), an int, and the width and decimals of
// format_number; the rest is a text to read as a number.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include <vexel/dyn_string.h>
#include <vexel/text.h>

#include "support/fuzz_harness.h"

using vexel::DynString;
using vexel::fuzz::check;

namespace {

// Ten significant digits, rounded: the text is within half a unit of the tenth digit. Values
// whose rounding passes the largest double read back as infinity, and are left out.
void check_double_round_trip(double value) {
    const DynString text = vexel::number_to_text(value);
    check(vexel::number_text_length(value) == static_cast<int32_t>(text.length()),
          "number_text_length disagrees with number_to_text");
    if (!std::isfinite(value) || std::fabs(value) > 1e308) return;
    const double back = vexel::text_to_double(text);
    const double tolerance = std::fmax(std::fabs(value) * 5.1e-10, 1e-300);
    check(std::fabs(back - value) <= tolerance, "a number written as text reads back wrong");
}

void check_int_round_trip(int32_t value) {
    const DynString text = vexel::number_to_text(value);
    check(vexel::number_text_length(value) == static_cast<int32_t>(text.length()),
          "number_text_length disagrees with number_to_text");
    check(vexel::text_to_int(text) == value, "an int written as text reads back wrong");
    check(vexel::text_to_double(text) == value, "an int written as text reads back wrong");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const double value = std::bit_cast<double>(provider.ConsumeIntegral<uint64_t>());
    const int32_t whole = provider.ConsumeIntegral<int32_t>();
    const double width = provider.ConsumeFloatingPoint<double>();
    const double decimals = provider.ConsumeFloatingPoint<double>();
    const std::string text = provider.ConsumeRemainingBytesAsString();

    check_double_round_trip(value);
    check_int_round_trip(whole);
    const DynString formatted = vexel::format_number(width, decimals, value);
    check(formatted.length() <= 1024, "format_number beyond 1024 bytes");

    const double read = vexel::text_to_double(text.c_str());
    const int32_t read_int = vexel::text_to_int(text.c_str());
    check(!std::isnan(read), "a text read as NaN");
    vexel::compare(text.c_str(), value);
    vexel::compare(text.c_str(), read_int);
    check_double_round_trip(read);
    return 0;
}
