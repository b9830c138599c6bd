#include "mesh/section_file.h"

#include "io/file_stream.h"

namespace vexel {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

void append_folded(std::string& out, const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
}

// Section and key in one text: no section name holds a zero byte.
std::string lookup_key(const std::string& folded_section, const char* key, size_t length) {
    std::string text = folded_section;
    text += '\0';
    append_folded(text, key, length);
    return text;
}

}  // namespace

bool SectionFile::read(const char* name) {
    values_.clear();
    section_.clear();
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
        section_.clear();
        append_folded(section_, name, static_cast<size_t>(p - name));
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
    const auto [entry, added] =
        values_.try_emplace(lookup_key(section_, p, static_cast<size_t>(key_end - p)));
    if (!added) return;
    entry->second = DynString(q);
    entry->second.trim_control_tail();
}

DynString SectionFile::get(const char* section, const char* key) const {
    std::string folded;
    append_folded(folded, section, std::char_traits<char>::length(section));
    const auto found = values_.find(lookup_key(folded, key, std::char_traits<char>::length(key)));
    return found == values_.end() ? DynString("0") : found->second;
}

}  // namespace vexel
