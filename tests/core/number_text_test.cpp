#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <vexel/dyn_string.h>

namespace vexel {
namespace {

std::string text_of(double value) {
    return number_to_text(value).c_str();
}

TEST(NumberToText, ListedValues) {
    EXPECT_EQ(text_of(0), "0");
    EXPECT_EQ(text_of(100), "100");
    EXPECT_EQ(text_of(1.5), "1.5");
    EXPECT_EQ(text_of(-2.25), "-2.25");
    EXPECT_EQ(text_of(0.05), "5.e-002");
    EXPECT_EQ(text_of(1e10), "1.e+010");
    EXPECT_EQ(text_of(1.5e12), "1.5e+012");
    EXPECT_EQ(text_of(123456789), "123456789");
    EXPECT_EQ(std::string(DynString(0.5f).c_str()), "0.5");
    EXPECT_EQ(std::string(DynString(0.1f).c_str()), "0.1000000015");
}

TEST(NumberToText, FixedRangeIsFromOneTenthToBelowTenToTheTenth) {
    EXPECT_EQ(text_of(0.1), "0.1");
    EXPECT_EQ(text_of(0.09999), "9.999e-002");
    EXPECT_EQ(text_of(9999999999.0), "9999999999");
    EXPECT_EQ(text_of(1234.5678), "1234.5678");
    EXPECT_EQ(text_of(0.123456789012), "0.123456789");
    EXPECT_EQ(text_of(1.0 / 3), "0.3333333333");
    EXPECT_EQ(text_of(2.0 / 3), "0.6666666667");
    EXPECT_EQ(text_of(-1e-5), "-1.e-005");
    EXPECT_EQ(text_of(1e100), "1.e+100");
    EXPECT_EQ(text_of(-1.25e-300), "-1.25e-300");
}

TEST(NumberToText, RoundingToTenDigits) {
    // Rounding carries into a new leading digit and so into exponent notation.
    EXPECT_EQ(text_of(9999999999.5), "1.e+010");
    EXPECT_EQ(text_of(9999999999.4), "9999999999");
    EXPECT_EQ(text_of(0.099999999995), "0.1");
    EXPECT_EQ(text_of(0.09999999999), "9.999999999e-002");
    EXPECT_EQ(text_of(-9999999999.5), "-1.e+010");
    EXPECT_EQ(text_of(1.23456789049), "1.23456789");
    // Exact midpoints of the ten-digit grid round away from zero.
    EXPECT_EQ(text_of(12345678905.0), "1.234567891e+010");
    EXPECT_EQ(text_of(12345678925.0), "1.234567893e+010");
    EXPECT_EQ(text_of(-12345678905.0), "-1.234567891e+010");
    EXPECT_EQ(text_of(123456789.25), "123456789.3");
    EXPECT_EQ(text_of(-123456789.75), "-123456789.8");
}

// A second, slow way to the same text: all exact digits from printf, rounded by hand.
std::string reference_text(double value) {
    char exact[800];
    std::snprintf(exact, sizeof exact, "%.766e", std::fabs(value));
    std::string digits = std::string(1, exact[0]) + std::string(exact + 2, 9);
    int exponent = std::atoi(std::strchr(exact, 'e') + 1);
    if (exact[11] >= '5') {
        int i = 9;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i < 0) {
            digits = "1000000000";
            ++exponent;
        } else {
            ++digits[i];
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string text = std::signbit(value) ? "-" : "";
    if (exponent >= -1 && exponent <= 9) {
        if (exponent == -1) return text + "0." + digits;
        while (static_cast<int>(digits.size()) < exponent + 1)
            digits += '0';
        text += digits.substr(0, exponent + 1);
        if (static_cast<int>(digits.size()) > exponent + 1)
            text += "." + digits.substr(exponent + 1);
        return text;
    }
    char exponent_text[16];
    std::snprintf(exponent_text, sizeof exponent_text, "e%c%03d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return text + digits.substr(0, 1) + "." + digits.substr(1) + exponent_text;
}

TEST(NumberToText, AgreesWithExactDigitsOnRandomAndNearMidpointValues) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 30000; ++i) {
        const uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || value == 0) continue;
        ASSERT_EQ(text_of(value), reference_text(value)) << bits;
    }
    // Values printed with eleven digits ending in 5 sit on or right beside a midpoint.
    for (int i = 0; i < 20000; ++i) {
        char text[40];
        std::snprintf(text, sizeof text, "%llu5e%d",
                      static_cast<unsigned long long>(random() % 9000000000ULL + 1000000000ULL),
                      static_cast<int>(random() % 40) - 25);
        const double value = std::strtod(text, nullptr);
        ASSERT_EQ(text_of(value), reference_text(value)) << text;
        ASSERT_EQ(text_of(-value), reference_text(-value)) << text;
    }
}

// Magnitudes from 1e-12 to 1e30, where the digits come from integer arithmetic on the double's
// own bits: random values, powers of two and ten with their neighbours, and values one step
// either side of a carry into the next power of ten.
TEST(NumberToText, AgreesWithExactDigitsWhereTheDigitsAreComputedInIntegers) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(1, 10);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i)
        values.push_back(unit(random) * std::pow(10.0, static_cast<int>(random() % 43) - 12));
    for (int e = -40; e <= 100; ++e)
        values.push_back(std::ldexp(1.0, e));
    for (int e = -12; e <= 30; ++e) {
        values.push_back(std::pow(10.0, e));
        values.push_back(9.9999999995 * std::pow(10.0, e));
    }
    for (const double value : std::vector<double>(values)) {
        for (const double beside : {std::nextafter(value, 0.0), std::nextafter(value, 1e300)}) {
            values.push_back(beside);
            values.push_back(-beside);
        }
    }
    for (const double value : values)
        ASSERT_EQ(text_of(value), reference_text(value)) << std::hexfloat << value;
}

TEST(NumberToText, SignedZeroDenormalsAndNonFiniteValues) {
    EXPECT_EQ(text_of(-0.0), "-0");
    EXPECT_EQ(text_of(std::numeric_limits<double>::denorm_min()), "4.940656458e-324");
    EXPECT_EQ(text_of(std::numeric_limits<double>::max()), "1.797693135e+308");
    EXPECT_EQ(text_of(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(text_of(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(text_of(std::nan("")), "nan");
}

TEST(NumberToText, Integers) {
    EXPECT_EQ(std::string(number_to_text(-7).c_str()), "-7");
    EXPECT_EQ(std::string(number_to_text(0).c_str()), "0");
    EXPECT_EQ(std::string(number_to_text(std::numeric_limits<int32_t>::min()).c_str()),
              "-2147483648");
    EXPECT_EQ(number_to_text(12).capacity(), 32u);
    EXPECT_EQ(number_to_text(1.5).capacity(), 80u);
}

TEST(TextToNumber, FollowsTheCGrammarOnly) {
    EXPECT_EQ(text_to_double("  \t\n-1.5e2xyz"), -150);
    EXPECT_EQ(text_to_double("+.5"), 0.5);
    EXPECT_EQ(text_to_double("7."), 7);
    EXPECT_EQ(text_to_double("1e"), 1);
    EXPECT_EQ(text_to_double("1e+"), 1);
    EXPECT_EQ(text_to_double("2E-1"), 0.2);
    EXPECT_EQ(text_to_double("0x10"), 0);
    EXPECT_EQ(text_to_double("inf"), 0);
    EXPECT_EQ(text_to_double("nan"), 0);
    EXPECT_EQ(text_to_double("1,5"), 1);
    EXPECT_EQ(text_to_double("."), 0);
    EXPECT_EQ(text_to_double("-"), 0);
    EXPECT_EQ(text_to_double(""), 0);
    EXPECT_EQ(text_to_double(nullptr), 0);
    EXPECT_EQ(text_to_double("0.1"), 0.1);
    EXPECT_EQ(text_to_double("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(text_to_double("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(text_to_double("1e-400"), 0);
    EXPECT_EQ(text_to_double("0.000000000000000000001e310"), 1e289);
    EXPECT_EQ(text_to_double("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
}

TEST(TextToNumber, IntegersStopAtTheFirstNonDigit) {
    EXPECT_EQ(text_to_int("  42abc"), 42);
    EXPECT_EQ(text_to_int("-17"), -17);
    EXPECT_EQ(text_to_int("+3.9"), 3);
    EXPECT_EQ(text_to_int("0x10"), 0);
    EXPECT_EQ(text_to_int("abc"), 0);
    EXPECT_EQ(text_to_int("- 5"), 0);
    EXPECT_EQ(text_to_int("2147483647"), 2147483647);
    EXPECT_EQ(text_to_int("99999999999999999999"), 2147483647);
    EXPECT_EQ(text_to_int("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(text_to_int("-99999999999"), std::numeric_limits<int32_t>::min());
}

TEST(TextToNumber, RoundTripsEveryTextOfTheRule) {
    for (double value : {0.0, 1.5, -2.25, 0.05, 1e10, 123456789.0, 3.25e-7, -8e100}) {
        EXPECT_EQ(text_to_double(number_to_text(value)), value) << value;
    }
}

}  // namespace
}  // namespace vexel
