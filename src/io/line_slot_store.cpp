#include "io/line_slot_store.h"

#include <cstring>
#include <memory>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/settings.h>

#include "app/failure_report.h"
#include "io/atomic_file.h"
#include "io/file_stream.h"
#include "io/virtual_files.h"

namespace vexel {

namespace {

std::unique_ptr<LineSlotStore> g_store;

bool valid_index(int32_t index) {
    return index >= 0 && index < kLineSlotCount;
}

// A slot holds zero-terminated text of at most kLineSlotBytes - 1 bytes.
std::string slot_text(const char* text, size_t length) {
    const void* zero = std::memchr(text, 0, length);
    if (zero) length = static_cast<size_t>(static_cast<const char*>(zero) - text);
    return std::string(text, std::min<size_t>(length, kLineSlotBytes - 1));
}

// A slot of the full 1023 bytes is written back with CR LF: 1025 bytes, of which a line read
// takes 1024 (the CR is cut with the slot's limit). Its line feed still ends that line; left
// alone it would read as an empty slot and move every later slot one down.
void skip_line_feed(FileStream& stream) {
    const int64_t next = stream.position();
    char byte = 0;
    if (next < stream.size() && stream.read(&byte, 1) && byte == '\n') return;
    stream.seek(next, 0);
}

}  // namespace

LineSlotStore& line_slot_store() {
    if (!g_store) g_store = std::make_unique<LineSlotStore>();
    return *g_store;
}

void write_back_line_slots() {
    if (g_store) g_store->write_back();
}

LineSlotStore::LineSlotStore() : slots_(kLineSlotCount) {}

LineSlotStore::~LineSlotStore() {
    write_back();
}

bool LineSlotStore::write_back() {
    if (!dirty_ || file_name_.empty() || is_memory_name(file_name_.c_str())) return true;
    std::string text;
    for (int32_t i = 0; i <= last_slot_; ++i) {
        text += slots_[static_cast<size_t>(i)];
        text += "\r\n";
    }
    // A failed write is reported once; it is not tried again at exit.
    dirty_ = false;
    AtomicFile file(file_name_.c_str());
    if (file.open() && file.write(text.data(), text.size()) && file.commit()) return true;
    log_write_failure("put_file_line", file_name_, file.failure_reason());
    return false;
}

bool LineSlotStore::load(const char* name) {
    const std::string requested = name ? name : "";
    if (requested == file_name_) {
        if (!unreadable_) return true;
        set_error(3);
        return false;
    }
    if (!file_name_.empty()) write_back();
    for (std::string& slot : slots_)
        slot.clear();
    last_slot_ = 0;
    dirty_ = false;
    unreadable_ = false;
    file_name_ = requested;

    DynString resolved;
    FileStream stream;
    if (!resolve_name(requested.c_str(), resolved, true) || !stream.open_read(resolved.c_str())) {
        unreadable_ = true;
        set_error(3);
        return false;
    }
    char line[kLineLimit + 1];
    uint32_t length = 0;
    for (int32_t i = 0; i < kLineSlotCount && stream.read_line(line, &length); ++i) {
        slots_[static_cast<size_t>(i)] = slot_text(line, length);
        last_slot_ = i;
        if (length == kLineLimit) skip_line_feed(stream);
    }
    return true;
}

void LineSlotStore::put(int32_t index, const char* text) {
    slots_[static_cast<size_t>(index)] = slot_text(text, std::strlen(text));
    if (index > last_slot_) last_slot_ = index;
    dirty_ = true;
    unreadable_ = false;
}

int32_t put_file_line(const DynString& name, int32_t index, const DynString& text) {
    if (!valid_index(index)) {
        set_error(7);
        return 7;
    }
    LineSlotStore& store = line_slot_store();
    store.load(name.c_str());
    store.put(index, text.c_str());
    return 0;
}

int32_t put_file_line(const DynString& name, int32_t index, double value) {
    return put_file_line(name, index, number_to_text(value));
}

int32_t get_file_line(const DynString& name, int32_t index, DynString& target) {
    if (!valid_index(index)) {
        target = "NO_DATA";
        set_error(7);
        return 7;
    }
    LineSlotStore& store = line_slot_store();
    if (!store.load(name.c_str())) {
        target = "NO_FILE";
        return 0;
    }
    DynString text(store.slot(index).c_str());
    text.trim_control_tail();
    target = text.empty() ? DynString("NO_DATA") : std::move(text);
    return 0;
}

int32_t get_file_line(const DynString& name, int32_t index, double& target) {
    DynString text;
    const int32_t result = get_file_line(name, index, text);
    target = text_to_double(text);
    return result;
}

int32_t get_file_line(const DynString& name, int32_t index, int32_t& target) {
    DynString text;
    const int32_t result = get_file_line(name, index, text);
    target = text_to_int(text);
    return result;
}

}  // namespace vexel
