#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include <locale.h>
#include <stdlib.h>

#include <vexel/dyn_string.h>

namespace vexel {

namespace {

constexpr int kSignificantDigits = 10;

// Ten significant digits of |value| (normal or denormal, not zero), rounded half away from zero,
// and the decimal exponent of the first digit.
struct Digits {
    char digit[kSignificantDigits];
    int exponent;
};

// The shortest text that reads back as the same double, as digits and the exponent of the first.
struct Shortest {
    char digit[17];
    int count;
    int exponent;
};

Shortest shortest_digits(double magnitude) {
    char text[32];
    *std::to_chars(text, text + sizeof text - 1, magnitude, std::chars_format::scientific).ptr = 0;
    Shortest result{};
    const char* p = text;
    for (; *p != 'e'; ++p) {
        if (*p != '.') result.digit[result.count++] = *p;
    }
    std::from_chars(p + (p[1] == '+' ? 2 : 1), text + std::strlen(text), result.exponent);
    return result;
}

// A double's exact expansion has at most 767 significant digits: this prints all of them.
const char* exact_expansion(double magnitude) {
    static thread_local char text[800];
    std::snprintf(text, sizeof text, "%.766e", magnitude);
    return text;
}

// Digit 11 of the exact expansion decides: above the midpoint rounds up, a midpoint rounds away
// from zero, below it rounds down.
bool exact_expansion_rounds_up(double magnitude) {
    return exact_expansion(magnitude)[kSignificantDigits + 1] >= '5';  // after "d."
}

// Rounds the ten digits up by one unit in the last place.
void round_up(Digits& digits) {
    int i = kSignificantDigits - 1;
    while (i >= 0 && digits.digit[i] == '9')
        digits.digit[i--] = '0';
    if (i < 0) {
        digits.digit[0] = '1';
        ++digits.exponent;
    } else {
        ++digits.digit[i];
    }
}

// Denormals carry fewer digits than the ten shown, so their shortest text says too little.
Digits ten_exact_digits(double magnitude) {
    const char* text = exact_expansion(magnitude);
    Digits result{};
    result.digit[0] = text[0];
    std::memcpy(result.digit + 1, text + 2, kSignificantDigits - 1);
    const char* e = std::strchr(text, 'e');
    std::from_chars(e + (e[1] == '+' ? 2 : 1), e + std::strlen(e), result.exponent);
    if (text[kSignificantDigits + 1] >= '5') round_up(result);
    return result;
}

// The shortest round-trip text lies within half a unit in the last place of the value, far closer
// than the ten-digit grid: rounding it gives the value's rounding, except when it is itself a
// midpoint of that grid (digits 11 and on are exactly "5"); only then is the exact expansion read.
Digits ten_digits(double magnitude) {
    if (magnitude < std::numeric_limits<double>::min()) return ten_exact_digits(magnitude);
    const Shortest shortest = shortest_digits(magnitude);
    Digits result{};
    std::memset(result.digit, '0', kSignificantDigits);
    const int kept = shortest.count < kSignificantDigits ? shortest.count : kSignificantDigits;
    std::memcpy(result.digit, shortest.digit, kept);
    result.exponent = shortest.exponent;
    if (shortest.count <= kSignificantDigits) return result;

    const char tail_first = shortest.digit[kSignificantDigits];
    const bool at_midpoint = tail_first == '5' && shortest.count == kSignificantDigits + 1;
    if (at_midpoint ? exact_expansion_rounds_up(magnitude) : tail_first >= '5') round_up(result);
    return result;
}

// Ten digits from a correctly rounded conversion to eleven. The eleventh digit settles the
// rounding unless it is a 5: the exact value may then lie on either side of the midpoint, or on
// it, and ten_digits decides.
bool ten_digits_from_eleven(double magnitude, Digits& digits) {
    char text[32];  // "d.dddddddddde+XXX"
    const char* end = std::to_chars(text, text + sizeof text, magnitude,
                                    std::chars_format::scientific, kSignificantDigits)
                          .ptr;
    const char eleventh = text[kSignificantDigits + 1];
    if (eleventh == '5') return false;
    digits.digit[0] = text[0];
    std::memcpy(digits.digit + 1, text + 2, kSignificantDigits - 1);
    int exponent = 0;
    for (const char* p = text + kSignificantDigits + 4; p < end; ++p)
        exponent = exponent * 10 + (*p - '0');
    digits.exponent = text[kSignificantDigits + 3] == '-' ? -exponent : exponent;
    if (eleventh > '5') round_up(digits);
    return true;
}

// 10^0 to 10^19, every power of ten below 2^64.
constexpr std::array<uint64_t, 20> kPowersOfTen = [] {
    std::array<uint64_t, 20> powers{};
    uint64_t power = 1;
    for (uint64_t& entry : powers) {
        entry = power;
        power *= 10;  // wraps once past the last entry, harmlessly
    }
    return powers;
}();
constexpr uint64_t kLeastTenDigits = kPowersOfTen[kSignificantDigits - 1];
constexpr uint64_t kPastTenDigits = kPowersOfTen[kSignificantDigits];

using Wide = unsigned __int128;

// |value| · 10^scale rounded half away from zero, computed exactly in integers from the double's
// own m · 2^q; false when the numbers would not fit 128 bits.
bool scaled_and_rounded(uint64_t m, int q, int scale, uint64_t& rounded) {
    const int largest = static_cast<int>(kPowersOfTen.size()) - 1;
    if (scale > largest || scale < -largest) return false;
    Wide quotient = 0;
    bool up = false;
    if (scale >= 0) {
        const Wide product = Wide{m} * kPowersOfTen[scale];  // below 2^117
        if (q >= 0) {
            if (q > 10) return false;  // a value this large never has a positive scale
            quotient = product << q;
        } else {
            if (q < -116) return false;
            quotient = product >> -q;
            const Wide remainder = product - (quotient << -q);
            up = remainder >= Wide{1} << (-q - 1);
        }
    } else {
        const uint64_t divisor = kPowersOfTen[-scale];
        if (q >= 0) {
            if (q > 64) return false;
            const Wide value = Wide{m} << q;  // below 2^117
            quotient = value / divisor;
            up = 2 * (value - quotient * divisor) >= divisor;
        } else {
            if (q < -63) return false;
            const uint64_t whole_divisor = divisor << -q;
            if (whole_divisor >> -q != divisor) return false;  // 2^-q · 10^-scale passed 2^64
            quotient = m / whole_divisor;
            up = 2 * Wide{m - static_cast<uint64_t>(quotient) * whole_divisor} >= whole_divisor;
        }
    }
    rounded = static_cast<uint64_t>(quotient) + (up ? 1 : 0);
    return true;
}

// Ten digits of a normal double without any text conversion. For a value in [2^E, 2^(E+1)),
// floor(E · log10(2)) is the decimal exponent of its first digit or one below it, which a
// quotient of eleven digits shows; the integer estimate of it can be one above for a few negative
// E, which a quotient of nine digits shows. False then, and for zero, denormals, infinities and
// the magnitudes whose scaling would not fit: the text conversions below take those.
bool ten_digits_exact(double magnitude, Digits& digits) {
    const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0 || biased == 0x7FF) return false;
    const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | uint64_t{1} << 52;
    const int q = biased - 1075;
    const int binary = biased - 1023;
    int exponent = (binary * 78913) >> 18;  // 78913 / 2^18 is log10(2) to six digits
    uint64_t rounded = 0;
    if (!scaled_and_rounded(m, q, kSignificantDigits - 1 - exponent, rounded)) return false;
    if (rounded > kPastTenDigits) {
        ++exponent;
        if (!scaled_and_rounded(m, q, kSignificantDigits - 1 - exponent, rounded)) return false;
    }
    if (rounded == kPastTenDigits) {  // 9999999999.5 and above round to the next power of ten
        rounded = kLeastTenDigits;
        ++exponent;
    }
    if (rounded < kLeastTenDigits || rounded >= kPastTenDigits) return false;
    std::to_chars(digits.digit, digits.digit + kSignificantDigits, rounded);
    digits.exponent = exponent;
    return true;
}

// Whole numbers below 10 to the 10th have at most ten digits: their text is exact.
uint32_t write_whole(double magnitude, char* out) {
    return static_cast<uint32_t>(
        std::to_chars(out, out + 16, static_cast<uint64_t>(magnitude)).ptr - out);
}

// The general format for values that are not whole numbers below 10 to the 10th (zero included):
// the raw text always carries a point ("0.5", "5.e-002"), which the caller then tidies.
uint32_t write_general(double value, char* out) {
    char* p = out;
    if (std::signbit(value)) *p++ = '-';
    const double magnitude = std::fabs(value);
    Digits d;
    if (!ten_digits_exact(magnitude, d) && !ten_digits_from_eleven(magnitude, d))
        d = ten_digits(magnitude);
    int used = kSignificantDigits;
    while (used > 1 && d.digit[used - 1] == '0')
        --used;

    if (d.exponent >= -1 && d.exponent <= 9) {
        if (d.exponent < 0) {
            *p++ = '0';
            *p++ = '.';
            std::memcpy(p, d.digit, used);
            return static_cast<uint32_t>(p + used - out);
        }
        const int whole = d.exponent + 1;
        for (int i = 0; i < whole; ++i)
            *p++ = i < used ? d.digit[i] : '0';
        *p++ = '.';
        for (int i = whole; i < used; ++i)
            *p++ = d.digit[i];
        return static_cast<uint32_t>(p - out);
    }
    *p++ = d.digit[0];
    *p++ = '.';
    for (int i = 1; i < used; ++i)
        *p++ = d.digit[i];
    *p++ = 'e';
    *p++ = d.exponent < 0 ? '-' : '+';
    const int exponent = d.exponent < 0 ? -d.exponent : d.exponent;
    *p++ = static_cast<char>('0' + exponent / 100);
    *p++ = static_cast<char>('0' + exponent / 10 % 10);
    *p++ = static_cast<char>('0' + exponent % 10);
    return static_cast<uint32_t>(p - out);
}

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

int sign_of(double difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

}  // namespace

uint32_t format_double(double value, char* out) {
    if (std::isnan(value)) {
        std::memcpy(out, "nan", 4);
        return 3;
    }
    if (std::isinf(value)) {
        const char* text = value < 0 ? "-inf" : "inf";
        std::strcpy(out, text);
        return static_cast<uint32_t>(std::strlen(text));
    }
    const double magnitude = std::fabs(value);
    if (magnitude < 1e10 && magnitude == std::floor(magnitude)) {
        char* p = out;
        if (std::signbit(value)) *p++ = '-';
        p += write_whole(magnitude, p);
        *p = 0;
        return static_cast<uint32_t>(p - out);
    }
    uint32_t length = write_general(value, out);
    out[length] = 0;
    if (std::strcmp(out, ".0") == 0) {
        std::memcpy(out, "0", 2);
        return 1;
    }
    if (out[length - 1] == '.') out[--length] = 0;
    return length;
}

DynString number_to_text(double value) {
    return DynString(value);
}

DynString number_to_text(int32_t value) {
    DynString text;
    char* block = text.buffer(15);
    *std::to_chars(block, block + 15, value).ptr = 0;
    text.sync_length();
    return text;
}

double text_to_double(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (is_space(*p))
        ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    const char* mantissa = p;
    bool any_digit = false;
    while (is_digit(*p))
        ++p, any_digit = true;
    if (*p == '.') {
        ++p;
        while (is_digit(*p))
            ++p, any_digit = true;
    }
    if (!any_digit) return 0;
    const char* end = p;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (is_digit(*q)) {
            while (is_digit(*q))
                ++q;
            end = q;
        }
    }
    // from_chars takes no sign of its own and never looks at the locale.
    double magnitude = 0;
    const auto [stop, error] = std::from_chars(mantissa, end, magnitude);
    if (error == std::errc::result_out_of_range) {
        // Let the C library decide overflow or underflow, in the C locale so that the decimal
        // point is always '.'; the text is known to be a plain number by now.
        static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
        const std::string plain(mantissa, end);
        magnitude = strtod_l(plain.c_str(), nullptr, c_locale);
    }
    (void)stop;
    return *start == '-' ? -magnitude : magnitude;
}

int32_t text_to_int(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (is_space(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (is_digit(*p)) {
        value = value * 10 + (*p++ - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

int compare(const char* left, const char* right) {
    const int result = std::strcmp(left ? left : "", right ? right : "");
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int compare(const char* text, double number) {
    return sign_of(text_to_double(text) - number);
}

int compare(const char* text, int32_t number) {
    const int32_t value = text_to_int(text);
    return value < number ? -1 : (value > number ? 1 : 0);
}

bool operator==(const DynString& left, const DynString& right) {
    return std::strcmp(left.c_str(), right.c_str()) == 0;
}
bool operator==(const DynString& left, const char* right) {
    return std::strcmp(left.c_str(), right ? right : "") == 0;
}
bool operator==(const DynString& left, int32_t right) {
    return text_to_int(left) == right;
}
bool operator==(const DynString& left, double right) {
    return text_to_double(left) == right;
}
bool operator==(const DynString& left, float right) {
    return text_to_double(left) == static_cast<double>(right);
}

std::strong_ordering operator<=>(const DynString& left, const DynString& right) {
    return compare(left.c_str(), right.c_str()) <=> 0;
}
std::strong_ordering operator<=>(const DynString& left, const char* right) {
    return compare(left.c_str(), right) <=> 0;
}
std::strong_ordering operator<=>(const DynString& left, int32_t right) {
    return text_to_int(left) <=> right;
}
std::partial_ordering operator<=>(const DynString& left, double right) {
    return text_to_double(left) <=> right;
}
std::partial_ordering operator<=>(const DynString& left, float right) {
    return text_to_double(left) <=> static_cast<double>(right);
}

}  // namespace vexel
