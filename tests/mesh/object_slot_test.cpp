#include "mesh/object_slot.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <vexel/error.h>

#include "io/virtual_files.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_hooks.h"
#include "mesh/mesh_test_support.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

// Bytes of address space the process holds now.
uint64_t address_space_in_use() {
    std::ifstream status("/proc/self/statm");
    uint64_t pages = 0;
    status >> pages;
    return pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

using testing::MeshBuilder;
using testing::MeshBytes;
using testing::ScopedTempDir;

// A version 2.0 file of one frame: a strip marker and a triangle at x = 0..2.
std::string triangle_file() {
    MeshBytes file;
    file.header(2.0, 1, 2, 4).i32(-2).i32(0xFFFFFF);
    for (int i = 0; i < 8; ++i)
        file.f32(0);
    file.i32(4).record(0, 0, 0, 0, 0).record(0, 0, 0, 5, 1).record(2, 0, 0, 5, 1);
    file.record(0, 2, 0, 5, 1);
    return file.str();
}

class ObjectSlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        MeshGraphicsHooks hooks;
        hooks.delete_textures = [this](const std::vector<uint32_t>& textures) {
            deleted_.insert(deleted_.end(), textures.begin(), textures.end());
        };
        hooks.release_gpu = [this](MeshGpuResources& resources) {
            released_.push_back(resources.static_buffer);
        };
        set_mesh_graphics_hooks(std::move(hooks));
    }
    void TearDown() override { set_mesh_graphics_hooks({}); }

    // A slot as a loaded multi-mesh slot leaves it, with GL objects to give back.
    void fill(ObjectSlot& slot) {
        slot.used = 1;
        slot.multi_mesh = 1;
        slot.textures = {11, 12};
        slot.meshes.emplace_back();
        slot.meshes[0].gpu.static_buffer = 21;
    }

    ScopedTempDir folder_;
    std::vector<uint32_t> deleted_;
    std::vector<uint32_t> released_;
};

TEST_F(ObjectSlotTest, ResetGivesBackTexturesAndBuffersAndClearsTheFlags) {
    ObjectSlot slot;
    fill(slot);
    slot.reset();
    EXPECT_EQ(deleted_, (std::vector<uint32_t>{11, 12}));
    EXPECT_EQ(released_, (std::vector<uint32_t>{21}));
    EXPECT_EQ(slot.used, 0);
    EXPECT_EQ(slot.multi_mesh, 0);
    EXPECT_TRUE(slot.meshes.empty());
    EXPECT_TRUE(slot.textures.empty());
}

TEST_F(ObjectSlotTest, LoadingAMeshFilePreparesAndBoundsItsOnlyMesh) {
    const std::string bytes = triangle_file();
    MemoryFile memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ObjectSlot slot;
    fill(slot);
    ASSERT_EQ(load_object_slot(slot, memory.name().c_str()), 1);
    EXPECT_EQ(deleted_.size(), 2u);  // the previous content went first
    EXPECT_EQ(slot.used, 1);
    EXPECT_EQ(slot.multi_mesh, 0);
    ASSERT_EQ(slot.meshes.size(), 1u);
    const MeshObjectX& mesh = slot.meshes[0];
    EXPECT_EQ(mesh.frames[0].triangles.size(), 3u);
    EXPECT_EQ(mesh.blend.size(), 3u);
    EXPECT_FLOAT_EQ(mesh.frames[0].bound_centre.x, 2.0f / 3);
    EXPECT_GT(mesh.frames[0].bound_radius, 1.0f);
    EXPECT_EQ(mesh.texture_a, -1);
}

TEST_F(ObjectSlotTest, LoadingFindsDiskFilesWithEitherSeparator) {
    testing::write_file(folder_.file("tile.vxm"), triangle_file());
    ObjectSlot slot;
    EXPECT_EQ(load_object_slot(slot, (folder_.path() + "tile.vxm").c_str()), 1);
    std::string backslashed = folder_.path();
    for (char& c : backslashed) {
        if (c == '/') c = '\\';
    }
    EXPECT_EQ(load_object_slot(slot, (backslashed + "tile.vxm").c_str()), 1);
}

TEST_F(ObjectSlotTest, FailuresLeaveTheSlotEmpty) {
    ObjectSlot slot;
    fill(slot);
    EXPECT_EQ(load_object_slot(slot, folder_.file("missing.vxm").c_str()), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(slot.used, 0);
    EXPECT_TRUE(slot.meshes.empty());

    const std::string bad = "not a mesh at all";
    MemoryFile text(bad.data(), static_cast<uint32_t>(bad.size()));
    EXPECT_EQ(load_object_slot(slot, text.name().c_str()), 0);
    EXPECT_TRUE(slot.meshes.empty());

    const std::string truncated = triangle_file().substr(0, 60);
    MemoryFile cut(truncated.data(), static_cast<uint32_t>(truncated.size()));
    EXPECT_EQ(load_object_slot(slot, cut.name().c_str()), 0);
    EXPECT_TRUE(slot.meshes.empty());
    EXPECT_EQ(testing::read_file(error_log_path()),
              "load_object: cannot load \"" + folder_.file("missing.vxm") + "\": not found\n" +
                  "load_object: cannot load \"" + text.name() + "\": not a mesh file\n" +
                  "# read error\n" + cut.name() + "\n" + "load_object: cannot load \"" +
                  cut.name() + "\": damaged\n");
}

// Every failed load names the file and says why, in one line after whatever the reader logged.
TEST_F(ObjectSlotTest, EachFailedLoadLogsOneLineWithTheReason) {
    MeshBytes newer;
    newer.header(2.5, 0, 0, 0);
    MeshBytes empty_frame;
    empty_frame.header(2.0, 1, 0, 0).i32(0);
    // One polygon of 2,000 vertices over 600 frames: 1.2 million records as read, but 3.6 million
    // more once every fan is split into triangles.
    std::string fans = "VXMA 1 0 1 0 0 0 2000";
    for (int i = 0; i < 2000; ++i)
        fans += " 0";
    fans += " 0 600";
    for (int i = 0; i < 600; ++i)
        fans += " 1 0 0 0";
    const struct {
        std::string bytes;
        const char* reason;
        int32_t error;
    } cases[] = {
        {newer.str(), "unsupported version", 20},
        {empty_frame.str(), "holds no vertex", 20},
        {fans, "too many records", 20},
        {"VXMA 1.5 0 0 0", "not a mesh file", 20},
    };
    for (const auto& c : cases) {
        std::remove(error_log_path());
        MemoryFile memory(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        ObjectSlot slot;
        EXPECT_EQ(load_object_slot(slot, memory.name().c_str()), 0) << c.reason;
        EXPECT_EQ(last_error_code(), c.error) << c.reason;
        const std::string log = testing::read_file(error_log_path());
        const std::string line =
            "load_object: cannot load \"" + memory.name() + "\": " + c.reason + "\n";
        ASSERT_GE(log.size(), line.size()) << log;
        EXPECT_EQ(log.substr(log.size() - line.size()), line) << log;
        EXPECT_EQ(log.find("load_object"), log.size() - line.size()) << log;
    }
}

// Memory that runs out while the mesh is made drawable (its triangles take three times the
// records read) fails the load like memory running out while reading.
TEST_F(ObjectSlotTest, RunningOutOfMemoryFailsTheLoadInsteadOfEndingTheProgram) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
    // A strip of a million vertices: 22 MB of file, 92 MB of records, 276 MB of triangles.
    constexpr int32_t kVertices = 1000000;
    MeshBytes file;
    file.header(2.0, 1, 2, kVertices + 1).i32(-2).i32(0xFFFFFF);
    for (int32_t i = 0; i <= kVertices; ++i)
        file.f32(0).f32(0);
    file.i32(kVertices + 1).record(0, 0, 0, 0, 0);
    for (int32_t i = 0; i < kVertices; ++i)
        file.record(static_cast<float>(i), static_cast<float>(i % 2), 0, 5, 1);
    testing::write_file(folder_.file("strip.vxm"), file.str());
    const std::string name = folder_.file("strip.vxm");
    EXPECT_EXIT(
        {
            rlimit limit;
            getrlimit(RLIMIT_AS, &limit);
            // Enough for the file, the records and the reserved triangles, not for the copy of
            // the triangles the renderer blends into.
            limit.rlim_cur = address_space_in_use() + (500u << 20);
            setrlimit(RLIMIT_AS, &limit);
            ObjectSlot slot;
            const int32_t result = load_object_slot(slot, name.c_str());
            std::fprintf(stderr, "result %d error %d used %d meshes %zu\n%s", result,
                         last_error_code(), slot.used, slot.meshes.size(),
                         testing::read_file(error_log_path()).c_str());
            std::exit(0);
        },
        ::testing::ExitedWithCode(0),
        "^result 0 error 7 used 0 meshes 0\n# malloc error\n.*strip\\.vxm\nload_object: "
        "cannot load \".*strip\\.vxm\": out of memory\n$");
}

TEST_F(ObjectSlotTest, AFileWhoseFirstFrameIsEmptyGivesAnEmptySlot) {
    MeshBytes empty_frame;
    empty_frame.header(2.0, 1, 0, 0).i32(0);
    MeshBytes no_frame;
    no_frame.header(2.0, 0, 0, 0);
    for (const std::string& bytes : {empty_frame.str(), no_frame.str()}) {
        MemoryFile memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        ObjectSlot slot;
        EXPECT_EQ(load_object_slot(slot, memory.name().c_str()), 0);
        EXPECT_EQ(slot.used, 0);
        EXPECT_TRUE(slot.meshes.empty());
    }
}

TEST_F(ObjectSlotTest, SavingWritesTheFirstMeshOnly) {
    ObjectSlot slot;
    EXPECT_EQ(save_object_slot(slot, folder_.file("none.vxm").c_str()), 0);
    MeshBuilder first;
    first.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    MeshBuilder second;
    second.add(5, 5, 5).add(6, 5, 5).add(5, 6, 5).add(6, 6, 6);
    slot.meshes.push_back(first.finish(1));
    slot.meshes.push_back(second.finish(1));
    ASSERT_EQ(save_object_slot(slot, folder_.file("first.vxm").c_str()), 1);
    ObjectSlot loaded;
    ASSERT_EQ(load_object_slot(loaded, folder_.file("first.vxm").c_str()), 1);
    EXPECT_EQ(loaded.meshes[0].frames[0].build_stream.size(), 4u);
}

TEST_F(ObjectSlotTest, ScalingReachesEveryMeshAndFrame) {
    ObjectSlot slot;
    MeshBuilder first;
    first.add(1, 1, 1).add(2, 1, 1).add(1, 2, 1).frame(1).add(3, 3, 3).add(4, 3, 3).add(3, 4, 3);
    MeshBuilder second;
    second.add(1, 0, 0).add(0, 1, 0).add(0, 0, 1);
    slot.meshes.push_back(first.finish());
    slot.meshes.push_back(second.finish());
    scale_object_slot(slot, 2, -1, 0.5f);
    EXPECT_EQ(slot.meshes[0].frames[1].triangles[2].position.y, -4.0f);
    EXPECT_EQ(slot.meshes[0].frames[1].build_stream[1].position.x, 6.0f);
    EXPECT_EQ(slot.meshes[1].frames[0].triangles[2].position.z, 0.5f);
    EXPECT_FLOAT_EQ(slot.meshes[1].frames[0].bound_centre.x, 2.0f / 3);
}

}  // namespace
}  // namespace vexel
