// The binary mesh reader, through the object slot that loads it. Inputs without the format's
// magic number are left to the text harness.
#include <cstddef>
#include <cstdint>

#include "mesh/little_endian.h"
#include "mesh/mesh_file.h"
#include "support/fuzz_harness.h"
#include "support/mesh_checks.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4 || vexel::load_u32(data) != vexel::kMeshMagic) return -1;
    const vexel::fuzz::InputFile input(data, size);
    vexel::fuzz::load_and_use_slot(input.name());
    return 0;
}
