// Internal: writing a file so that it is replaced whole or not at all. The bytes go to a new file
// in the same folder, which is renamed over the old one only once everything is on disk; a crash,
// a full disk or a failed write leaves the old file as it was. In a folder where no new file can
// be made (one the user may not write, though the file itself is writable) the file is written
// in place instead, so that it is still updated.
#pragma once

#include <cstddef>
#include <string>

namespace vexel {

class AtomicFile {
public:
    explicit AtomicFile(const char* name);  // the file to replace (slashes converted)
    ~AtomicFile();                          // without commit, the new file is discarded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the new file beside the target, or opens the target itself when that cannot be
    // done. Fails while a file stream holds the target open.
    bool open();
    bool write(const void* bytes, size_t count);
    // Flushes the new file and renames it over the target (an empty directory of the target's
    // name is removed first). False leaves the target untouched, except after writing in place:
    // then a file that could not be written whole is deleted when the folder allows it.
    bool commit();

    bool writes_in_place() const { return in_place_; }
    // Why open, write or commit failed, in plain words ("folder not found", "disk full", ...).
    std::string failure_reason() const;

private:
    bool open_beside();
    void discard();
    void fail(int error);

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    int error_ = 0;  // errno of the first failure, 0 while none
    bool in_place_ = false;
};

}  // namespace vexel
