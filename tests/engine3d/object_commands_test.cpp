#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <vexel/error.h>
#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "mesh/mesh_file.h"
#include "support/fake_debugger.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::scene;

const ObjectSlot& slot(int32_t num) {
    return *scene().object(num);
}

const std::vector<MeshVertex>& stream(int32_t num, size_t frame = 0) {
    return slot(num).meshes[0].frames[frame].build_stream;
}

// A strip of the four corners of a unit square: two triangles.
void build_square(int32_t num, int32_t colour = 0xFFFFFF) {
    object_start(num);
    object_add_vertex(0, 0, 0, 0, 0, colour);
    object_add_vertex(1, 0, 0, 1, 0, colour);
    object_add_vertex(0, 1, 0, 0, 1, colour);
    object_add_vertex(1, 1, 0, 1, 1, colour);
    object_end();
}

class ObjectCommandsTest : public testing::SceneTest {};

TEST_F(ObjectCommandsTest, StartGivesOneMeshWithTheStripMarker) {
    object_start(7);
    ASSERT_EQ(slot(7).meshes.size(), 1u);
    ASSERT_EQ(slot(7).meshes[0].frames.size(), 1u);
    ASSERT_EQ(stream(7).size(), 1u);
    EXPECT_EQ(stream(7)[0].colour, kMarkerStrip);
    EXPECT_EQ(slot(7).used, 0);
    EXPECT_EQ(engine3d::scene_globals().building_slot, 7);
}

TEST_F(ObjectCommandsTest, AddVertexStoresVNegatedAndTheColour) {
    object_start(1);
    object_add_vertex(1, 2, 3, 0.25, 0.75, 0x0080FF);
    const MeshVertex& v = stream(1)[1];
    EXPECT_EQ(v.position.x, 1);
    EXPECT_EQ(v.position.z, 3);
    EXPECT_EQ(v.u, 0.25f);
    EXPECT_EQ(v.v, -0.75f);
    EXPECT_EQ(v.colour, 0x0080FF);
    EXPECT_FLOAT_EQ(v.red, 1);
    EXPECT_FLOAT_EQ(v.green, 128.0f / 255);
    EXPECT_FLOAT_EQ(v.blue, 0);
    EXPECT_EQ(v.normal.x, 0);
}

TEST_F(ObjectCommandsTest, ColourMinusFourIsWhiteButMinusOneToThreeAreMarkers) {
    object_start(2);
    object_add_vertex(0, 0, 0, 0, 0, -1);  // switches to independent triangles
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, i * i, 0, 0, 0, -4);
    object_add_vertex(5, 5, 5, 0, 0, -3);  // a fan marker
    object_add_vertex(9, 9, 9, 0, 0, -2);  // a strip marker
    object_end();
    ASSERT_EQ(slot(2).used, 1);
    const MeshObjectX& mesh = slot(2).meshes[0];
    // the three white vertices make the only triangle; the coloured "markers" are not vertices
    ASSERT_EQ(mesh.frames[0].triangles.size(), 3u);
    for (const MeshVertex& v : mesh.frames[0].triangles) {
        EXPECT_EQ(v.colour, -4);
        EXPECT_FLOAT_EQ(v.red, 1);
        EXPECT_FLOAT_EQ(v.blue, 1);
        EXPECT_FLOAT_EQ(v.alpha, 1);
    }
    EXPECT_TRUE(is_marker(stream(2)[1].colour));
    EXPECT_FALSE(is_marker(stream(2)[2].colour));
}

TEST_F(ObjectCommandsTest, AddVertexWithoutAStartDoesNothing) {
    object_add_vertex(1, 1, 1, 0, 0, 0);
    object_new_group();
    object_set_frame(2);
    object_end();
    for (int32_t i = 0; i < 4096; i += 512)
        EXPECT_TRUE(slot(i).meshes.empty());
    EXPECT_EQ(find_free_object(), 0);
}

TEST_F(ObjectCommandsTest, EndFinishesTheMesh) {
    build_square(3, 0x00FF00);
    const MeshObjectX& mesh = slot(3).meshes[0];
    EXPECT_EQ(slot(3).used, 1);
    EXPECT_EQ(slot(3).multi_mesh, 0);
    EXPECT_EQ(engine3d::scene_globals().building_slot, -1);
    EXPECT_EQ(mesh.palette, (std::vector<int32_t>{kMarkerStrip, 0x00FF00}));
    EXPECT_EQ(mesh.normals_valid, 1);  // generated with the default mode 2
    EXPECT_NEAR(std::fabs(mesh.frames[0].triangles[0].normal.z), 1, 1e-6);
    EXPECT_EQ(mesh.frames[0].triangles.size(), 6u);
    EXPECT_GT(mesh.frames[0].bound_radius, 0.5f);
    // further vertices go nowhere
    object_add_vertex(5, 5, 5, 0, 0, 0);
    EXPECT_EQ(stream(3).size(), 5u);
}

TEST_F(ObjectCommandsTest, NegativeAutoNormalsKeepTheGivenNormals) {
    set_auto_normals(-4);
    EXPECT_EQ(scene().auto_normals, -1);
    build_square(3);
    EXPECT_EQ(slot(3).meshes[0].normals_valid, 0);
    EXPECT_EQ(slot(3).meshes[0].frames[0].triangles[0].normal.z, 0);
    set_auto_normals(5);
    EXPECT_EQ(scene().auto_normals, 2);
}

TEST_F(ObjectCommandsTest, FewerThanThreeRecordsLeaveTheSlotEmpty) {
    object_start(4);
    object_add_vertex(0, 0, 0, 0, 0, 0);
    object_end();
    EXPECT_EQ(slot(4).used, 0);
    EXPECT_TRUE(slot(4).meshes.empty());
}

TEST_F(ObjectCommandsTest, FramesOfUnequalLengthAbortTheObject) {
    object_start(5);
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, 0, i, 0, 0, 0);
    object_set_frame(1);
    object_add_vertex(0, 0, 0, 0, 0, 0);
    object_end();
    EXPECT_EQ(slot(5).used, 0);
    EXPECT_TRUE(slot(5).meshes.empty());
    EXPECT_EQ(engine3d::scene_globals().building_slot, -1);
}

TEST_F(ObjectCommandsTest, FramesStartWithTheLeadingMarkerAndAnimate) {
    object_start(6);
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, 0, 0, 0, 0, 0);
    object_set_frame(2);
    EXPECT_EQ(scene().build_frame, 2);
    ASSERT_EQ(slot(6).meshes[0].frames.size(), 3u);
    EXPECT_EQ(stream(6, 1)[0].colour, kMarkerStrip);
    EXPECT_EQ(stream(6, 2).size(), 1u);
    object_set_frame(-1);  // ignored
    EXPECT_EQ(scene().build_frame, 2);
    for (int f = 1; f <= 2; ++f) {
        object_set_frame(f);
        for (int i = 0; i < 3; ++i)
            object_add_vertex(i, f, 0, 0, 0, 0);
    }
    object_end();
    ASSERT_EQ(slot(6).used, 1);
    EXPECT_EQ(slot(6).meshes[0].frames[2].triangles[0].position.y, 2);
}

TEST_F(ObjectCommandsTest, NewGroupEndsTheStrip) {
    object_start(8);
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, i % 2, 0, 0, 0, 0);
    object_new_group();
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, i % 2, 5, 0, 0, 0);
    object_end();
    EXPECT_EQ(stream(8)[4].colour, kMarkerStrip);
    EXPECT_EQ(count_faces(8), 2);  // one triangle per group, none across the break
}

// Builders end every strip with object_new_group, the last one included: the marker that follows
// it starts a group with no vertices. It draws nothing and stays, in the finished mesh and in its
// file, so that a built object holds its leading marker and one marker after every strip.
TEST_F(ObjectCommandsTest, EndKeepsTheEmptyGroupAfterTheLastStrip) {
    object_start(8);
    for (int strip = 0; strip < 3; ++strip) {
        for (int i = 0; i < 4; ++i)
            object_add_vertex(i, i % 2, strip, 0, 0, 0xFFFFFF);
        object_new_group();
    }
    object_end();
    ASSERT_EQ(slot(8).used, 1);
    ASSERT_EQ(stream(8).size(), 1u + 3u * 5u);
    EXPECT_EQ(stream(8).back().colour, kMarkerStrip);
    EXPECT_EQ(count_faces(8), 6);

    const std::string file = engine_.temp().file("strips.vxm");
    ASSERT_EQ(save_object(DynString(file.c_str()), 8), 1);
    ASSERT_EQ(load_object(DynString(file.c_str()), 9), 1);
    size_t markers = 0;
    for (const MeshVertex& record : stream(9))
        markers += record.colour == kMarkerStrip;
    EXPECT_EQ(markers, 4u);
    EXPECT_EQ(stream(9).size(), stream(8).size());
    EXPECT_EQ(count_faces(9), 6);
}

TEST_F(ObjectCommandsTest, EndKeepsTrailingEmptyGroupsInEveryFrame) {
    object_start(8);
    for (int frame = 0; frame < 2; ++frame) {
        object_set_frame(frame);
        for (int i = 0; i < 3; ++i)
            object_add_vertex(i, i % 2, frame, 0, 0, 0);
        object_new_group();
        object_new_group();
    }
    object_end();
    ASSERT_EQ(slot(8).used, 1);
    EXPECT_EQ(stream(8, 0).size(), 6u);
    EXPECT_EQ(stream(8, 1).size(), 6u);
    EXPECT_EQ(slot(8).meshes[0].frames[1].triangles.size(), 3u);
}

// Three records make a used object even when all are markers.
TEST_F(ObjectCommandsTest, EndKeepsAStreamOfMarkersWhole) {
    object_start(8);
    object_new_group();
    object_new_group();
    object_end();
    EXPECT_EQ(slot(8).used, 1);
    ASSERT_EQ(stream(8).size(), 3u);
    for (const MeshVertex& record : stream(8))
        EXPECT_EQ(record.colour, kMarkerStrip);
    EXPECT_EQ(count_faces(8), 0);
}

TEST_F(ObjectCommandsTest, OutOfTableNumbersTouchNoSlot) {
    build_square(0);
    object_start(4096);
    object_add_vertex(1, 1, 1, 0, 0, 0);
    object_end();
    object_start(-1);
    EXPECT_EQ(engine3d::scene_globals().building_slot, -1);
    EXPECT_EQ(count_faces(4096), 0);
    EXPECT_EQ(count_faces(-5), 0);
    DynArray<double> face;
    get_face(-1, 0, 0, face);
    EXPECT_EQ(face.count(), 0);
    scale_object(99999, 2, 2, 2);
    EXPECT_EQ(load_object(DynString("nothing.vxm"), 4096), 0);
    EXPECT_EQ(save_object(DynString("out.vxm"), -3), 0);
    EXPECT_EQ(draw_object(5000, 0), 0);
    EXPECT_EQ(stream(0).size(), 5u);
}

TEST_F(ObjectCommandsTest, CountFacesAndGetFaceOnABuiltMesh) {
    build_square(9, 0x112233);
    EXPECT_EQ(count_faces(9), 2);
    DynArray<double> face;
    get_face(9, 0, 1, face);
    ASSERT_EQ(face.size1(), 3);
    ASSERT_EQ(face.size2(), 9);
    // the strip's second triangle is (C, B, D): (0, 1, 0), (1, 0, 0), (1, 1, 0)
    const double expected[3][5] = {{0, 1, 0, 0, -1}, {1, 0, 0, 1, 0}, {1, 1, 0, 1, -1}};
    for (int32_t k = 0; k < 3; ++k) {
        for (int32_t j = 0; j < 5; ++j)
            EXPECT_DOUBLE_EQ(face.at(k, j), expected[k][j]) << k << "," << j;
        EXPECT_EQ(face.at(k, 5), 0x112233);
        EXPECT_NEAR(std::fabs(face.at(k, 8)), 1, 1e-6);
    }
}

TEST_F(ObjectCommandsTest, GetFaceBeyondTheLastTriangleWritesNothing) {
    build_square(9);
    DynArray<double> face;
    face.dim(2);
    face.at(0) = 42;
    get_face(9, 0, 2, face);
    EXPECT_EQ(face.count(), 2);
    EXPECT_EQ(face.at(0), 42);
    get_face(9, 1, 0, face);  // no such frame
    EXPECT_EQ(face.at(0), 42);
    get_face(9, 0, -1, face);
    EXPECT_EQ(face.at(0), 42);
}

TEST_F(ObjectCommandsTest, FindFreeObjectIsMinusOneOnlyWhenAllAreUsed) {
    build_square(0);
    EXPECT_EQ(find_free_object(), 1);
    for (ObjectSlot& s : scene().objects)
        s.used = 1;
    scene().objects[4095].used = 0;
    EXPECT_EQ(find_free_object(), 4095);
    scene().objects[4095].used = 1;
    EXPECT_EQ(find_free_object(), -1);
}

TEST_F(ObjectCommandsTest, SaveAndLoadKeepTheStripsAndPositions) {
    object_start(10);
    const float points[][3] = {{0.1f, 0.2f, 0.3f}, {1.5f, -2.25f, 3}, {-7, 8.125f, 0}, {4, 4, 4}};
    for (const auto& p : points)
        object_add_vertex(p[0], p[1], p[2], 0.5, 0.25, 0xFFFFFF);
    object_new_group();
    for (const auto& p : points)
        object_add_vertex(p[2], p[0], p[1], 0, 1, 0x00FFFF);
    object_end();
    const std::string file = engine_.temp().file("built.vxm");
    EXPECT_EQ(save_object(DynString(file.c_str()), 10), 1);
    ASSERT_EQ(load_object(DynString(file.c_str()), 11), 1);
    const auto& before = stream(10);
    const auto& after = stream(11);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].colour, before[i].colour) << i;
        EXPECT_EQ(after[i].position.x, before[i].position.x) << i;
        EXPECT_EQ(after[i].position.y, before[i].position.y) << i;
        EXPECT_EQ(after[i].position.z, before[i].position.z) << i;
        EXPECT_EQ(after[i].v, before[i].v) << i;
    }
    EXPECT_EQ(count_faces(11), count_faces(10));
    EXPECT_EQ(slot(11).used, 1);
}

TEST_F(ObjectCommandsTest, SaveReportsZeroAndErrorThreeWhenNothingIsWritten) {
    const std::string empty = engine_.temp().file("empty.vxm");
    EXPECT_EQ(save_object(DynString(empty.c_str()), 12), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(load_object(DynString(empty.c_str()), 12), 0);

    build_square(12);
    for (const std::string& name :
         {engine_.temp().file("no/such/folder.vxm"), std::string("mem://      10.       1")}) {
        set_error(0);
        EXPECT_EQ(save_object(DynString(name.c_str()), 12), 0) << name;
        EXPECT_EQ(last_error_code(), 3) << name;
    }
    set_error(0);
    EXPECT_EQ(save_object(DynString(engine_.temp().file("square.vxm").c_str()), 12), 1);
    EXPECT_EQ(last_error_code(), 0);
}

// The file is replaced whole or not at all: a write that fails half way leaves the old one.
TEST_F(ObjectCommandsTest, AFailedSaveLeavesTheFileThatHadTheNameAsItWas) {
    object_start(12);
    for (int i = 0; i < 200; ++i)
        object_add_vertex(i, i % 2, 0, 0, 0, 0xFFFFFF);
    object_end();
    const std::string file = engine_.temp().file("wall.vxm");
    testing::write_file(file, "the old content");

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = 1000;  // the mesh takes some 4,400 bytes
    setrlimit(RLIMIT_FSIZE, &limit);
    const int32_t result = save_object(DynString(file.c_str()), 12);
    setrlimit(RLIMIT_FSIZE, &previous);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(testing::read_file(file), "the old content");
    for (const auto& entry : std::filesystem::directory_iterator(engine_.temp().path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

// A script may save what it has built so far; the engine reads its own file back, colours and
// strips included, as finishing the object would have made them.
TEST_F(ObjectCommandsTest, SavingBeforeEndWritesAFileTheLoaderReads) {
    object_start(16);
    object_add_vertex(0, 0, 0, 0, 0, 0x0000FF);
    object_add_vertex(1, 0, 0, 1, 0, 0x00FF00);
    object_add_vertex(0, 1, 0, 0, 1, 0x0000FF);
    object_new_group();
    object_add_vertex(2, 0, 0, 0, 0, 0xFF0000);
    object_add_vertex(3, 0, 0, 0, 0, 0xFF0000);
    object_add_vertex(2, 1, 0, 0, 0, 0xFF0000);
    object_add_vertex(3, 1, 0, 0, 0, 0xFF0000);
    const std::string file = engine_.temp().file("unfinished.vxm");
    ASSERT_EQ(save_object(DynString(file.c_str()), 16), 1);

    ASSERT_EQ(load_object(DynString(file.c_str()), 17), 1);
    EXPECT_EQ(count_faces(17), 3);
    ASSERT_EQ(stream(17).size(), stream(16).size());
    for (size_t i = 0; i < stream(16).size(); ++i) {
        EXPECT_EQ(stream(17)[i].colour, stream(16)[i].colour) << i;
        EXPECT_EQ(stream(17)[i].position.x, stream(16)[i].position.x) << i;
    }
    EXPECT_EQ(slot(17).meshes[0].palette,
              (std::vector<int32_t>{kMarkerStrip, 0x0000FF, 0x00FF00, 0xFF0000}));
}

TEST_F(ObjectCommandsTest, LoadingAMissingOrCorruptFileEmptiesTheSlot) {
    build_square(13);
    EXPECT_EQ(load_object(DynString(engine_.temp().file("missing.vxm").c_str()), 13), 0);
    EXPECT_EQ(slot(13).used, 0);
    EXPECT_TRUE(slot(13).meshes.empty());
    EXPECT_EQ(last_error_code(), 3);
}

// A file loaded over the slot being built ends the build: later vertices go nowhere, and
// object_end leaves the loaded mesh as it was read.
TEST_F(ObjectCommandsTest, LoadingOverTheBuildingSlotEndsTheBuild) {
    build_square(13);
    const std::string file = engine_.temp().file("square.vxm");
    ASSERT_EQ(save_object(DynString(file.c_str()), 13), 1);

    object_start(14);
    object_add_vertex(7, 7, 7, 0, 0, 0);
    ASSERT_EQ(load_object(DynString(file.c_str()), 14), 1);
    object_add_vertex(1, 1, 1, 0, 0, 0);
    object_new_group();
    object_end();
    EXPECT_EQ(slot(14).used, 1);
    EXPECT_EQ(stream(14).size(), 5u);
    EXPECT_EQ(stream(14).back().position.x, 1.0f);  // the square's last corner, (1, 1, 0)
    EXPECT_EQ(stream(14).back().position.z, 0.0f);
    EXPECT_EQ(count_faces(14), 2);
    EXPECT_EQ(engine3d::scene_globals().building_slot, -1);
}

TEST_F(ObjectCommandsTest, ScaleObjectMultipliesEveryFrame) {
    build_square(15);
    scale_object(15, 2, 3, 4);
    DynArray<double> face;
    get_face(15, 0, 0, face);
    EXPECT_DOUBLE_EQ(face.at(1, 0), 2);  // B = (1, 0, 0)
    EXPECT_DOUBLE_EQ(face.at(2, 1), 3);  // C = (0, 1, 0)
    EXPECT_DOUBLE_EQ(stream(15)[2].position.x, 2);
}

TEST_F(ObjectCommandsTest, EndReportsTheFirstUnequalFrameOnTheDebugOutput) {
    testing::ScopedFakeDebugger debugger;
    if (!debugger.attached()) GTEST_SKIP() << "this sandbox refuses ptrace";
    object_start(5);
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, 0, i, 0, 0, 0);
    object_set_frame(1);
    for (int i = 0; i < 3; ++i)
        object_add_vertex(i, 1, i, 0, 0, 0);
    object_set_frame(2);
    object_add_vertex(0, 0, 0, 0, 0, 0);
    ::testing::internal::CaptureStderr();
    object_end();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "TXFrame 2 has 2 nodes, but must have (like frame 0) 4 nodes\n");
    debugger.detach();
    EXPECT_TRUE(slot(5).meshes.empty());
}

}  // namespace
}  // namespace vexel
