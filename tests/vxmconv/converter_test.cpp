#include "converter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "mesh/mesh_file.h"
#include "mesh/mesh_object.h"
#include "mesh/normal_table.h"
#include "mesh/vec3_math.h"
#include "vxmconv/model_files.h"

namespace vexel {
namespace {

using testing::convert_here;
using testing::GltfFile;
using testing::read_back;
using testing::ScopedTempDir;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;

bool near(const Vec3f& a, const Vec3f& b, float tolerance = 1e-5f) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
           std::fabs(a.z - b.z) <= tolerance;
}

std::vector<const MeshVertex*> vertices_of(const MeshObjectX& mesh, size_t frame = 0) {
    std::vector<const MeshVertex*> result;
    for (const MeshVertex& record : mesh.frames[frame].build_stream) {
        if (!is_marker(record.colour)) result.push_back(&record);
    }
    return result;
}

class ConverterTest : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return folder_.file(name); }

    ScopedTempDir folder_;
};

TEST_F(ConverterTest, ObjWithTwoMaterialsBecomesOneClockwiseZUpMesh) {
    testing::write_two_material_obj(folder_, "floor");
    const testing::ToolRun run = convert_here({file("floor.obj"), file("floor.vxm")});
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_NE(run.messages.find("brick.png, wood.png"), std::string::npos) << run.messages;

    const MeshObjectX mesh = read_back(file("floor.vxm"));
    ASSERT_EQ(mesh.frames.size(), 1u);
    const std::vector<MeshVertex>& triangles = mesh.frames[0].triangles;
    ASSERT_EQ(triangles.size(), 12u);
    // Two strips of two triangles take fewer records than four separate triangles.
    EXPECT_LT(mesh.frames[0].build_stream.size(), 13u);
    Vec3f low{9, 9, 9}, high{-9, -9, -9};
    for (size_t i = 0; i < triangles.size(); i += 3) {
        const MeshVertex& a = triangles[i];
        const MeshVertex& b = triangles[i + 1];
        const MeshVertex& c = triangles[i + 2];
        // The engine's face normal rule sees the triangle's front on +z: clockwise from there.
        EXPECT_GT(cross(sub(c.position, a.position), sub(b.position, a.position)).z, 0);
        const float centre_x = (a.position.x + b.position.x + c.position.x) / 3;
        for (const MeshVertex* v : {&a, &b, &c}) {
            EXPECT_TRUE(near(v->normal, Vec3f{0, 0, 1}, 0));
            EXPECT_EQ(v->colour, centre_x < 0 ? kRed : kGreen);
            low = Vec3f{std::min(low.x, v->position.x), std::min(low.y, v->position.y),
                        std::min(low.z, v->position.z)};
            high = Vec3f{std::max(high.x, v->position.x), std::max(high.y, v->position.y),
                         std::max(high.z, v->position.z)};
        }
    }
    EXPECT_TRUE(near(low, Vec3f{-1, -1, 0}, 0));
    EXPECT_TRUE(near(high, Vec3f{1, 1, 0}, 0));
}

TEST_F(ConverterTest, ScaleAndYUpKeepTheModelsAxes) {
    testing::write_two_material_obj(folder_, "floor");
    ASSERT_EQ(
        convert_here({"--scale", "2.5", "--up", "y", file("floor.obj"), file("f.vxm")}).status, 0);
    const MeshObjectX mesh = read_back(file("f.vxm"));
    for (const MeshVertex* v : vertices_of(mesh)) {
        EXPECT_EQ(v->position.y, 0);
        EXPECT_EQ(std::fabs(v->position.z), v->position.z == 0 ? 0 : 2.5f);
        EXPECT_TRUE(near(v->normal, Vec3f{0, 1, 0}, 0));
    }
}

TEST_F(ConverterTest, MultiWritesAMeshPerMaterialAndADescriptionOfItsTextures) {
    testing::write_two_material_obj(folder_, "floor");
    testing::write_file(file("brick.png"), testing::halves_png(kRed, kRed));
    std::filesystem::create_directory(file("textures"));
    testing::write_file(file("textures/wood.png"), testing::halves_png(kGreen, kGreen, true, 24));
    testing::write_two_material_obj(folder_, "floor", "brick.png", "textures/wood.png");
    std::filesystem::create_directory(file("out"));
    const testing::ToolRun run = convert_here({"--multi", file("floor.obj"), file("out/f.vxm")});
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_NE(run.messages.find("\"textures/wood.png\" is 24 x 24"), std::string::npos)
        << run.messages;
    EXPECT_EQ(run.messages.find("brick.png"), std::string::npos) << run.messages;

    const std::string description = testing::read_file(file("out/f.vxm"));
    EXPECT_EQ(description.rfind(";VXW", 0), 0u);
    for (const char* line : {"count=2\n1=../brick.png\n2=../textures/wood.png\n",
                             "1=f_1.vxm\n1ta=1\n1tb=-1\n", "2=f_2.vxm\n2ta=2\n2tb=-1\n"})
        EXPECT_NE(description.find(line), std::string::npos) << description;
    EXPECT_EQ(read_back(file("out/f_1.vxm")).frames[0].triangles.size(), 6u);
    EXPECT_EQ(read_back(file("out/f_2.vxm")).frames[0].triangles.size(), 6u);
}

TEST_F(ConverterTest, MultiStopsWhenATextureIsMissing) {
    testing::write_two_material_obj(folder_, "floor");
    testing::write_file(file("brick.png"), testing::halves_png(kRed, kRed));
    const testing::ToolRun run = convert_here({"--multi", file("floor.obj"), file("f.vxm")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.messages.find("texture \"wood.png\" not found"), std::string::npos)
        << run.messages;
    EXPECT_FALSE(std::filesystem::exists(file("f.vxm")));
}

TEST_F(ConverterTest, MultiWritesPicturesTheModelCarriesBesideTheDescription) {
    const std::string picture = testing::halves_png(kRed, kGreen);
    GltfFile gltf;
    gltf.floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", true);
    gltf.floats({0, 0, 1, 0, 0, 1}, "VEC2");
    const int image = gltf.view(picture);
    gltf.write(folder_, "carried",
               R"("scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],"meshes":[{"primitives":)"
               R"([{"attributes":{"POSITION":0,"TEXCOORD_0":1},"material":0}]}],"materials":)"
               R"([{"pbrMetallicRoughness":{"baseColorTexture":{"index":0}}}],)"
               R"("textures":[{"source":0}],"images":[{"bufferView":)" +
                   std::to_string(image) + R"(,"mimeType":"image/png"}])");
    const testing::ToolRun run = convert_here({"--multi", file("carried.gltf"), file("c.vxm")});
    ASSERT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(testing::read_file(file("c_texture1.png")), picture);
    const std::string description = testing::read_file(file("c.vxm"));
    EXPECT_NE(description.find("count=1\n1=c_texture1.png\n"), std::string::npos) << description;
    EXPECT_NE(description.find("1=c_1.vxm\n1ta=1\n1tb=-1\n"), std::string::npos) << description;
}

// Two triangles of a y-up glTF with tilted normals: the first with a colour at each corner,
// the second of one colour.
class GltfColoursTest : public ConverterTest {
protected:
    void SetUp() override {
        GltfFile gltf;
        gltf.floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 0, 3, 0, 0, 2, 1, 0}, "VEC3", true);
        std::vector<float> normals;
        for (int i = 0; i < 6; ++i)
            normals.insert(normals.end(), {0, 0.6f, 0.8f});
        gltf.floats(normals, "VEC3");
        gltf.floats({1,    0,     0, 1, 0,    1,     0, 1, 0,    0,     1, 1,
                     0.5f, 0.25f, 1, 1, 0.5f, 0.25f, 1, 1, 0.5f, 0.25f, 1, 1},
                    "VEC4");
        gltf.write(folder_, "pair",
                   R"("scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],"meshes":[{"primitives":)"
                   R"([{"attributes":{"POSITION":0,"NORMAL":1,"COLOR_0":2}}]}])");
    }

    // Corners by their position in the engine's axes: (x, y, z) of the file is (x, -z, y).
    const std::map<std::array<float, 3>, int32_t> colours_ = {
        {{0, 0, 0}, kRed},     {{1, 0, 0}, kGreen},   {{0, 0, 1}, 0xFF0000},
        {{2, 0, 0}, 0xFF4080}, {{3, 0, 0}, 0xFF4080}, {{2, 0, 1}, 0xFF4080}};
    const Vec3f normal_{0, -0.8f, 0.6f};
};

TEST_F(GltfColoursTest, BinaryKeepsEveryCornersColourAndTheNearestTableNormal) {
    ASSERT_EQ(convert_here({file("pair.gltf"), file("pair.vxm")}).status, 0);
    const MeshObjectX mesh = read_back(file("pair.vxm"));
    EXPECT_EQ(mesh.frames[0].triangles.size(), 6u);
    const float* entry = kNormalTable[nearest_normal_index(normal_)];
    for (const MeshVertex* v : vertices_of(mesh)) {
        const std::array<float, 3> at{v->position.x, v->position.y, v->position.z};
        ASSERT_EQ(colours_.count(at), 1u);
        EXPECT_EQ(v->colour, colours_.at(at));
        EXPECT_TRUE(near(v->normal, Vec3f{entry[0], entry[1], entry[2]}));
    }
}

TEST_F(GltfColoursTest, TextKeepsNormalsWholeAndOneColourATriangle) {
    const testing::ToolRun run = convert_here({"--text", file("pair.gltf"), file("pair.vxm")});
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.messages.find("one colour a triangle"), std::string::npos) << run.messages;
    EXPECT_EQ(testing::read_file(file("pair.vxm")).rfind("VXMA 1.1", 0), 0u);
    const MeshObjectX mesh = read_back(file("pair.vxm"));
    EXPECT_EQ(mesh.frames[0].triangles.size(), 6u);
    for (const MeshVertex& v : mesh.frames[0].triangles) {
        EXPECT_TRUE(near(v.normal, normal_));
        if (v.position.x >= 2) {
            EXPECT_EQ(v.colour, 0xFF4080);
        }
    }
}

// A mesh built as the object commands build one (strips and a fan, three colours) goes out to a
// modelling format and comes back with the same triangles, corners and windings.
class EngineMeshRoundTripTest : public ConverterTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(EngineMeshRoundTripTest, KeepsTrianglesAndPositions) {
    MeshObjectX source;
    source.frames.resize(1);
    std::vector<MeshVertex>& stream = source.frames[0].build_stream;
    const auto vertex = [&stream](float x, float y, float z, int32_t colour) {
        MeshVertex record;
        record.position = Vec3f{x, y, z};
        record.u = x / 4;
        record.v = -y / 4;
        record.set_colour(colour);
        stream.push_back(record);
    };
    stream.push_back(make_marker(kMarkerStrip));
    for (int i = 0; i < 6; ++i)
        vertex(0.5f * (i / 2), 0.25f * (i % 2), 0.125f * i, i < 3 ? kRed : kGreen);
    stream.push_back(make_marker(kMarkerFan));
    vertex(4, 0, 1, 0xFF0000);
    for (int i = 0; i < 4; ++i)
        vertex(5 + i * 0.5f, i % 2 ? 1.5f : 2.0f, 1, 0xFF0000);
    source.normals_valid = 0;
    generate_normals(source, 2, false);
    build_palette(source);
    ASSERT_TRUE(write_mesh_file(file("built.vxm").c_str(), source));
    source.prepare();

    const std::string model = file(std::string("built.") + GetParam());
    ASSERT_EQ(convert_here({file("built.vxm"), model}).status, 0);
    ASSERT_EQ(convert_here({model, file("back.vxm")}).status, 0);
    const MeshObjectX back = read_back(file("back.vxm"));
    EXPECT_EQ(testing::triangles_of(back.frames[0]), testing::triangles_of(source.frames[0]));
}

INSTANTIATE_TEST_SUITE_P(Formats, EngineMeshRoundTripTest, ::testing::Values("obj", "glb"));

// A triangle moved by its node's animation (x from 0 to 2) while a morph target lifts its third
// corner by one unit (weight 0 to 1) over the same second.
TEST_F(ConverterTest, FramesSampleNodeAndMorphAnimationEvenly) {
    GltfFile gltf;
    gltf.floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", true);
    gltf.floats({0, 0, 0, 0, 0, 0, 0, 1, 0}, "VEC3", true);
    gltf.floats({0, 1}, "SCALAR", true);
    gltf.floats({0, 0, 0, 2, 0, 0}, "VEC3");
    gltf.floats({0, 1}, "SCALAR");
    gltf.write(folder_, "moving",
               R"("scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],"meshes":[{"primitives":)"
               R"([{"attributes":{"POSITION":0},"targets":[{"POSITION":1}]}],"weights":[0]}],)"
               R"("animations":[{"channels":[{"sampler":0,"target":{"node":0,"path":)"
               R"("translation"}},{"sampler":1,"target":{"node":0,"path":"weights"}}],)"
               R"("samplers":[{"input":2,"output":3},{"input":2,"output":4}]}])");
    ASSERT_EQ(
        convert_here({"--frames", "3", "--up", "y", file("moving.gltf"), file("m.vxm")}).status, 0);
    const MeshObjectX mesh = read_back(file("m.vxm"));
    ASSERT_EQ(mesh.frames.size(), 3u);
    for (size_t f = 0; f < 3; ++f) {
        const float shift = static_cast<float>(f);
        std::vector<std::array<float, 3>> corners;
        for (const MeshVertex* v : vertices_of(mesh, f))
            corners.push_back({v->position.x, v->position.y, v->position.z});
        std::sort(corners.begin(), corners.end());
        const std::vector<std::array<float, 3>> expected = {
            {shift, 0, 0}, {shift, 1 + 0.5f * shift, 0}, {shift + 1, 0, 0}};
        EXPECT_EQ(corners, expected) << "frame " << f;
    }
}

// A triangle bound wholly to one bone that rises by 4 over two seconds; the node that holds the
// mesh is far away, and skinning leaves its place aside.
TEST_F(ConverterTest, FramesFollowTheBonesOfASkinnedMesh) {
    GltfFile gltf;
    gltf.floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", true);
    gltf.shorts({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "VEC4");
    gltf.floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "VEC4");
    gltf.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, "MAT4");
    gltf.floats({0, 2}, "SCALAR", true);
    gltf.floats({0, 0, 0, 0, 4, 0}, "VEC3");
    gltf.write(folder_, "skin",
               R"("scenes":[{"nodes":[0,1]}],"nodes":[{"mesh":0,"skin":0,"translation":)"
               R"([100,0,0]},{"name":"bone"}],"skins":[{"joints":[1],"inverseBindMatrices":3}],)"
               R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"JOINTS_0":1,)"
               R"("WEIGHTS_0":2}}]}],"animations":[{"channels":[{"sampler":0,"target":)"
               R"({"node":1,"path":"translation"}}],"samplers":[{"input":4,"output":5}]}])");
    const testing::ToolRun run = convert_here({"--frames", "2", file("skin.gltf"), file("s.vxm")});
    ASSERT_EQ(run.status, 0) << run.messages;
    const MeshObjectX mesh = read_back(file("s.vxm"));
    ASSERT_EQ(mesh.frames.size(), 2u);
    const std::vector<const MeshVertex*> rest = vertices_of(mesh, 0);
    const std::vector<const MeshVertex*> risen = vertices_of(mesh, 1);
    ASSERT_EQ(rest.size(), 3u);
    ASSERT_EQ(risen.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_LE(rest[i]->position.x, 1);
        EXPECT_TRUE(near(risen[i]->position, add(rest[i]->position, Vec3f{0, 0, 4})));
    }
}

// Damaged and unreadable inputs end the program with status 1 and one clear line, never a crash.
TEST_F(ConverterTest, BadInputsFailWithAClearLine) {
    testing::write_two_material_obj(folder_, "floor");
    ASSERT_EQ(convert_here({file("floor.obj"), file("floor.glb")}).status, 0);
    ASSERT_EQ(convert_here({file("floor.obj"), file("floor.vxm")}).status, 0);
    const std::string glb = testing::read_file(file("floor.glb"));
    const std::string mesh = testing::read_file(file("floor.vxm"));
    testing::write_file(file("cut.glb"), glb.substr(0, glb.size() / 2));
    testing::write_file(file("cut.vxm"), mesh.substr(0, 30));
    std::string version = mesh;
    const double three = 3.0;
    version.replace(4, 8, reinterpret_cast<const char*>(&three), 8);
    testing::write_file(file("v3.vxm"), version);
    testing::write_file(file("half.gltf"), "{\"asset\":{\"version\":");
    testing::write_file(file("notes.xyz"), "not a model at all\n");
    std::string noise;
    for (uint32_t x = 12345, i = 0; i < 4000; ++i) {
        x = x * 1103515245u + 12345u;
        noise.push_back(static_cast<char>(x >> 24));
    }
    testing::write_file(file("noise.obj"), noise);
    GltfFile gltf;
    gltf.floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", true);
    gltf.shorts({0, 1, 7}, "SCALAR");
    gltf.write(folder_, "index",
               R"("scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],"meshes":[{"primitives":)"
               R"([{"attributes":{"POSITION":0},"indices":1}]}])");

    const struct {
        std::string arguments;
        const char* says;
    } cases[] = {
        {"missing.obj out.vxm", "missing.obj: cannot open: No such file or directory"},
        {". out.vxm", ": is a folder"},
        {"cut.glb out.vxm", "cut.glb: cannot read the model"},
        {"half.gltf out.vxm", "half.gltf: cannot read the model"},
        {"notes.xyz out.vxm", "notes.xyz: not a model format"},
        {"noise.obj out.vxm", "noise.obj: "},
        {"index.gltf out.vxm", "index.gltf: "},
        {"cut.vxm out.obj", "cut.vxm: a damaged or truncated mesh file"},
        {"v3.vxm out.obj", "v3.vxm: mesh file version 3; the engine reads 1.02 to 2.0"},
        {"floor.vxm out.abc", "out.abc: no writer for files ending in \".abc\""},
        {"floor.obj no/such/folder/out.vxm", "out.vxm: cannot write"},
        {"floor.obj --frames 2 out.vxm", "floor.obj: --frames samples an animation"},
    };
    for (const auto& c : cases) {
        std::string arguments;
        for (size_t start = 0; start < c.arguments.size();) {
            size_t end = c.arguments.find(' ', start);
            if (end == std::string::npos) end = c.arguments.size();
            const std::string word = c.arguments.substr(start, end - start);
            const bool plain = word[0] == '-' || std::isdigit(static_cast<unsigned char>(word[0]));
            arguments += (plain ? word : file(word)) + " ";
            start = end + 1;
        }
        const testing::ToolRun run = testing::run_program(folder_, arguments);
        EXPECT_EQ(run.status, 1) << c.arguments << ": " << run.messages;
        EXPECT_EQ(run.messages.rfind("vxmconv: ", 0), 0u) << run.messages;
        EXPECT_NE(run.messages.find(c.says), std::string::npos) << run.messages;
        EXPECT_FALSE(std::filesystem::exists(file("out.vxm"))) << c.arguments;
    }
}

}  // namespace
}  // namespace vexel
