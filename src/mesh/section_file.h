// Internal: the section reader of multi-mesh descriptions. Lines of up to 1024 bytes, leading
// blanks and tabs skipped; ';' starts a comment line; "[name]" opens a section; other lines are
// "key = value". Section and key names are compared without regard to case.
#pragma once

#include <string>
#include <unordered_map>

#include <vexel/dyn_string.h>

namespace vexel {

class SectionFile {
public:
    // Reads every line of the file; false when it cannot be opened (the file is then empty).
    bool read(const char* name);
    // One line as the reader takes it.
    void parse_line(const char* line);
    // The value of the first line with that key in a section of that name; "0" when none.
    DynString get(const char* section, const char* key) const;

private:
    // Descriptions are looked up once per key and mesh: the lines are indexed as they are read,
    // by section and key folded to lower case, the first line of a key winning.
    std::unordered_map<std::string, DynString> values_;
    std::string section_;  // folded
};

}  // namespace vexel
