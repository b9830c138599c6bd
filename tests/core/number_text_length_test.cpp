#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <vexel/text.h>

namespace vexel {
namespace {

TEST(NumberTextLength, MatchesTheNumbersText) {
    for (double value : {0.0, 100.0, 1.5, -2.25, 0.05, 1e10, 123456789.0, 1.0 / 3.0, -1.5e300,
                         5e-324, std::nan(""), -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(number_text_length(value), static_cast<int32_t>(number_to_text(value).length()))
            << value;
    }
    EXPECT_EQ(number_text_length(0.05), 7);  // 5.e-002
    EXPECT_EQ(number_text_length(100.0), 3);
}

TEST(NumberTextLength, IntegersCountSignAndDigits) {
    EXPECT_EQ(number_text_length(0), 1);
    EXPECT_EQ(number_text_length(-7), 2);
    EXPECT_EQ(number_text_length(1234567), 7);
    EXPECT_EQ(number_text_length(INT32_MIN), 11);
    EXPECT_EQ(number_text_length(INT32_MAX), 10);
}

}  // namespace
}  // namespace vexel
