#include <vexel/data_list.h>
#include <vexel/error.h>

#include <cmath>
#include <limits>

#include "app/failure_report.h"

namespace vexel {

namespace {

constexpr int32_t kOutOfData = 20;

DataBlock*& current_block() {
    static DataBlock* block = nullptr;
    return block;
}

// The next item of the current block, or null after ending the program for want of data.
const DataItem* next_item() {
    DataBlock* block = current_block();
    if (!block || !block->items || block->cursor < 0 || block->cursor >= block->count) {
        set_error(kOutOfData);
        end_program_because("read_data: no more data");
        return nullptr;
    }
    return &block->items[block->cursor++];
}

int32_t truncated_int(double value) {
    if (std::isnan(value)) return 0;
    if (value <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (value >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace

void restore_data(DataBlock& block) {
    block.cursor = 0;
    current_block() = &block;
}

void read_data(DynString& target) {
    const DataItem* item = next_item();
    if (!item) return;
    if (item->text) {
        target = item->text;
    } else {
        target = number_to_text(item->value);
    }
}

void read_data(double& target) {
    const DataItem* item = next_item();
    if (!item) return;
    target = item->text ? text_to_double(item->text) : item->value;
}

void read_data(int32_t& target) {
    const DataItem* item = next_item();
    if (!item) return;
    target = item->text ? text_to_int(item->text) : truncated_int(item->value);
}

}  // namespace vexel
