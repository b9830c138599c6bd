#include "mesh/multi_mesh.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vexel/archive.h>
#include <vexel/error.h>

#include "archive_writer.h"
#include "io/file_stream.h"
#include "io/virtual_files.h"
#include "mesh/mesh_hooks.h"
#include "mesh/mesh_test_support.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::MeshBytes;
using testing::ScopedTempDir;

// One frame: a strip marker and `vertices` records along x.
std::string strip_file(int32_t vertices) {
    MeshBytes file;
    file.header(2.0, 1, 2, vertices + 1).i32(-2).i32(0xFFFFFF);
    for (int32_t i = 0; i <= vertices; ++i)
        file.f32(0).f32(0);
    file.i32(vertices + 1).record(0, 0, 0, 0, 0);
    for (int32_t i = 0; i < vertices; ++i)
        file.record(static_cast<float>(i), static_cast<float>(i % 2), 0, 5, 1);
    return file.str();
}

class MultiMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        MeshGraphicsHooks hooks;
        hooks.load_texture = [this](const DynString& path) -> uint32_t {
            // A picture of an odd number of bytes does not decode.
            requested_.push_back(path.c_str());
            contents_.push_back(content_of(path.c_str()));
            return contents_.back().size() % 2 ? 0 : 100 + static_cast<uint32_t>(requested_.size());
        };
        set_mesh_graphics_hooks(std::move(hooks));
        testing::write_file(folder_.file("m1.vxm"), strip_file(3));
        testing::write_file(folder_.file("m2.vxm"), strip_file(5));
    }
    void TearDown() override {
        set_mesh_graphics_hooks({});
        set_archive("", "");
    }

    static std::string content_of(const char* name) {
        FileStream stream;
        if (!stream.open_read(name)) return "<cannot open>";
        std::string content(static_cast<size_t>(stream.size()), '\0');
        if (!stream.read(content.data(), static_cast<uint32_t>(content.size()))) return "<short>";
        return content;
    }
    std::string log() const { return testing::read_file(error_log_path()); }

    ScopedTempDir folder_;
    std::vector<std::string> requested_;
    std::vector<std::string> contents_;
};

TEST_F(MultiMeshTest, TexturesAndMeshesLoadFromTheDescriptionsFolder) {
    testing::write_file(folder_.file("scene.vxm"),
                        ";VXW two meshes\r\n"
                        "[textures]\r\n"
                        "count=2\r\n"
                        "1=wood.png\r\n"
                        "2 = stone1.bmp\r\n"
                        "[Objects]\r\n"
                        "count = 3\r\n"
                        "1=m1.vxm\r\n"
                        "1ta=2\r\n"
                        "1TB=0\r\n"
                        "2=m2.vxm\r\n"
                        "2ta=-3\r\n"
                        "3=missing.vxm\r\n");
    testing::write_file(folder_.file("wood.png"), "wood");
    testing::write_file(folder_.file("stone1.bmp"), "stone");
    ObjectSlot slot;
    EXPECT_EQ(load_object_slot(slot, folder_.file("scene.vxm").c_str()), 1);
    EXPECT_EQ(slot.used, 1);
    EXPECT_EQ(slot.multi_mesh, 1);
    EXPECT_EQ(requested_,
              (std::vector<std::string>{folder_.file("wood.png"), folder_.file("stone1.bmp")}));
    // The stone picture does not decode: that texture stays empty.
    EXPECT_EQ(slot.textures, (std::vector<uint32_t>{101, 0}));

    ASSERT_EQ(slot.meshes.size(), 3u);
    EXPECT_EQ(slot.meshes[0].frames[0].triangles.size(), 3u);
    EXPECT_EQ(slot.meshes[1].frames[0].triangles.size(), 9u);
    EXPECT_GT(slot.meshes[1].frames[0].bound_radius, 1.0f);
    EXPECT_EQ(slot.meshes[1].blend.size(), 9u);
    EXPECT_TRUE(slot.meshes[2].frames.empty());
    EXPECT_EQ(slot.meshes[0].texture_a, 1);
    EXPECT_EQ(slot.meshes[0].texture_b, 0);
    EXPECT_EQ(slot.meshes[1].texture_a, -3);
    EXPECT_EQ(slot.meshes[1].texture_b, 0);  // a missing key reads as 0
    EXPECT_EQ(slot.meshes[2].texture_a, 0);

    // What failed is named in the error log, each file in one line.
    EXPECT_EQ(log(), "load_object: cannot load \"" + folder_.file("stone1.bmp") +
                         "\": not a BMP, PNG or JPEG picture\n" + "load_object: cannot load \"" +
                         folder_.file("missing.vxm") + "\": not found\n");
}

// A game that ships its media in the archive finds the description, its textures and its meshes
// there, whatever folder the description names them in.
TEST_F(MultiMeshTest, TexturesAndMeshesComeFromTheArchiveLikeTheDescription) {
    const auto bytes = [](const std::string& text) {
        return std::vector<uint8_t>(text.begin(), text.end());
    };
    const std::vector<vxpack::Entry> entries = {
        {"scene.vxm", bytes(";VXW\n[textures]\ncount=2\n1=media/wood.png\n2=gone.png\n"
                            "[objects]\ncount=1\n1=media\\m2.vxm\n1ta=1\n")},
        {"wood.png", bytes("wood bytes")},
        {"m2.vxm", bytes(strip_file(5))}};
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(vxpack::build_archive({}, entries, &archive, &error)) << error;
    testing::write_file(folder_.file("game.vxa"), std::string(archive.begin(), archive.end()));
    set_archive(folder_.file("game.vxa").c_str(), "");

    ObjectSlot slot;
    EXPECT_EQ(load_object_slot(slot, "scene.vxm"), 1);
    EXPECT_EQ(contents_, (std::vector<std::string>{"wood bytes"}));
    EXPECT_EQ(slot.textures, (std::vector<uint32_t>{101, 0}));
    ASSERT_EQ(slot.meshes.size(), 1u);
    EXPECT_EQ(slot.meshes[0].frames[0].triangles.size(), 9u);
    EXPECT_EQ(slot.meshes[0].texture_a, 0);
    EXPECT_EQ(log(), "load_object: cannot load \"gone.png\": not found\n");
}

TEST_F(MultiMeshTest, CountsAreHeldToTheLimitAndNegativeCountsLoadNothing) {
    testing::write_file(folder_.file("big.vxm"),
                        ";VXW\n[textures]\ncount=1000000000\n[objects]\ncount=-4\n");
    ObjectSlot slot;
    EXPECT_EQ(load_object_slot(slot, folder_.file("big.vxm").c_str()), 1);
    EXPECT_EQ(slot.textures.size(), static_cast<size_t>(kMaxMultiMeshEntries));
    EXPECT_TRUE(slot.meshes.empty());
    EXPECT_EQ(slot.used, 1);
}

TEST_F(MultiMeshTest, ADescriptionInMemoryNamesItsFilesAsTheyAre) {
    const std::string text = ";VXW\n[objects]\ncount=1\n1=" + folder_.file("m2.vxm") + "\n";
    MemoryFile memory(text.data(), static_cast<uint32_t>(text.size()));
    ObjectSlot slot;
    EXPECT_EQ(load_object_slot(slot, memory.name().c_str()), 1);
    ASSERT_EQ(slot.meshes.size(), 1u);
    EXPECT_EQ(slot.meshes[0].frames[0].triangles.size(), 9u);
}

TEST(FolderOfTest, UpToTheLastSeparatorOfEitherKind) {
    EXPECT_STREQ(folder_of("media/tiles\\wall.vxm").c_str(), "media/tiles\\");
    EXPECT_STREQ(folder_of("wall.vxm").c_str(), "");
    EXPECT_STREQ(folder_of("/abs/x").c_str(), "/abs/");
    EXPECT_STREQ(folder_of("mem://      10.       1").c_str(), "");
}

}  // namespace
}  // namespace vexel
