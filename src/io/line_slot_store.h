// Internal: the line-slot store, one text file at a time seen as 256 numbered lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexel {

inline constexpr int32_t kLineSlotCount = 256;
inline constexpr uint32_t kLineSlotBytes = 1024;  // with the terminating zero

class LineSlotStore {
public:
    LineSlotStore();
    ~LineSlotStore();  // the last write-back, at process exit
    LineSlotStore(const LineSlotStore&) = delete;
    LineSlotStore& operator=(const LineSlotStore&) = delete;

    // Makes the named file the current one (writing back the previous one when it changed).
    // False, with last error 3, when the file cannot be read.
    bool load(const char* name);
    void put(int32_t index, const char* text);
    const std::string& slot(int32_t index) const { return slots_[static_cast<size_t>(index)]; }
    // Writes the file when it changed and has a disk name; false when that write failed.
    bool write_back();

private:
    std::string file_name_;
    std::vector<std::string> slots_;
    int32_t last_slot_ = 0;
    bool dirty_ = false;
    bool unreadable_ = false;  // the current file could not be read and nothing was put since
};

LineSlotStore& line_slot_store();  // created on first use, lives until process exit
void write_back_line_slots();      // when the store exists and changed

}  // namespace vexel
