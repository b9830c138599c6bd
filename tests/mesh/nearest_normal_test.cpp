#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "mesh/mesh_file.h"
#include "mesh/normal_table.h"

namespace vexel {
namespace {

// The rule written out as a plain scan of the whole table, to hold the writer's search to.
// *tied tells whether the smallest error was met by more than one entry.
uint8_t scan_whole_table(const Vec3f& normal, bool* tied = nullptr) {
    float n[3] = {normal.x, normal.y, normal.z};
    const float squared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    if (squared > 1e-7f) {
        const float length = std::sqrt(squared);
        for (float& c : n)
            c /= length;
    }
    uint8_t best = 0;
    float best_error = INFINITY;
    for (uint32_t t = 0; t < kNormalTableSize; ++t) {
        const float* e = kNormalTable[t];
        const float error =
            std::fabs(n[0] * (n[0] - e[0]) + n[1] * (n[1] - e[1]) + n[2] * (n[2] - e[2]));
        if (error <= best_error) {
            if (tied) *tied = error == best_error;
            best_error = error;
            best = static_cast<uint8_t>(t);
            if (error == 0) break;
        }
    }
    return best;
}

// A vector and its neighbours a few float steps away along each axis.
void add_with_neighbours(std::vector<Vec3f>& out, float x, float y, float z, int steps) {
    const auto step = [](float v, int k) {
        for (int i = 0; i < std::abs(k); ++i)
            v = std::nextafter(v, k > 0 ? 2.0f : -2.0f);
        return v;
    };
    for (int i = -steps; i <= steps; ++i) {
        for (int j = -steps; j <= steps; ++j) {
            for (int k = -steps; k <= steps; ++k)
                out.push_back({step(x, i), step(y, j), step(z, k)});
        }
    }
}

size_t mismatches(const std::vector<Vec3f>& normals) {
    size_t wrong = 0;
    for (const Vec3f& n : normals) {
        if (nearest_normal_index(n) != scan_whole_table(n)) {
            ADD_FAILURE() << n.x << " " << n.y << " " << n.z;
            if (++wrong == 10) break;
        }
    }
    return wrong;
}

TEST(NearestNormalTest, HalfwayBetweenNeighboursTheScanOfTheWholeTableIsMatched) {
    // Where two entries are equally near, float rounding decides, including exact ties.
    std::vector<Vec3f> normals;
    size_t pairs = 0;
    for (uint32_t a = 0; a < kNormalTableSize; ++a) {
        for (uint32_t b = a + 1; b < kNormalTableSize; ++b) {
            const float* p = kNormalTable[a];
            const float* q = kNormalTable[b];
            const float mid[3] = {p[0] + q[0], p[1] + q[1], p[2] + q[2]};
            const float gap[3] = {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
            if (gap[0] * gap[0] + gap[1] * gap[1] + gap[2] * gap[2] > 0.25f) continue;
            ++pairs;
            const float length = std::sqrt(mid[0] * mid[0] + mid[1] * mid[1] + mid[2] * mid[2]);
            add_with_neighbours(normals, mid[0] / length, mid[1] / length, mid[2] / length, 2);
        }
    }
    EXPECT_GT(pairs, 400u);
    size_t ties = 0;
    for (const Vec3f& n : normals) {
        bool tied = false;
        scan_whole_table(n, &tied);
        ties += tied;
    }
    EXPECT_GT(ties, 10u);
    EXPECT_EQ(mismatches(normals), 0u);
}

TEST(NearestNormalTest, RandomDirectionsLengthsAndOddValuesMatchTheScanOfTheWholeTable) {
    std::mt19937 random(20240611);
    std::normal_distribution<float> gauss;
    std::uniform_real_distribution<float> exponent(-8, 8);
    std::uniform_int_distribution<uint32_t> bits;
    std::vector<Vec3f> normals;
    for (int i = 0; i < 300000; ++i) {
        const float scale = i % 2 ? 1.0f : std::pow(10.0f, exponent(random));
        normals.push_back({gauss(random) * scale, gauss(random) * scale, gauss(random) * scale});
    }
    for (int i = 0; i < 30000; ++i) {
        float any[3];
        for (float& f : any) {
            const uint32_t word = bits(random);
            std::memcpy(&f, &word, sizeof f);
        }
        normals.push_back({any[0], any[1], any[2]});
    }
    const float odd[] = {0,      -0.0f,   INFINITY, -INFINITY, NAN,
                         1e-40f, 3.2e-4f, 1e19f,    1e30f,     std::numeric_limits<float>::max()};
    for (float x : odd) {
        for (float y : odd) {
            for (float z : odd)
                normals.push_back({x, y, z});
        }
    }
    EXPECT_EQ(mismatches(normals), 0u);
}

}  // namespace
}  // namespace vexel
