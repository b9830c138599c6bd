// Line-slot files: read from a "mem://" block and from a disk copy, which must give the same 256
// slots; then one slot is put, the file written back and read again, which must keep the rest.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include <vexel/settings.h>

#include "support/disk_copy.h"
#include "support/fuzz_harness.h"

namespace {

using vexel::DynString;
using vexel::fuzz::check;

constexpr int32_t kSlots = 256;
constexpr int32_t kPutSlot = 200;

using Slots = std::array<std::string, kSlots>;

Slots read_slots(const DynString& name) {
    Slots slots;
    for (int32_t i = 0; i < kSlots; ++i) {
        DynString text;
        check(vexel::get_file_line(name, i, text) == 0, "a slot in range refused");
        slots[static_cast<size_t>(i)].assign(text.c_str(), text.length());
    }
    return slots;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vexel::fuzz::InputFile input(data, size);
    const DynString memory(input.name());
    Slots expected = read_slots(memory);

    const DynString disk(vexel::fuzz::write_disk_copy("slots.txt", data, size).c_str());
    check(read_slots(disk) == expected, "memory and disk read different slots");

    check(vexel::put_file_line(disk, kPutSlot, DynString("fuzz line")) == 0, "a put refused");
    check(vexel::put_file_line(disk, kSlots, DynString("x")) == 7, "a slot out of range taken");
    // Opening another file writes the changed one back.
    DynString unused;
    vexel::get_file_line(memory, 0, unused);
    expected[kPutSlot] = "fuzz line";
    check(read_slots(disk) == expected, "a write-back changed the slots");
    return 0;
}
