// Internal: the settings store, one INI-style file at a time.
#pragma once

#include <vector>

#include <vexel/dyn_string.h>

namespace vexel {

class SettingsStore {
public:
    SettingsStore() = default;
    ~SettingsStore();  // the last write-back, at process exit
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    void open(const char* name);
    DynString get(const char* section, const char* key, const char* default_value) const;
    void put(const char* section, const char* key, const char* value);
    // Writes the file when it changed and has a disk name; false when that write failed.
    bool write_back();

    const DynString& file_name() const { return file_name_; }

private:
    struct Pair {
        DynString key;
        DynString value;
    };
    struct Section {
        DynString name;
        std::vector<Pair> pairs;
    };

    void read(const char* name);
    void parse_line(const char* line, DynString& section_name, std::vector<Pair>& pairs);
    void store_section(DynString& name, std::vector<Pair>& pairs);
    Section* find_section(const char* name);
    bool write() const;

    std::vector<Section> sections_;
    DynString file_name_;
    bool dirty_ = false;
};

SettingsStore& settings_store();  // created on first use, lives until process exit
void write_back_settings();       // when the store exists and changed

}  // namespace vexel
