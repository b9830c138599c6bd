#include "mesh/normal_table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexel {
namespace {

TEST(NormalTableTest, HoldsTheKnownFirstAndLastEntriesAndOnlyUnitVectors) {
    EXPECT_EQ(kNormalTable[0][0], -0.525731f);
    EXPECT_EQ(kNormalTable[0][1], 0.0f);
    EXPECT_EQ(kNormalTable[0][2], 0.850651f);
    EXPECT_EQ(kNormalTable[161][0], -0.688191f);
    EXPECT_EQ(kNormalTable[161][1], -0.587785f);
    EXPECT_EQ(kNormalTable[161][2], -0.425325f);
    for (uint32_t i = 0; i < kNormalTableSize; ++i) {
        const float* v = kNormalTable[i];
        EXPECT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 1.0f, 2e-6f) << i;
    }
}

}  // namespace
}  // namespace vexel
