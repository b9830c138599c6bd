#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vxmconv/model_files.h"

namespace vexel {
namespace {

using testing::convert_here;
using testing::GltfFile;
using testing::ScopedTempDir;

// A wavy grid whose normals sweep the whole sphere, with a colour of its own at every corner
// (more than a palette holds) and an animation that moves it over three frames: every part of
// the binary writer has its say in the bytes.
std::string write_sweep_model(const ScopedTempDir& folder) {
    constexpr int kSide = 24;  // quads across and down
    std::vector<float> positions, normals, coordinates, colours;
    for (int r = 0; r <= kSide; ++r) {
        for (int c = 0; c <= kSide; ++c) {
            const float x = static_cast<float>(c) / kSide;
            const float z = static_cast<float>(r) / kSide;
            positions.insert(positions.end(), {x, 0.1f * std::sin(9 * x) * std::cos(7 * z), z});
            const float longitude = 6.2831853f * x * 3;
            const float latitude = 3.1415927f * (z - 0.5f);
            const float length = 0.5f + x;  // the writer normalises
            normals.insert(normals.end(), {length * std::cos(latitude) * std::cos(longitude),
                                           length * std::sin(latitude),
                                           length * std::cos(latitude) * std::sin(longitude)});
            coordinates.insert(coordinates.end(), {x * 2, 1 - z});
            colours.insert(colours.end(), {x, z, 0.5f * (x + z), 1});
        }
    }
    std::vector<uint16_t> indices;
    for (int r = 0; r < kSide; ++r) {
        for (int c = 0; c < kSide; ++c) {
            const auto a = static_cast<uint16_t>(r * (kSide + 1) + c);
            const auto below = static_cast<uint16_t>(a + kSide + 1);
            indices.insert(indices.end(),
                           {a, below, static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + 1),
                            below, static_cast<uint16_t>(below + 1)});
        }
    }
    GltfFile gltf;
    gltf.floats(positions, "VEC3", true);
    gltf.floats(normals, "VEC3");
    gltf.floats(coordinates, "VEC2");
    gltf.floats(colours, "VEC4");
    gltf.shorts(indices, "SCALAR");
    gltf.floats({0, 1}, "SCALAR", true);
    gltf.floats({0, 0, 0, 0.5f, 0.25f, -1}, "VEC3");
    return gltf.write(
        folder, "sweep",
        R"("scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],"meshes":[{"primitives":[{"attributes":)"
        R"({"POSITION":0,"NORMAL":1,"TEXCOORD_0":2,"COLOR_0":3},"indices":4}]}],)"
        R"("animations":[{"channels":[{"sampler":0,"target":{"node":0,"path":"translation"}}],)"
        R"("samplers":[{"input":5,"output":6}]}])");
}

// The kept file was written by the converter before its writer was made faster; a change that
// alters a single byte (a normal index, a palette entry, a strip) shows here. After a change
// that is meant to alter the output, VEXEL_UPDATE_GOLDEN=1 writes the new file in its place.
TEST(ConvertedBytesTest, AMeshFileComesOutByteForByteAsKept) {
    ScopedTempDir folder;
    const std::string model = write_sweep_model(folder);
    const std::string output = folder.file("sweep.vxm");
    ASSERT_EQ(convert_here({"--frames", "3", model, output}).status, 0);
    const std::string golden = std::string(VEXEL_SOURCE_DIR) + "/tests/golden/sweep_grid.vxm";
    const std::string bytes = testing::read_file(output);
    const char* update = std::getenv("VEXEL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") testing::write_file(golden, bytes);
    const std::string kept = testing::read_file(golden);
    ASSERT_EQ(bytes.size(), kept.size());
    size_t first_difference = 0;
    while (first_difference < bytes.size() && bytes[first_difference] == kept[first_difference])
        ++first_difference;
    EXPECT_EQ(first_difference, bytes.size()) << "first differing byte";
}

}  // namespace
}  // namespace vexel
