// Vexel — small persistent stores: a settings file of [sections] with key=value pairs, and a
// line-slot file of 256 numbered lines. Each store holds one file at a time, reads it whole and
// writes it back whole (replacing the old file in one step) when another file is opened or the
// program ends, but only when it changed. Both read "mem://" names and archive entries; neither
// ever writes to a "mem://" name.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Settings file
//------------------------------------------------------------------------------------------------

// writes back the previous file if it changed, then reads this one (empty name: none)
void ini_open(const DynString& name);
// first match, case ignored; the default when absent
DynString ini_get(const DynString& section, const DynString& key, const DynString& default_value);
// set; an empty value removes the pair, an empty key the section
void ini_put(const DynString& section, const DynString& key, const DynString& value);

//------------------------------------------------------------------------------------------------
// Line-slot file (slots 0 to 255, up to 1023 bytes each)
//------------------------------------------------------------------------------------------------

// 0; a bad index sets last error 7 and returns 7
int32_t put_file_line(const DynString& name, int32_t index, const DynString& text);
int32_t put_file_line(const DynString& name, int32_t index, double value);  // the number's text
// the slot without trailing control bytes, "NO_DATA" when empty, "NO_FILE" (last error 3) when the
// file cannot be read; a bad index gives "NO_DATA", last error 7 and returns 7
int32_t get_file_line(const DynString& name, int32_t index, DynString& target);
// the slot read as a number
int32_t get_file_line(const DynString& name, int32_t index, double& target);
// the slot read as an integer
int32_t get_file_line(const DynString& name, int32_t index, int32_t& target);

}  // namespace vexel
