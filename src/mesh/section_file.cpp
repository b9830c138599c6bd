#include "mesh/section_file.h"

#include "io/file_stream.h"
#include "io/names.h"

#include <utility>

namespace vexel {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool SectionFile::read(const char* name) {
    entries_.clear();
    section_ = DynString();
    FileStream stream;
    if (!stream.open_read(name)) return false;
    char line[kLineLimit + 1];
    uint32_t length = 0;
    while (stream.read_line(line, &length))
        parse_line(line);
    return true;
}

void SectionFile::parse_line(const char* line) {
    const char* p = line;
    while (is_blank(*p))
        ++p;
    if (*p == ';' || *p == 0) return;
    if (*p == '[') {
        const char* name = ++p;
        while (*p && !is_blank(*p) && *p != '=' && *p != ']' && *p != '\r' && *p != '\n')
            ++p;
        section_ = DynString();
        section_.append(name, static_cast<uint32_t>(p - name));
        return;
    }
    const char* key_end = p;
    while (*key_end && !is_blank(*key_end) && *key_end != '=')
        ++key_end;
    const char* q = key_end;
    while (is_blank(*q))
        ++q;
    if (*q != '=') return;
    ++q;
    while (is_blank(*q))
        ++q;
    Entry entry{section_, DynString(), DynString(q)};
    entry.key.append(p, static_cast<uint32_t>(key_end - p));
    entry.value.trim_control_tail();
    entries_.push_back(std::move(entry));
}

DynString SectionFile::get(const char* section, const char* key) const {
    for (const Entry& entry : entries_) {
        if (same_name(entry.section.c_str(), section) && same_name(entry.key.c_str(), key))
            return entry.value;
    }
    return DynString("0");
}

}  // namespace vexel
