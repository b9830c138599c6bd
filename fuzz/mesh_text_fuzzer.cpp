// The text mesh reader, through the object slot that loads it. Binary meshes and multi-mesh
// descriptions have harnesses of their own.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "mesh/little_endian.h"
#include "mesh/mesh_file.h"
#include "mesh/multi_mesh.h"
#include "support/fuzz_harness.h"
#include "support/mesh_checks.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 4 && (vexel::load_u32(data) == vexel::kMeshMagic ||
                      std::memcmp(data, vexel::kMultiMeshTag, 4) == 0))
        return -1;
    const vexel::fuzz::InputFile input(data, size);
    vexel::fuzz::load_and_use_slot(input.name());
    return 0;
}
