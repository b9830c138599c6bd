#include <gtest/gtest.h>

#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include <vexel/math.h>

namespace vexel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(DegreeMath, UsesDegreesBothWays) {
    EXPECT_NEAR(sin_deg(30), 0.5, 1e-15);
    EXPECT_NEAR(cos_deg(60), 0.5, 1e-15);
    EXPECT_NEAR(tan_deg(45), 1.0, 1e-15);
    EXPECT_NEAR(sin_deg(-90), -1.0, 1e-15);
    EXPECT_EQ(sin_deg(0), 0.0);
    EXPECT_EQ(cos_deg(0), 1.0);
    // The conversion factor is pi / 180 in double precision.
    EXPECT_EQ(sin_deg(1), std::sin(std::numbers::pi / 180));
    EXPECT_EQ(cos_deg(33), std::cos(33 * (std::numbers::pi / 180)));

    EXPECT_DOUBLE_EQ(atan_deg(1, 1), 45);
    EXPECT_DOUBLE_EQ(atan_deg(0, -1), 180);
    EXPECT_DOUBLE_EQ(atan_deg(-1, 0), -90);
    EXPECT_EQ(atan_deg(0, 0), 0);
    EXPECT_EQ(atan_deg(1, 0), std::atan2(1.0, 0.0) * (180 / std::numbers::pi));
}

TEST(DegreeMath, ArcSineAndCosineClampOutsideTheDomain) {
    EXPECT_EQ(asin_deg(1.5), 90);
    EXPECT_EQ(asin_deg(1), 90);
    EXPECT_EQ(asin_deg(-1), -90);
    EXPECT_EQ(asin_deg(-7), -90);
    EXPECT_NEAR(asin_deg(0.5), 30, 1e-12);
    EXPECT_EQ(acos_deg(-2), 180);
    EXPECT_EQ(acos_deg(-1), 180);
    EXPECT_EQ(acos_deg(1), 0);
    EXPECT_EQ(acos_deg(3), 0);
    EXPECT_NEAR(acos_deg(0.5), 60, 1e-12);
    EXPECT_NEAR(acos_deg(0), 90, 1e-12);
    EXPECT_TRUE(std::isnan(asin_deg(kNaN)));
    EXPECT_TRUE(std::isnan(acos_deg(kNaN)));
}

TEST(Math, SquareRootOfANegativeIsNaNWithTheDomainError) {
    EXPECT_EQ(square_root(16), 4);
    EXPECT_EQ(square_root(2), std::sqrt(2.0));
    EXPECT_EQ(square_root(0), 0);
    EXPECT_TRUE(std::signbit(square_root(-0.0)));

    errno = 0;
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_TRUE(std::isnan(square_root(-4)));
    if (math_errhandling & MATH_ERRNO) {
        EXPECT_EQ(errno, EDOM);
    }
    if (math_errhandling & MATH_ERREXCEPT) {
        EXPECT_TRUE(std::fetestexcept(FE_INVALID));
    }

    EXPECT_TRUE(std::isnan(square_root(kNaN)));
}

TEST(Math, LogarithmAndPower) {
    EXPECT_DOUBLE_EQ(logarithm(std::numbers::e), 1);
    EXPECT_EQ(logarithm(1), 0);
    EXPECT_EQ(logarithm(0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(logarithm(-1)));
    EXPECT_EQ(power(2, 10), 1024);
    EXPECT_EQ(power(9, 0.5), 3);
    EXPECT_EQ(power(0, 0), 1);
    EXPECT_TRUE(std::isnan(power(-8, 1.0 / 3)));
}

TEST(Math, FloatingModuloKeepsTheDividendSignAndZeroDivisorGivesZero) {
    EXPECT_EQ(fmod_safe(7.5, 2), 1.5);
    EXPECT_EQ(fmod_safe(-7.5, 2), -1.5);
    EXPECT_EQ(fmod_safe(7.5, -2), 1.5);
    EXPECT_EQ(fmod_safe(5, 0), 0);
    EXPECT_EQ(fmod_safe(5, -0.0), 0);
    EXPECT_EQ(fmod_safe(-3, 0), 0);
}

TEST(Math, IntegerModuloTruncatesAndNeverTraps) {
    EXPECT_EQ(imod(7, 3), 1);
    EXPECT_EQ(imod(-7, 3), -1);
    EXPECT_EQ(imod(7, -3), 1);
    EXPECT_EQ(imod(-7, -3), -1);
    EXPECT_EQ(imod(25, 10), 5);
    EXPECT_EQ(imod(5, 0), 0);
    EXPECT_EQ(imod(0, 0), 0);
    EXPECT_EQ(imod(INT32_MIN, -1), 0);
    EXPECT_EQ(imod(12345, -1), 0);
    EXPECT_EQ(imod(INT32_MIN, 3), -2);
    EXPECT_EQ(imod(INT32_MAX, INT32_MIN), INT32_MAX);
}

}  // namespace
}  // namespace vexel
