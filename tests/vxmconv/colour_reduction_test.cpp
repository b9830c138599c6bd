#include "colour_reduction.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "mesh/mesh_object.h"

namespace vexel {
namespace {

MeshObjectX mesh_of(const std::vector<int32_t>& colours) {
    MeshObjectX mesh;
    mesh.frames.resize(2);
    for (MeshFrame& frame : mesh.frames) {
        frame.build_stream.push_back(make_marker(kMarkerStrip));
        frame.build_stream.push_back(make_marker(kMarkerTriangles));
        for (int32_t colour : colours) {
            MeshVertex record;
            record.set_colour(colour);
            frame.build_stream.push_back(record);
        }
    }
    return mesh;
}

int channel_gap(int32_t a, int32_t b) {
    int gap = 0;
    for (int shift : {0, 8, 16})
        gap = std::max(gap, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return gap;
}

TEST(ColourReductionTest, AMeshThatFitsKeepsItsColours) {
    std::vector<int32_t> colours;
    for (int32_t i = 0; i < 254; ++i)
        colours.push_back(i * 0x010203);
    MeshObjectX mesh = mesh_of(colours);
    EXPECT_EQ(vxmconv::fit_colours_to_palette(mesh), 0u);
    for (size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(mesh.frames[1].build_stream[i + 2].colour, colours[i]);
}

TEST(ColourReductionTest, TooManyColoursMergeIntoNearbyOnesAndThePaletteFits) {
    std::vector<int32_t> colours;
    for (int32_t r = 0; r < 256; r += 8) {
        for (int32_t g = 0; g < 256; g += 16)
            colours.push_back(r | g << 8 | ((r + g) & 0xFF) << 16);
    }
    MeshObjectX mesh = mesh_of(colours);
    EXPECT_EQ(vxmconv::fit_colours_to_palette(mesh), colours.size());
    for (const MeshFrame& frame : mesh.frames) {
        for (size_t i = 0; i < colours.size(); ++i) {
            const MeshVertex& record = frame.build_stream[i + 2];
            EXPECT_LE(channel_gap(record.colour, colours[i]), 32) << i;
            EXPECT_FLOAT_EQ(record.red, static_cast<float>(record.colour & 0xFF) / 255);
        }
    }
    build_palette(mesh);
    EXPECT_LE(mesh.palette.size(), 256u);
    EXPECT_EQ(mesh.frames[0].build_stream[0].colour, kMarkerStrip);
    std::set<int32_t> distinct;
    for (const MeshVertex& record : mesh.frames[0].build_stream)
        distinct.insert(record.colour);
    EXPECT_GT(distinct.size(), 64u);  // merged no further than needed
}

}  // namespace
}  // namespace vexel
