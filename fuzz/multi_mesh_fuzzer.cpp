// Multi-mesh descriptions (";VXW"), through the object slot that loads them. The meshes a
// description names are found in an archive, as a game's media are: "part.vxm" (binary, written
// by the engine) and "text.vxm" (the text variant), so that the seeds reach their loading too.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <vexel/archive.h>

#include "archive_writer.h"
#include "io/file_stream.h"
#include "io/virtual_files.h"
#include "mesh/mesh_file.h"
#include "mesh/multi_mesh.h"
#include "support/fuzz_harness.h"
#include "support/mesh_checks.h"

namespace {

std::vector<uint8_t> binary_part() {
    vexel::MeshObjectX mesh;
    mesh.frames.resize(1);
    auto& stream = mesh.frames[0].build_stream;
    stream.push_back(vexel::make_marker(vexel::kMarkerStrip));
    const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const auto& corner : corners) {
        vexel::MeshVertex record;
        record.position = vexel::Vec3f{corner[0], corner[1], 0.5f};
        record.u = corner[0];
        record.v = -corner[1];
        record.set_colour(corner[0] > 0 ? 0x00FF00 : 0xFF0000);
        stream.push_back(record);
    }
    vexel::finish_built_mesh(mesh, 1);
    const std::string path = vexel::fuzz::private_folder() + "part.vxm";
    if (!vexel::write_mesh_file(path.c_str(), mesh)) vexel::fuzz::fail("part.vxm not written");
    vexel::FileStream file;
    std::vector<uint8_t> bytes;
    if (!file.open_read(path.c_str())) vexel::fuzz::fail("part.vxm not read");
    bytes.resize(static_cast<size_t>(file.size()));
    if (!file.read(bytes.data(), static_cast<uint32_t>(bytes.size())))
        vexel::fuzz::fail("part.vxm not read");
    return bytes;
}

std::vector<uint8_t> text_part() {
    static const char kText[] =
        "VXMA 1.0\n1\n0 0\n1\n255 0 0  3  0 1 2  1  0\n1\n3  0 0 0  1 0 0  0 1 0\n";
    return std::vector<uint8_t>(kText, kText + sizeof kText - 1);
}

// The archive lives for the whole run, as the archive appended to a game does.
void open_media_archive() {
    static std::vector<uint8_t> archive;
    std::string error;
    if (!vxpack::build_archive({}, {{"part.vxm", binary_part()}, {"text.vxm", text_part()}},
                               &archive, &error))
        vexel::fuzz::fail("no media archive");
    static const vexel::MemoryFile file(archive.data(), static_cast<uint32_t>(archive.size()));
    vexel::set_archive(vexel::DynString(file.name().c_str()), vexel::DynString());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    open_media_archive();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4 || std::memcmp(data, vexel::kMultiMeshTag, 4) != 0) return -1;
    const vexel::fuzz::InputFile input(data, size);
    vexel::fuzz::load_and_use_slot(input.name());
    return 0;
}
