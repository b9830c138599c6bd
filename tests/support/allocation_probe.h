// Test helper: the largest block asked of the nothrow array new since the last reset, so that a
// test can show that a loader never allocates what a damaged header merely claims.
#pragma once

#include <cstddef>

namespace vexel::testing {

void reset_largest_nothrow_array();
size_t largest_nothrow_array();

}  // namespace vexel::testing
