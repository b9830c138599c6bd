// Internal: writing a file so that it is replaced whole or not at all. The bytes go to a new file
// in the same folder, which is renamed over the old one only once everything is on disk; a crash,
// a full disk or an unwritable folder leaves the old file as it was.
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

    bool open();  // creates the new file beside the target
    bool write(const void* bytes, size_t count);
    // Flushes the new file and renames it over the target (an empty directory of the target's
    // name is removed first). False leaves the target untouched.
    bool commit();

private:
    void discard();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace vexel
