// File-channel reads: the same file on channel 0 as a "mem://" block and on channel 1 as a disk
// copy, driven by the same reads and seeks, must give the same values and positions. The input
// is the file, then the operations (read from the end by FuzzedDataProvider), then the file's
// length in two bytes. Only reads that fit in the file are made: one past it ends the program by
// design.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <vexel/files.h>

#include "support/disk_copy.h"
#include "support/fuzz_harness.h"

namespace {

using vexel::DynString;
using vexel::fuzz::check;

constexpr int32_t kMemory = 0;
constexpr int32_t kDisk = 1;
constexpr size_t kMostOperations = 256;

// Equal values, NaN equal to NaN of the same bits.
bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool same(const DynString& a, const DynString& b) {
    return a.length() == b.length() && std::memcmp(a.c_str(), b.c_str(), a.length()) == 0;
}

class Channels {
public:
    explicit Channels(int64_t size) : size_(size) {}

    int64_t left() const { return size_ - static_cast<int64_t>(vexel::file_position(kMemory)); }

    template <typename Target, typename Read>
    void read_both(Read read, int64_t width) {
        if (left() < width) return;
        Target memory{};
        Target disk{};
        read(kMemory, memory);
        read(kDisk, disk);
        check(same(memory, disk), "memory and disk read different values");
    }

    void read_bytes(int32_t count) {
        if (left() < count) return;
        DynString memory;
        DynString disk;
        vexel::read_bytes(kMemory, memory, count);
        vexel::read_bytes(kDisk, disk, count);
        check(same(memory, disk), "memory and disk read different bytes");
        check(memory.length() == static_cast<uint32_t>(count > 0 ? count : 0),
              "read_bytes gave the wrong count");
    }

    void read_line(int kind) {
        if (left() <= 0) return;
        if (kind == 0) {
            DynString memory;
            DynString disk;
            vexel::read_line(kMemory, memory);
            vexel::read_line(kDisk, disk);
            check(same(memory, disk), "memory and disk read different lines");
            check(memory.length() <= 1024, "a line longer than the limit");
            check_positions();
        } else if (kind == 1) {
            read_both<double>([](int32_t c, double& v) { vexel::read_line(c, v); }, 1);
        } else {
            read_both<int32_t>([](int32_t c, int32_t& v) { vexel::read_line(c, v); }, 1);
        }
    }

    // A move inside the file goes to both channels; any other goes to memory only and is undone,
    // since disk and memory are documented to differ there.
    void seek(double offset, int32_t whence) {
        const double here = vexel::file_position(kMemory);
        // A relative move starts from the same place on both (see check_positions).
        if (whence > 0) vexel::file_seek(kDisk, here, 0);
        const double target = whence < 0 ? size_ + offset : whence > 0 ? here + offset : offset;
        if (target >= 0 && target <= size_ && offset == std::trunc(offset)) {
            vexel::file_seek(kMemory, offset, whence);
            check(vexel::file_seek(kDisk, offset, whence) == target, "a disk seek went astray");
        } else {
            vexel::file_seek(kMemory, offset, whence);
            vexel::file_seek(kMemory, here, 0);
        }
        check_positions();
    }

    // Equal, but for one documented difference: a last line without a line feed leaves a disk
    // stream one past the end of its file and a memory stream at the end of its block.
    void check_positions() const {
        const double memory = vexel::file_position(kMemory);
        const double disk = vexel::file_position(kDisk);
        check(memory == disk || (memory == size_ && disk == size_ + 1),
              "memory and disk positions differ");
    }

private:
    int64_t size_;
};

void run(Channels& channels, FuzzedDataProvider& operations) {
    for (size_t i = 0; i < kMostOperations && operations.remaining_bytes() > 0; ++i) {
        switch (operations.ConsumeIntegralInRange(0, 11)) {
            case 0:
                channels.read_both<int32_t>([](int32_t c, int32_t& v) { vexel::read_int8(c, v); },
                                            1);
                break;
            case 1:
                channels.read_both<int32_t>([](int32_t c, int32_t& v) { vexel::read_uint8(c, v); },
                                            1);
                break;
            case 2:
                channels.read_both<int32_t>([](int32_t c, int32_t& v) { vexel::read_int16(c, v); },
                                            2);
                break;
            case 3:
                channels.read_both<int32_t>([](int32_t c, int32_t& v) { vexel::read_uint16(c, v); },
                                            2);
                break;
            case 4:
                channels.read_both<int32_t>([](int32_t c, int32_t& v) { vexel::read_int32(c, v); },
                                            4);
                break;
            case 5:
                channels.read_both<double>([](int32_t c, double& v) { vexel::read_float(c, v); },
                                           4);
                break;
            case 6:
                channels.read_both<double>([](int32_t c, double& v) { vexel::read_double(c, v); },
                                           8);
                break;
            case 7:
                channels.read_bytes(operations.ConsumeIntegralInRange(-2, 2048));
                break;
            case 8:
            case 9:
                channels.read_line(operations.ConsumeIntegralInRange(0, 2));
                break;
            case 10:
                channels.seek(operations.ConsumeIntegralInRange<int32_t>(-70000, 70000),
                              operations.ConsumeIntegralInRange(-1, 1));
                break;
            default:
                channels.seek(operations.ConsumeFloatingPoint<double>(),
                              operations.ConsumeIntegralInRange(-1, 1));
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const size_t length = provider.ConsumeIntegral<uint16_t>();
    const std::vector<uint8_t> file = provider.ConsumeBytes<uint8_t>(length);
    const vexel::fuzz::InputFile input(file.data(), file.size());
    const std::string disk = vexel::fuzz::write_disk_copy("channel.bin", file.data(), file.size());
    check(vexel::open_file(kMemory, DynString(input.name()), 1) == 1, "a block does not open");
    check(vexel::open_file(kDisk, DynString(disk.c_str()), 1) == 1, "the disk copy does not open");
    check(vexel::file_size(DynString(input.name())) == static_cast<double>(file.size()),
          "a block of the wrong size");
    Channels channels(static_cast<int64_t>(file.size()));
    run(channels, provider);
    vexel::close_file(kMemory);
    vexel::close_file(kDisk);
    return 0;
}
