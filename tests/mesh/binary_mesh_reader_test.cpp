#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include <vexel/error.h>

#include "io/stream_source.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_test_support.h"
#include "mesh/normal_table.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::MeshBytes;
using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;

// Two frames of a strip marker and three vertices; palette: marker, red, green.
MeshBytes version_two_file() {
    MeshBytes file;
    file.header(2.0, 2, 3, 4).i32(-2).i32(0x0000FF).i32(0x00FF00);
    file.f32(0).f32(0).f32(0.25f).f32(-0.5f).f32(1).f32(-0.75f).f32(0.5f).f32(1);
    file.i32(4).record(0, 0, 0, 0, 0).record(1.5f, 2, -3, 5, 1).record(4, 5, 6, 161, 2);
    file.record(7, 8, 9, 84, 1);
    file.i32(4).record(0, 0, 0, 0, 0).record(10, 20, 30, 5, 1).record(40, 50, 60, 161, 2);
    file.record(70, 80, 90, 84, 2);
    return file;
}

// One quantised frame of a marker and two vertices.
MeshBytes quantised_file(double version) {
    MeshBytes file;
    file.header(version, 1, 2, 3).i32(-1).i32(0x123456);
    file.f32(0).f32(0).f32(0.5f).f32(0.25f).f32(1).f32(0.75f);
    file.i32(3).f32(1).f32(2).f32(3).f32(0.5f).f32(2).f32(-1);  // offset, scale
    file.u8(0).u8(0).u8(0).u8(0).u8(0);
    file.u8(3).u8(4).u8(5).u8(5).u8(1);
    file.u8(255).u8(2).u8(3).u8(161).u8(1);
    return file;
}

class BinaryMeshReaderTest : public ::testing::TestWithParam<StreamKind> {
protected:
    bool read(const std::string& bytes) {
        source_ = std::make_unique<StreamSource>(GetParam(), bytes, folder_, "mesh.vxm");
        return read_mesh_file(source_->name().c_str(), mesh_);
    }
    std::string log() const { return testing::read_file(error_log_path()); }
    std::string read_error_line() const { return "# read error\n" + source_->name() + "\n"; }

    ScopedTempDir folder_;
    std::unique_ptr<StreamSource> source_;
    MeshObjectX mesh_;
};

TEST_P(BinaryMeshReaderTest, VersionTwoRecordsCarryPositionTableNormalPairAndPaletteColour) {
    ASSERT_TRUE(read(version_two_file().str()));
    ASSERT_EQ(mesh_.frames.size(), 2u);
    EXPECT_EQ(mesh_.palette, (std::vector<int32_t>{-2, 0x0000FF, 0x00FF00}));
    EXPECT_EQ(mesh_.normals_valid, 1);
    const auto& stream = mesh_.frames[0].build_stream;
    ASSERT_EQ(stream.size(), 4u);
    EXPECT_EQ(stream[0].colour, -2);
    const MeshVertex& record = stream[1];
    EXPECT_EQ(record.position.x, 1.5f);
    EXPECT_EQ(record.position.y, 2.0f);
    EXPECT_EQ(record.position.z, -3.0f);
    EXPECT_EQ(record.normal.z, 1.0f);  // table entry 5 is (0, 0, 1)
    EXPECT_EQ(record.u, 0.25f);
    EXPECT_EQ(record.v, -0.5f);  // taken as stored
    EXPECT_EQ(record.palette_index, 1);
    EXPECT_EQ(record.colour, 0x0000FF);
    EXPECT_EQ(record.red, 1.0f);
    EXPECT_EQ(record.green, 0.0f);
    EXPECT_EQ(record.tangent.x, 0.0f);
    EXPECT_EQ(stream[2].normal.x, kNormalTable[161][0]);
    EXPECT_EQ(stream[3].v, 1.0f);
    // Every frame takes the pair of its record's position.
    const MeshVertex& later = mesh_.frames[1].build_stream[3];
    EXPECT_EQ(later.position.z, 90.0f);
    EXPECT_EQ(later.u, 0.5f);
    EXPECT_EQ(later.colour, 0x00FF00);
}

TEST_P(BinaryMeshReaderTest, QuantisedFramesDecodeOffsetAndScaleAndNegateV) {
    ASSERT_TRUE(read(quantised_file(1.02).str()));
    const auto& stream = mesh_.frames[0].build_stream;
    ASSERT_EQ(stream.size(), 3u);
    EXPECT_EQ(stream[0].colour, -1);
    // ((3 - 1) * 0.5, (4 - 2) * 2, (5 - 3) * -1)
    EXPECT_EQ(stream[1].position.x, 1.0f);
    EXPECT_EQ(stream[1].position.y, 4.0f);
    EXPECT_EQ(stream[1].position.z, -2.0f);
    EXPECT_EQ(stream[1].u, 0.5f);
    EXPECT_EQ(stream[1].v, -0.25f);
    EXPECT_EQ(stream[2].position.x, 127.0f);
    EXPECT_EQ(stream[2].v, -0.75f);
    EXPECT_EQ(stream[1].colour, 0x123456);
    // Older files give tangent and bitangent the first table entry.
    EXPECT_EQ(stream[1].tangent.x, kNormalTable[0][0]);
    EXPECT_EQ(stream[1].bitangent.z, kNormalTable[0][2]);
}

TEST_P(BinaryMeshReaderTest, VersionsInsideTheRangeLoad) {
    for (double version : {1.02, 1.5, 1.9999, 2.0}) {
        EXPECT_TRUE(read(version < 2.0 ? quantised_file(version).str() : version_two_file().str()))
            << version;
    }
    EXPECT_EQ(log(), "");
}

TEST_P(BinaryMeshReaderTest, VersionsOutsideTheRangeAreRejectedWithTheMessage) {
    EXPECT_FALSE(read(quantised_file(1.0199).str()));
    EXPECT_EQ(log(), "Wrong .vxm version: 1.02. Can use 1.02-2.00\n" + read_error_line());
    EXPECT_TRUE(mesh_.frames.empty());
    std::remove(error_log_path());
    MeshBytes newer;
    newer.header(2.0001, 0, 0, 0);
    EXPECT_FALSE(read(newer.str()));
    EXPECT_EQ(log(), "Wrong .vxm version: 2.00. Can use 1.02-2.00\n" + read_error_line());
    EXPECT_EQ(last_error_code(), 20);
}

TEST_P(BinaryMeshReaderTest, NotANumberIsNoVersion) {
    MeshBytes file;
    file.header(std::nan(""), 0, 0, 0);
    EXPECT_FALSE(read(file.str()));
    EXPECT_NE(log().find("Wrong .vxm version: nan"), std::string::npos);
}

TEST_P(BinaryMeshReaderTest, EveryTruncationIsAReadErrorThatLeavesTheMeshEmpty) {
    const std::string whole = version_two_file().str();
    for (size_t length = 4; length < whole.size(); ++length) {
        std::remove(error_log_path());
        EXPECT_FALSE(read(whole.substr(0, length))) << length;
        EXPECT_TRUE(mesh_.frames.empty());
        EXPECT_TRUE(mesh_.palette.empty());
        EXPECT_EQ(log(), read_error_line()) << length;
    }
}

TEST_P(BinaryMeshReaderTest, CountsLargerThanTheFileAreRejectedBeforeAnythingIsAllocated) {
    const int32_t huge = 0x7FFFFFFF;
    for (auto [frames, palette, pairs] : {std::tuple{huge, 0, 0}, std::tuple{0, huge, 0},
                                          std::tuple{0, 0, huge}, std::tuple{1, 0, 0x10000000}}) {
        MeshBytes file;
        file.header(2.0, frames, palette, pairs).i32(0).i32(0).i32(0).i32(0);
        EXPECT_FALSE(read(file.str()));
    }
    MeshBytes records;
    records.header(2.0, 1, 1, 2).i32(-2).f32(0).f32(0).f32(0).f32(0).i32(huge);
    EXPECT_FALSE(read(records.str()));
    MeshBytes quantised;
    quantised.header(1.5, 3, 0, 0).i32(0);  // a quantised frame needs at least 28 bytes
    EXPECT_FALSE(read(quantised.str()));
}

TEST_P(BinaryMeshReaderTest, NegativeCountsAreRejected) {
    for (auto [frames, palette, pairs] :
         {std::tuple{-1, 0, 0}, std::tuple{0, -1, 0}, std::tuple{0, 0, -1}}) {
        MeshBytes file;
        file.header(2.0, frames, palette, pairs);
        EXPECT_FALSE(read(file.str()));
    }
    MeshBytes records;
    records.header(2.0, 1, 0, 0).i32(-1);
    EXPECT_FALSE(read(records.str()));
    EXPECT_EQ(log().find("# read error"), 0u);
}

TEST_P(BinaryMeshReaderTest, IndicesWithoutAnEntryAreRejected) {
    auto one_record = [](uint8_t normal, uint8_t palette) {
        MeshBytes file;
        file.header(2.0, 1, 2, 1).i32(-1).i32(0).f32(0).f32(0);
        return file.i32(1).record(0, 0, 0, normal, palette).str();
    };
    EXPECT_TRUE(read(one_record(161, 1)));
    EXPECT_FALSE(read(one_record(162, 1)));
    EXPECT_FALSE(read(one_record(255, 0)));
    EXPECT_FALSE(read(one_record(0, 2)));
    EXPECT_TRUE(mesh_.frames.empty());
}

TEST_P(BinaryMeshReaderTest, FramesMayNotOutnumberThePairsNorDifferFromFrameZero) {
    MeshBytes more;
    more.header(2.0, 1, 1, 1).i32(-1).f32(0).f32(0);
    more.i32(2).record(0, 0, 0, 0, 0).record(0, 0, 0, 0, 0);
    EXPECT_FALSE(read(more.str()));
    MeshBytes unequal;
    unequal.header(2.0, 2, 1, 2).i32(-1).f32(0).f32(0).f32(0).f32(0);
    unequal.i32(2).record(0, 0, 0, 0, 0).record(0, 0, 0, 0, 0);
    unequal.i32(1).record(0, 0, 0, 0, 0);
    EXPECT_FALSE(read(unequal.str()));
    MeshBytes fewer;  // fewer records than pairs is fine
    fewer.header(2.0, 1, 1, 3).i32(-1).f32(0).f32(0).f32(0).f32(0).f32(0).f32(0);
    fewer.i32(1).record(0, 0, 0, 0, 0);
    EXPECT_TRUE(read(fewer.str()));
}

TEST_P(BinaryMeshReaderTest, ANewReadStartsFromAClearedMesh) {
    ASSERT_TRUE(read(version_two_file().str()));
    MeshBytes empty;
    empty.header(2.0, 0, 1, 0).i32(5);
    ASSERT_TRUE(read(empty.str()));
    EXPECT_TRUE(mesh_.frames.empty());
    EXPECT_EQ(mesh_.palette, (std::vector<int32_t>{5}));
}

TEST_P(BinaryMeshReaderTest, CorruptedBytesNeverCrashAndAFailureLeavesTheMeshEmpty) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    for (const std::string& good : {version_two_file().str(), quantised_file(1.5).str()}) {
        for (int round = 0; round < 300; ++round) {
            std::string bytes = good;
            const int changes = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < changes; ++i)
                bytes[4 + next() % (bytes.size() - 4)] = static_cast<char>(next());
            if (read(bytes)) {
                for (const MeshFrame& frame : mesh_.frames) {
                    for (const MeshVertex& record : frame.build_stream)
                        ASSERT_LT(record.palette_index, mesh_.palette.size());
                }
            } else {
                EXPECT_TRUE(mesh_.frames.empty());
                EXPECT_TRUE(mesh_.palette.empty());
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, BinaryMeshReaderTest,
                         ::testing::Values(StreamKind::kDisk, StreamKind::kMemory),
                         [](const auto& info) { return testing::stream_kind_name(info.param); });

TEST(MeshFileTest, AFileThatCannotBeOpenedFailsWithoutAMessage) {
    ScopedTempDir folder;
    MeshObjectX mesh;
    EXPECT_FALSE(read_mesh_file(folder.file("missing.vxm").c_str(), mesh));
    EXPECT_FALSE(read_mesh_file("mem://       4.    9999", mesh));
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(testing::read_file(error_log_path()), "");
}

}  // namespace
}  // namespace vexel
