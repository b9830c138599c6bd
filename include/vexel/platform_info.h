// Vexel — what the program can ask about the machine: platform information, the environment and
// the current directory. Paths come back with '/' separators.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Platform information
//------------------------------------------------------------------------------------------------

// Keys, case ignored: "" the platform ("LINUX"), "DEVICE" ("DESKTOP"), "ID" (8 upper-case hex
// digits, stable per machine), "TIME" and "UTCTIME" (YYYY-MM-DD HH:MM:SS), "BATTERY" (percent,
// 100 when unknown), "LOCALE" (two-letter language code), "DOCUMENTS", "APPDATA" (ends in
// "/Vexel", created), "TEMP" (ends in '/'), "GLEXT:name" ("1" when the GL driver has the entry
// point, the name's case kept). Anything else, or a folder that cannot be named: "NO_DATA".
DynString platform_info(const DynString& key);

//------------------------------------------------------------------------------------------------
// Environment and current directory
//------------------------------------------------------------------------------------------------

// the variable's value, empty when unset; empty name: every name=value, one a line
DynString get_env(const DynString& name);
// sets the variable (an empty value removes it)
void put_env(const DynString& name, const DynString& value);
DynString get_current_dir();                     // the current directory, ending in '/'
int32_t set_current_dir(const DynString& path);  // 1 on success, else 0 with last error 3

}  // namespace vexel
