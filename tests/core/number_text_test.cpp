#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
