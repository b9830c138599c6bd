#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <vexel/error.h>

#include "io/stream_source.h"
#include "mesh/mesh_file.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;

// A quad and a triangle over five vertices, two frames; the triangle has no texture coordinates.
const char* const kTwoPolygons =
    "VXMA 1.0   # a comment\r\n"
    "3\n"
    "0 0   1 0.5   0.25 1\n"
    "2\n"
    "255 128 0   4  0 1 2 3   4  0 1 2 1\n"
    "1 2 3       3  4 3 2     0\n"
    "2\n"
    "5  0 0 0  1 0 0  1 1 0  0 1 0  2 2 2\n"
    "5  0 0 1  1 0 1  1 1 1  0 1 1  2 2 3\n";

class TextMeshReaderTest : public ::testing::TestWithParam<StreamKind> {
protected:
    bool read(const std::string& text) {
        source_ = std::make_unique<StreamSource>(GetParam(), text, folder_, "mesh.vxm");
        return read_mesh_file(source_->name().c_str(), mesh_);
    }
    std::string log() const { return testing::read_file(error_log_path()); }

    ScopedTempDir folder_;
    std::unique_ptr<StreamSource> source_;
    MeshObjectX mesh_;
};

TEST_P(TextMeshReaderTest, EveryPolygonOfEveryFrameBecomesAFan) {
    ASSERT_TRUE(read(kTwoPolygons));
    ASSERT_EQ(mesh_.frames.size(), 2u);
    const auto& stream = mesh_.frames[0].build_stream;
    ASSERT_EQ(stream.size(), 9u);  // marker + 4, marker + 3
    EXPECT_EQ(stream[0].colour, kMarkerFan);
    EXPECT_EQ(stream[5].colour, kMarkerFan);
    EXPECT_EQ(stream[3].position.x, 1.0f);
    EXPECT_EQ(stream[3].position.y, 1.0f);
    EXPECT_EQ(stream[2].u, 1.0f);
    EXPECT_EQ(stream[2].v, -0.5f);  // stored negated
    EXPECT_EQ(stream[4].u, 1.0f);   // texture index 1 at the fourth position
    EXPECT_EQ(stream[1].colour, 0x0080FF);
    EXPECT_FLOAT_EQ(stream[1].green, 128 / 255.0f);
    EXPECT_EQ(stream[1].blue, 0.0f);
    EXPECT_EQ(stream[6].position.x, 2.0f);  // vertex 4
    EXPECT_EQ(stream[6].u, 0.0f);
    EXPECT_EQ(stream[6].colour, 0x030201);
    EXPECT_EQ(mesh_.frames[1].build_stream[6].position.z, 3.0f);
    // The palette is built as for a finished object, and normals count as valid.
    EXPECT_EQ(mesh_.palette, (std::vector<int32_t>{-3, 0x0080FF, 0x030201}));
    EXPECT_EQ(stream[6].palette_index, 2);
    EXPECT_EQ(mesh_.normals_valid, 1);
    EXPECT_EQ(stream[1].normal.z, 0.0f);

    mesh_.prepare();
    EXPECT_EQ(mesh_.frames[0].triangles.size(), 9u);  // the quad's two and the triangle
}

TEST_P(TextMeshReaderTest, VersionOnePointOneReadsNormalsAndLaterVersionsFailQuietly) {
    // No pairs, one black triangle, one frame of three vertices with their normals.
    const std::string body = " 0  1 0 0 0 3 0 1 2 0  1 3  0 0 0 0 0 1  1 0 0 0 0 1  0 1 0 0 0 1";
    ASSERT_TRUE(read("VXMA 1.1" + body));
    EXPECT_EQ(mesh_.frames[0].build_stream[2].position.x, 1.0f);
    EXPECT_EQ(mesh_.frames[0].build_stream[2].normal.y, 0.0f);
    EXPECT_EQ(mesh_.frames[0].build_stream[3].normal.z, 1.0f);
    EXPECT_FALSE(read("VXMA 1.2" + body));
    EXPECT_FALSE(read("VXMB 1.0" + body));
    EXPECT_FALSE(read(""));
    EXPECT_EQ(log(), "");
    EXPECT_TRUE(mesh_.frames.empty());
}

TEST_P(TextMeshReaderTest, TruncatedTextIsAReadError) {
    const std::string whole = kTwoPolygons;
    for (size_t cut : {whole.find("1.0") + 3, whole.find("3\n") + 1, whole.find("255"),
                       whole.find("1 2 3"), whole.size() - 4}) {
        std::remove(error_log_path());
        EXPECT_FALSE(read(whole.substr(0, cut))) << cut;
        EXPECT_EQ(log(), "# read error\n" + source_->name() + "\n") << cut;
        EXPECT_TRUE(mesh_.frames.empty());
    }
}

TEST_P(TextMeshReaderTest, IndicesOutOfRangeAndImpossibleCountsAreReadErrors) {
    const char* const bad[] = {
        "VXMA 1 0 1 0 0 0 3 0 1 5 0 1 3 0 0 0 1 0 0 0 1 0",            // vertex 5 of 3
        "VXMA 1 0 1 0 0 0 3 0 1 -1 0 1 3 0 0 0 1 0 0 0 1 0",           // negative vertex
        "VXMA 1 1 0 0 1 0 0 0 3 0 1 2 3 0 0 7 1 3 0 0 0 1 0 0 0 1 0",  // pair 7 of 1
        "VXMA 1 99999999 0 0",                                         // pairs beyond the text
        "VXMA 1 0 1 0 0 0 1e12 0",                                     // count beyond int32
        "VXMA 1 0 0 2 999999999 0",                                    // vertices beyond the text
        "VXMA 1 0 -1",                                                 // negative polygon count
    };
    for (const char* text : bad) {
        std::remove(error_log_path());
        EXPECT_FALSE(read(text)) << text;
        EXPECT_EQ(log(), "# read error\n" + source_->name() + "\n") << text;
    }
    // A vertex index that is fine in one frame and missing in the next fails the whole mesh.
    EXPECT_FALSE(read("VXMA 1 0 1 0 0 0 3 0 1 2 0 2 3 0 0 0 1 0 0 0 1 0 2 0 0 0 1 0 0"));
}

TEST_P(TextMeshReaderTest, RepeatingPolygonsOverManyFramesIsHeldToALimit) {
    // 2,000 indices over 4,000 frames would be eight million records from 40 kB of text.
    std::string text = "VXMA 1 0 1 0 0 0 2000";
    for (int i = 0; i < 2000; ++i)
        text += " 0";
    text += " 0 4000";
    for (int i = 0; i < 4000; ++i)
        text += " 1 0 0 0";
    EXPECT_FALSE(read(text));
    EXPECT_EQ(log().find("# read error"), 0u);
}

TEST_P(TextMeshReaderTest, ColourChannelsAreHeldTo0To255AndCommentsEndTokens) {
    ASSERT_TRUE(read("VXMA 1.0#c\n0 1 300 -5 255 3 0 1 2 0 1 3 0 0 0 1 0 0 0 1 0#end"));
    EXPECT_EQ(mesh_.frames[0].build_stream[1].colour, 0xFF00FF);
}

TEST_P(TextMeshReaderTest, CorruptedTextNeverCrashesAndAFailureLeavesTheMeshEmpty) {
    const std::string good = kTwoPolygons;
    const char replacements[] = {'9', '-', ' ', '#', '\n', '.', 'e', '0', '\0', '7'};
    uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    for (int round = 0; round < 300; ++round) {
        std::string text = good;
        const int changes = 1 + static_cast<int>(next() % 3);
        for (int i = 0; i < changes; ++i)
            text[5 + next() % (text.size() - 5)] = replacements[next() % sizeof replacements];
        if (!read(text)) {
            EXPECT_TRUE(mesh_.frames.empty());
        } else {
            mesh_.prepare();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, TextMeshReaderTest,
                         ::testing::Values(StreamKind::kDisk, StreamKind::kMemory),
                         [](const auto& info) { return testing::stream_kind_name(info.param); });

}  // namespace
}  // namespace vexel
