// Vexel — inline data lists: the values of a script's data statements, read in order.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Data blocks
//------------------------------------------------------------------------------------------------

// One value of a data statement: a number, or a text when text is not null.
struct DataItem {
    double value = 0;
    const char* text = nullptr;
};

// The items of a script's data statements and the position of the next read.
struct DataBlock {
    const DataItem* items = nullptr;
    int32_t count = 0;
    int32_t cursor = 0;
};

//------------------------------------------------------------------------------------------------
// Reading
//------------------------------------------------------------------------------------------------

// Makes the block current and rewinds it to its first item.
void restore_data(DataBlock& block);
// The next item of the current block as text (numbers by the number-to-text rule).
void read_data(DynString& target);
// The next item as a double (text converted like atof).
void read_data(double& target);
// The next item as an int (text like atoi; numbers truncated toward zero, saturating, NaN as 0).
void read_data(int32_t& target);
// Each read with no current block or past its last item sets error 20 ("out of data") and ends
// the program; the target is left unchanged.

}  // namespace vexel
