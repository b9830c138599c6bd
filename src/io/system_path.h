// Internal: how engine names reach the operating system.
#pragma once

#include <string>

namespace vexel {

// The name as the system sees it: every '\' becomes '/'. Names are never cut.
std::string system_path(const char* name);

bool is_directory(const char* name);      // the name exists and is a directory
bool is_regular_entry(const char* name);  // the name exists and is not a directory

// Removes the name: an (empty) directory with rmdir, anything else with unlink.
bool remove_name(const char* name);

}  // namespace vexel
