// Internal: the section reader of multi-mesh descriptions. Lines of up to 1024 bytes, leading
// blanks and tabs skipped; ';' starts a comment line; "[name]" opens a section; other lines are
// "key = value". Section and key names are compared without regard to case.
#pragma once

#include <vector>

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
    struct Entry {
        DynString section;
        DynString key;
        DynString value;
    };

    std::vector<Entry> entries_;
    DynString section_;
};

}  // namespace vexel
