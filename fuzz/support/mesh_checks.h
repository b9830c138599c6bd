// What a loaded object slot must allow, whatever file it came from: every operation a game may
// run on a loaded object, then a save and a load of what was saved.
#pragma once

#include "mesh/object_slot.h"

namespace vexel::fuzz {

// Loads the named file into a slot and works on the result; aborts on any broken promise.
void load_and_use_slot(const char* name);

}  // namespace vexel::fuzz
