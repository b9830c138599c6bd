#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <string>

#include "mesh/mesh_file.h"
#include "mesh/mesh_test_support.h"
#include "mesh/normal_table.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::MeshBuilder;
using testing::ScopedTempDir;

Vec3f table_entry(uint32_t index) {
    return Vec3f{kNormalTable[index][0], kNormalTable[index][1], kNormalTable[index][2]};
}

TEST(NormalIndexTest, TableEntriesAndTheirMultiplesFindThemselves) {
    for (uint32_t i = 0; i < kNormalTableSize; ++i)
        EXPECT_EQ(nearest_normal_index(table_entry(i)), i);
    EXPECT_EQ(nearest_normal_index(Vec3f{0, 0, 5}), 5);  // normalised first
    EXPECT_EQ(nearest_normal_index(Vec3f{0, -3, 0}), 104);
}

TEST(NormalIndexTest, AZeroNormalStopsAtTheFirstEntry) {
    EXPECT_EQ(nearest_normal_index(Vec3f{0, 0, 0}), 0);
}

TEST(NormalIndexTest, OnEqualErrorsTheLaterEntryWins) {
    // Halfway between entries 7 and 8, which differ only in the sign of x: both errors are the
    // same number, and nudging x either way shows they are the two nearest.
    const Vec3f between{0, 0.716567f, 0.681718f};
    EXPECT_EQ(nearest_normal_index(between), 8);
    EXPECT_EQ(nearest_normal_index(Vec3f{-0.001f, 0.716567f, 0.681718f}), 7);
    EXPECT_EQ(nearest_normal_index(Vec3f{0.001f, 0.716567f, 0.681718f}), 8);
    // A normal too short to normalise: every entry with x = 0 has the same smallest error
    // |1e-4 · 1e-4|, and the last of them is entry 137.
    EXPECT_EQ(nearest_normal_index(Vec3f{1e-4f, 0, 0}), 137);
}

TEST(NormalIndexTest, TheChosenEntryIsTheNearestByAngle) {
    const Vec3f samples[] = {{0.3f, -0.2f, 0.9f}, {-1, 2, -3}, {0.01f, 0.99f, 0.1f}, {5, 5, 0}};
    for (const Vec3f& sample : samples) {
        const float length =
            std::sqrt(sample.x * sample.x + sample.y * sample.y + sample.z * sample.z);
        float best = -2;
        for (uint32_t i = 0; i < kNormalTableSize; ++i) {
            const Vec3f t = table_entry(i);
            best = std::max(best, (sample.x * t.x + sample.y * t.y + sample.z * t.z) / length);
        }
        const Vec3f chosen = table_entry(nearest_normal_index(sample));
        EXPECT_FLOAT_EQ((sample.x * chosen.x + sample.y * chosen.y + sample.z * chosen.z) / length,
                        best);
    }
}

// A strip and a fan with colours, two frames, as the object commands make it.
MeshObjectX built_mesh() {
    MeshBuilder builder;
    builder.add(0, 0, 0, 0, 0, 0x0000FF).add(1.25f, 0, 0, 1, 0).add(0, 1, 0.1f, 0, 1);
    builder.add(1, 1, -7.5f, 1, 1);
    builder.marker(kMarkerFan).add(3, 3, 3, 0.5f, 0.5f).add(4, 3, 3).add(4, 4, 3);
    builder.add(3, 4, 3.3f);
    builder.frame(1);
    for (int i = 0; i < 4; ++i)
        builder.add(static_cast<float>(i), 2, 0);
    builder.marker(kMarkerFan);
    for (int i = 0; i < 4; ++i)
        builder.add(static_cast<float>(i), 3, 1, 0, 0, 0x00FF00);
    return builder.finish(2);
}

TEST(MeshWriterTest, SavingAndLoadingKeepsMarkersPositionsAndPairsAndRoundsNormals) {
    ScopedTempDir folder;
    const MeshObjectX original = built_mesh();
    const std::string name = folder.file("Triangle-Wall.vxm");
    ASSERT_TRUE(write_mesh_file(name.c_str(), original));
    MeshObjectX loaded;
    ASSERT_TRUE(read_mesh_file(name.c_str(), loaded));
    ASSERT_EQ(loaded.frames.size(), 2u);
    EXPECT_EQ(loaded.palette, original.palette);
    for (size_t f = 0; f < 2; ++f) {
        const auto& before = original.frames[f].build_stream;
        const auto& after = loaded.frames[f].build_stream;
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].colour, before[i].colour) << f << " " << i;
            EXPECT_EQ(after[i].palette_index, before[i].palette_index);
            EXPECT_EQ(after[i].position.x, before[i].position.x);
            EXPECT_EQ(after[i].position.y, before[i].position.y);
            EXPECT_EQ(after[i].position.z, before[i].position.z);
            // Pairs are those of frame 0, v as stored.
            EXPECT_EQ(after[i].u, original.frames[0].build_stream[i].u);
            EXPECT_EQ(after[i].v, original.frames[0].build_stream[i].v);
            const Vec3f rounded = table_entry(nearest_normal_index(before[i].normal));
            EXPECT_EQ(after[i].normal.x, rounded.x);
            EXPECT_EQ(after[i].normal.z, rounded.z);
        }
    }
    // The strips and fans come back: the same triangles in the same order.
    loaded.prepare();
    const auto& drawn = loaded.frames[0].triangles;
    ASSERT_EQ(drawn.size(), original.frames[0].triangles.size());
    for (size_t i = 0; i < drawn.size(); ++i)
        EXPECT_EQ(drawn[i].position.z, original.frames[0].triangles[i].position.z);
}

TEST(MeshWriterTest, HeaderHoldsMagicVersionCountsPaletteAndPairs) {
    ScopedTempDir folder;
    MeshBuilder builder;
    builder.add(1, 2, 3, 0.5f, 0.25f, 0x0000FF);
    const MeshObjectX mesh = builder.finish();
    ASSERT_TRUE(write_mesh_file(folder.file("m.vxm").c_str(), mesh));
    testing::MeshBytes expected;
    expected.header(2.0, 1, 2, 2).i32(-2).i32(0x0000FF);
    expected.f32(0).f32(0).f32(0.5f).f32(-0.25f);
    expected.i32(2).record(0, 0, 0, 0, 0).record(1, 2, 3, 0, 1);
    EXPECT_EQ(testing::read_file(folder.file("m.vxm")), expected.str());
    EXPECT_EQ(expected.str().substr(0, 4), std::string("\x17\xB3\xC6\x00", 4));
}

TEST(MeshWriterTest, NothingIsWrittenWithoutFramesOrForAMemoryName) {
    ScopedTempDir folder;
    MeshObjectX empty;
    EXPECT_FALSE(write_mesh_file(folder.file("none.vxm").c_str(), empty));
    EXPECT_FALSE(testing::read_file(folder.file("none.vxm")).size());
    const MeshObjectX mesh = built_mesh();
    EXPECT_FALSE(write_mesh_file("mem://      10.       1", mesh));
    EXPECT_FALSE(write_mesh_file(folder.file("no/such/folder.vxm").c_str(), mesh));
}

TEST(MeshWriterTest, AnExistingFileOrEmptyFolderOfTheNameIsReplaced) {
    ScopedTempDir folder;
    const MeshObjectX mesh = built_mesh();
    testing::write_file(folder.file("old.vxm"), std::string(10000, 'x'));
    ASSERT_TRUE(write_mesh_file(folder.file("old.vxm").c_str(), mesh));
    MeshObjectX loaded;
    EXPECT_TRUE(read_mesh_file(folder.file("old.vxm").c_str(), loaded));
    ASSERT_EQ(mkdir(folder.file("dir.vxm").c_str(), 0755), 0);
    ASSERT_TRUE(write_mesh_file((folder.path() + "dir.vxm").c_str(), mesh));
    EXPECT_TRUE(read_mesh_file(folder.file("dir.vxm").c_str(), loaded));
}

TEST(MeshWriterTest, BackslashesInTheNameAreFolderSeparators) {
    ScopedTempDir folder;
    ASSERT_EQ(mkdir(folder.file("sub").c_str(), 0755), 0);
    ASSERT_TRUE(write_mesh_file((folder.path() + "sub\\m.vxm").c_str(), built_mesh()));
    EXPECT_NE(testing::read_file(folder.file("sub/m.vxm")).size(), 0u);
}

}  // namespace
}  // namespace vexel
