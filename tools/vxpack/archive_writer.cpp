#include "archive_writer.h"

#include <lzo/lzo1x.h>

#include <cstring>

namespace vxpack {

namespace {

constexpr uint32_t kMaxEntrySize = 1u << 30;
constexpr uint32_t kTrailerSize = 7;

void put_32(std::vector<uint8_t>* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool valid_name(const std::string& name, std::string* error) {
    if (name.empty() || name.size() > 255) {
        *error = "entry name must be 1 to 255 bytes: \"" + name + "\"";
        return false;
    }
    if (name.find_first_of(std::string("/\\\0", 3)) != std::string::npos || name == "..") {
        *error = "entry name may not hold '/' or '\\', nor be \"..\": \"" + name + "\"";
        return false;
    }
    return true;
}

// strcasecmp without the C locale: entries are looked up with ASCII letters folded.
bool same_name(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace

bool build_archive(const std::vector<uint8_t>& base, const std::vector<Entry>& entries,
                   std::vector<uint8_t>* out, std::string* error) {
    if (lzo_init() != LZO_E_OK) {
        *error = "the LZO library could not start";
        return false;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!valid_name(entries[i].name, error)) return false;
        if (entries[i].bytes.size() > kMaxEntrySize) {
            *error = "entry larger than 1 GiB: \"" + entries[i].name + "\"";
            return false;
        }
        for (size_t j = 0; j < i; ++j) {
            if (same_name(entries[i].name, entries[j].name)) {
                *error = "two entries named \"" + entries[i].name + "\" (case is ignored)";
                return false;
            }
        }
    }

    const bool appended = !base.empty();
    std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
    std::vector<int64_t> data_starts;
    std::vector<uint32_t> stored_sizes;
    *out = base;
    for (const Entry& entry : entries) {
        const size_t size = entry.bytes.size();
        std::vector<uint8_t> packed(size + size / 16 + 64 + 3);
        lzo_uint packed_size = 0;
        static const uint8_t kNothing = 0;
        const uint8_t* source = size ? entry.bytes.data() : &kNothing;
        if (lzo1x_1_compress(source, size, packed.data(), &packed_size, work.data()) != LZO_E_OK) {
            *error = "compression failed for \"" + entry.name + "\"";
            return false;
        }
        data_starts.push_back(static_cast<int64_t>(out->size()));
        stored_sizes.push_back(static_cast<uint32_t>(packed_size + 4));
        put_32(out, static_cast<uint32_t>(size));
        out->insert(out->end(), packed.begin(), packed.begin() + static_cast<long>(packed_size));
    }

    const int64_t directory_start = static_cast<int64_t>(out->size());
    int64_t directory_size = 1;
    for (const Entry& entry : entries)
        directory_size += 1 + entry.name.size() + 8;
    const int64_t total = directory_start + directory_size + kTrailerSize;
    if (total > INT32_MAX) {
        *error = "the archive would pass 2 GiB, beyond what its offsets can address";
        return false;
    }
    // Appended to a program, offsets count back from the end of the file.
    const int64_t origin = appended ? total : 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        out->push_back(static_cast<uint8_t>(entries[i].name.size()));
        out->insert(out->end(), entries[i].name.begin(), entries[i].name.end());
        put_32(out, static_cast<uint32_t>(static_cast<int32_t>(data_starts[i] - origin)));
        put_32(out, stored_sizes[i]);
    }
    out->push_back(0);
    out->insert(out->end(), {'v', 'o', 'V'});
    put_32(out, static_cast<uint32_t>(static_cast<int32_t>(directory_start - origin)));
    return true;
}

}  // namespace vxpack
