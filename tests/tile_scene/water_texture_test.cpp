#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "image/image_decoders.h"
#include "image/image_encoders.h"
#include "media_files.h"
#include "scene_state.h"
#include "support/temp_dir.h"
#include "water_texture.h"

namespace tile_media {
namespace {

using vexel::ImageBuffer;

constexpr int32_t kDefaultKey = 255 | 128 << 16;

// Mean over a cell's rows (or columns) of the channel differences between two pixel columns (or
// rows) of the cell.
double mean_line_difference(const ImageBuffer& picture, WaterCell cell, int32_t a, int32_t b,
                            bool columns) {
    const int32_t left = cell.column * kWaterCellSide;
    const int32_t top = cell.row * kWaterCellSide;
    double sum = 0;
    for (int32_t i = 0; i < kWaterCellSide; ++i) {
        const uint8_t* p =
            columns ? picture.pixel(left + a, top + i) : picture.pixel(left + i, top + a);
        const uint8_t* q =
            columns ? picture.pixel(left + b, top + i) : picture.pixel(left + i, top + b);
        for (int c = 0; c < 3; ++c)
            sum += std::abs(p[c] - q[c]);
    }
    return sum / (3.0 * kWaterCellSide);
}

double mean_cell_difference(const ImageBuffer& picture, WaterCell a, WaterCell b) {
    double sum = 0;
    for (int32_t y = 0; y < kWaterCellSide; ++y) {
        for (int32_t x = 0; x < kWaterCellSide; ++x) {
            const uint8_t* p =
                picture.pixel(a.column * kWaterCellSide + x, a.row * kWaterCellSide + y);
            const uint8_t* q =
                picture.pixel(b.column * kWaterCellSide + x, b.row * kWaterCellSide + y);
            for (int c = 0; c < 3; ++c)
                sum += std::abs(p[c] - q[c]);
        }
    }
    return sum / (3.0 * kWaterCellSide * kWaterCellSide);
}

class WaterTextureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(make_water_texture(picture)); }
    ImageBuffer picture;
};

TEST(WaterCellTest, TheWalkCrossesRowsThenGoesUpThePicture) {
    EXPECT_EQ(water_cell_of_step(0).column, 0);
    EXPECT_EQ(water_cell_of_step(0).row, 0);
    EXPECT_EQ(water_cell_of_step(7).column, 7);
    EXPECT_EQ(water_cell_of_step(7).row, 0);
    EXPECT_EQ(water_cell_of_step(8).column, 0);
    EXPECT_EQ(water_cell_of_step(8).row, 7);
    EXPECT_EQ(water_cell_of_step(16).row, 6);
    EXPECT_EQ(water_cell_of_step(63).column, 7);
    EXPECT_EQ(water_cell_of_step(63).row, 1);
    EXPECT_EQ(water_cell_of_step(64).row, 0);
    EXPECT_EQ(water_cell_of_step(-1).row, 1);
    std::set<int32_t> cells;
    for (int32_t step = 0; step < kWaterPhases; ++step)
        cells.insert(water_cell_of_step(step).row * kWaterCells + water_cell_of_step(step).column);
    EXPECT_EQ(cells.size(), 64u);
}

TEST(WaterCellTest, MatchesTheCellTheSceneOffsetShowsOnTheTriangleTile) {
    // The tile's stored v runs from -1/8 to 0 and the offset is added to it; texel rows run from
    // the bottom of the picture, so texture row t shows picture row 7 - t.
    tile_scene::SceneState state;
    for (int32_t step = 0; step < kWaterPhases; ++step) {
        const double low_v = std::fmod(state.water_v - 0.125 + 1, 1);
        const int32_t texel_row = static_cast<int32_t>(std::lround(low_v * 8)) % 8;
        const WaterCell cell = water_cell_of_step(step);
        EXPECT_EQ(cell.column, static_cast<int32_t>(std::lround(state.water_u * 8))) << step;
        EXPECT_EQ(cell.row, 7 - texel_row) << step;
        while (!tile_scene::advance_frame(state)) {
        }
    }
}

TEST_F(WaterTextureTest, FillsTheWholeOpaquePictureAvoidingTheColourKey) {
    EXPECT_EQ(picture.width(), 512);
    EXPECT_EQ(picture.height(), 512);
    for (int32_t y = 0; y < 512; ++y) {
        for (int32_t x = 0; x < 512; ++x) {
            const uint8_t* p = picture.pixel(x, y);
            ASSERT_EQ(p[3], 255);
            ASSERT_NE(p[0] | p[1] << 8 | p[2] << 16, kDefaultKey);
        }
    }
}

TEST_F(WaterTextureTest, EveryCellTilesSeamlessly) {
    for (int32_t step = 0; step < kWaterPhases; ++step) {
        const WaterCell cell = water_cell_of_step(step);
        for (bool columns : {true, false}) {
            double inner = 0;
            for (int32_t i = 0; i + 1 < kWaterCellSide; ++i)
                inner += mean_line_difference(picture, cell, i, i + 1, columns);
            inner /= kWaterCellSide - 1;
            // Across the seam the last line meets the first as neighbours inside do; a picture
            // that did not wrap would differ there by many neighbour steps.
            const double seam = mean_line_difference(picture, cell, kWaterCellSide - 1, 0, columns);
            EXPECT_LE(seam, 2 * inner + 1) << "step " << step << (columns ? " columns" : " rows");
            EXPECT_GT(inner, 1) << "a flat cell";
        }
    }
}

TEST_F(WaterTextureTest, PhaseMovesOnFromCellToCellAndLoops) {
    double smallest = 1e9;
    double largest = 0;
    for (int32_t step = 0; step < kWaterPhases; ++step) {
        const double change =
            mean_cell_difference(picture, water_cell_of_step(step), water_cell_of_step(step + 1));
        smallest = std::min(smallest, change);
        largest = std::max(largest, change);
    }
    EXPECT_GT(smallest, 3);              // every step shows moving water ...
    EXPECT_LT(largest, 2.5 * smallest);  // ... and no step, the loop's end included, jumps
    // Half a loop apart the water looks clearly different from one step on.
    EXPECT_GT(mean_cell_difference(picture, water_cell_of_step(0), water_cell_of_step(32)),
              2 * smallest);
}

TEST_F(WaterTextureTest, SurvivesTheEnginesBmpEncoderAndDecoder) {
    vexel::testing::ScopedTempDir folder;
    const std::string name = folder.file("water.bmp");
    ASSERT_TRUE(vexel::encode_bmp(name.c_str(), picture));
    ImageBuffer decoded;
    ASSERT_TRUE(vexel::decode_bmp(name.c_str(), kDefaultKey, decoded));
    ASSERT_EQ(decoded.width(), 512);
    ASSERT_EQ(decoded.height(), 512);
    EXPECT_EQ(0, std::memcmp(decoded.pixels(), picture.pixels(), decoded.byte_count()));
}

TEST_F(WaterTextureTest, TheBuildPutTheSamePictureNextToTheGame) {
    const std::string name = std::string(VEXEL_TILE_SCENE_DIR) + "/" + kWaterTextureName;
    ImageBuffer decoded;
    ASSERT_TRUE(vexel::decode_bmp(name.c_str(), kDefaultKey, decoded)) << name;
    ASSERT_EQ(decoded.width(), 512);
    ASSERT_EQ(decoded.height(), 512);
    EXPECT_EQ(0, std::memcmp(decoded.pixels(), picture.pixels(), decoded.byte_count()));
}

}  // namespace
}  // namespace tile_media
