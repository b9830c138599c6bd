#include "io/settings_store.h"

#include <memory>
#include <string>

#include <vexel/archive.h>
#include <vexel/settings.h>

#include "app/failure_report.h"
#include "io/atomic_file.h"
#include "io/file_stream.h"
#include "io/names.h"
#include "io/virtual_files.h"

namespace vexel {

namespace {

std::unique_ptr<SettingsStore> g_store;

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool ends_name(char c) {
    return c == ' ' || c == '\t' || c == '=' || c == '\r' || c == '\n';
}

}  // namespace

SettingsStore::~SettingsStore() {
    write_back();
}

SettingsStore& settings_store() {
    if (!g_store) g_store = std::make_unique<SettingsStore>();
    return *g_store;
}

void write_back_settings() {
    if (g_store) g_store->write_back();
}

bool SettingsStore::write_back() {
    if (!dirty_ || file_name_.empty() || is_memory_name(file_name_.c_str())) return true;
    // A failed write is reported once; it is not tried again at exit.
    dirty_ = false;
    return write();
}

void SettingsStore::open(const char* name) {
    const std::string requested = name ? name : "";
    write_back();
    sections_.clear();
    file_name_ = DynString();
    dirty_ = false;
    if (requested.empty()) return;
    DynString resolved;
    file_name_ = resolve_name(requested.c_str(), resolved, true) ? resolved : requested.c_str();
    read(file_name_.c_str());
}

void SettingsStore::read(const char* name) {
    FileStream stream;
    if (!stream.open_read(name)) return;
    DynString section_name;
    std::vector<Pair> pairs;
    char line[kLineLimit + 1];
    uint32_t length = 0;
    while (stream.read_line(line, &length))
        parse_line(line, section_name, pairs);
    store_section(section_name, pairs);
}

void SettingsStore::store_section(DynString& name, std::vector<Pair>& pairs) {
    // A section that holds no pair is dropped.
    if (!pairs.empty()) sections_.push_back(Section{std::move(name), std::move(pairs)});
    name = DynString();
    pairs.clear();
}

void SettingsStore::parse_line(const char* line, DynString& section_name,
                               std::vector<Pair>& pairs) {
    const char* p = line;
    while (is_blank(*p) || *p == '\r' || *p == '\n')
        ++p;
    if (*p == ';') return;
    if (*p == '[') {
        store_section(section_name, pairs);
        ++p;
        while (is_blank(*p))
            ++p;
        const char* end = p;
        while (*end && !ends_name(*end))
            ++end;
        const char* name_end = end > p && end[-1] == ']' ? end - 1 : end;
        section_name = DynString();
        section_name.append(p, static_cast<uint32_t>(name_end - p));
        return;
    }
    const char* key_end = p;
    while (*key_end && !ends_name(*key_end))
        ++key_end;
    if (!*key_end) return;
    const char* q = key_end;
    while (is_blank(*q))
        ++q;
    if (*q != '=') return;
    ++q;
    while (is_blank(*q))
        ++q;
    DynString value(q);
    value.trim_control_tail();
    if (value.empty()) return;
    DynString key;
    key.append(p, static_cast<uint32_t>(key_end - p));
    pairs.push_back(Pair{std::move(key), std::move(value)});
}

SettingsStore::Section* SettingsStore::find_section(const char* name) {
    for (Section& section : sections_) {
        if (same_name(section.name.c_str(), name)) return &section;
    }
    return nullptr;
}

DynString SettingsStore::get(const char* section, const char* key,
                             const char* default_value) const {
    for (const Section& candidate : sections_) {
        if (!same_name(candidate.name.c_str(), section)) continue;
        for (const Pair& pair : candidate.pairs) {
            if (same_name(pair.key.c_str(), key)) return pair.value;
        }
        break;
    }
    return DynString(default_value);
}

void SettingsStore::put(const char* section, const char* key, const char* value) {
    const bool has_value = value && *value;
    Section* target = find_section(section);
    if (!key || !*key) {
        if (!target) return;
        if (target != &sections_.back()) *target = std::move(sections_.back());
        sections_.pop_back();
        dirty_ = true;
        return;
    }
    if (!target) {
        // Removing from a section that does not exist changes nothing.
        if (!has_value) return;
        sections_.push_back(Section{DynString(section), {}});
        target = &sections_.back();
    }
    std::vector<Pair>& pairs = target->pairs;
    for (Pair& pair : pairs) {
        if (!same_name(pair.key.c_str(), key)) continue;
        if (has_value) {
            pair.value = value;
        } else {
            if (&pair != &pairs.back()) pair = std::move(pairs.back());
            pairs.pop_back();
        }
        dirty_ = true;
        return;
    }
    if (!has_value) return;
    pairs.push_back(Pair{DynString(key), DynString(value)});
    dirty_ = true;
}

bool SettingsStore::write() const {
    std::string text;
    for (const Section& section : sections_) {
        text += '[';
        text.append(section.name.c_str(), section.name.length());
        text += "]\r\n";
        for (const Pair& pair : section.pairs) {
            text.append(pair.key.c_str(), pair.key.length());
            text += '=';
            text.append(pair.value.c_str(), pair.value.length());
            text += "\r\n";
        }
    }
    AtomicFile file(file_name_.c_str());
    if (file.open() && file.write(text.data(), text.size()) && file.commit()) return true;
    // The settings live on only in memory now: say so instead of losing them in silence.
    log_write_failure("ini_put", file_name_.c_str(), file.failure_reason());
    return false;
}

void ini_open(const DynString& name) {
    settings_store().open(name.c_str());
}

DynString ini_get(const DynString& section, const DynString& key, const DynString& default_value) {
    return settings_store().get(section.c_str(), key.c_str(), default_value.c_str());
}

void ini_put(const DynString& section, const DynString& key, const DynString& value) {
    settings_store().put(section.c_str(), key.c_str(), value.c_str());
}

}  // namespace vexel
