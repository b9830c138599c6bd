// Data lists: a block of numbers and texts made from the input, read to its end as texts,
// doubles and ints. Reading past the end ends the program by design, so the reads stop there.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <vexel/data_list.h>

#include "support/fuzz_harness.h"

using vexel::DataItem;
using vexel::DynString;
using vexel::fuzz::check;

namespace {

constexpr size_t kMostItems = 64;

void read_item(const DataItem& item, int how) {
    if (how == 0) {
        DynString text;
        vexel::read_data(text);
        check(!item.text || text == DynString(item.text), "a text item read back wrong");
    } else if (how == 1) {
        double number = -1;
        vexel::read_data(number);
        check(item.text || std::bit_cast<uint64_t>(number) == std::bit_cast<uint64_t>(item.value),
              "a number item read back wrong");
    } else {
        int32_t number = -1;
        vexel::read_data(number);
        const double value = item.value;
        if (!item.text && std::isfinite(value) && std::fabs(value) < 2e9)
            check(number == static_cast<int32_t>(value), "a number item read as int wrong");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    std::deque<std::string> texts;
    std::vector<DataItem> items;
    std::vector<int> reads;
    while (items.size() < kMostItems && provider.remaining_bytes() > 0) {
        DataItem item;
        if (provider.ConsumeBool()) {
            texts.push_back(provider.ConsumeRandomLengthString(64));
            item.text = texts.back().c_str();
        } else {
            item.value = std::bit_cast<double>(provider.ConsumeIntegral<uint64_t>());
        }
        items.push_back(item);
        reads.push_back(provider.ConsumeIntegralInRange(0, 2));
    }
    vexel::DataBlock block{items.data(), static_cast<int32_t>(items.size()), 0};
    for (int pass = 0; pass < 2; ++pass) {
        vexel::restore_data(block);
        for (size_t i = 0; i < items.size(); ++i)
            read_item(items[i], (reads[i] + pass) % 3);
    }
    return 0;
}
