// Internal: FileStream, the one reader/writer over a disk file or a registered memory block that
// every loader and the script's file channels use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vexel {

// Longest line read_line returns; longer lines come in pieces of this size.
inline constexpr uint32_t kLineLimit = 1024;

// A disk stream keeps its file shared with nobody while it is open: a stream that writes holds
// it alone, and streams that read share it only with each other (the engine locks the file).
// True when an open stream holds the file at path (a system path) so.
bool held_by_a_stream(const std::string& path);

class FileStream {
public:
    FileStream() = default;
    ~FileStream();
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Closes the stream first. An empty name fails; a "mem://" name opens the registered block;
    // any other name opens an existing disk file that is not a directory and that no stream
    // holds open for writing.
    bool open_read(const char* name);
    // Creates the file anew for reading and writing (an empty directory of that name is
    // removed first). "mem://" names fail, and so does a file another stream holds open.
    bool open_write(const char* name);
    // Opens or creates the file for writing and moves to its end. "mem://" names fail, and so
    // does a file another stream holds open.
    bool open_append(const char* name);

    // Disk: position moves by n first, success only when all n bytes arrived. Memory: copies
    // what is left up to n bytes (none at the very end is a success); fails before the start or
    // past the end. The buffer keeps zeros where nothing arrived only if the caller zeroed it.
    bool read(void* buffer, uint32_t n);
    // One line into line[kLineLimit + 1] without its line feed and a carriage return before it;
    // a last line without a line feed counts. False, with *length 0, when no byte is left.
    bool read_line(char* line, uint32_t* length);
    // Disk only: true when all n bytes were written. Memory and closed streams fail.
    bool write(const void* bytes, uint32_t n);
    // whence < 0 from the size measured at open, > 0 from the current position, 0 from the
    // start. Disk: the platform position afterwards (-1 when the platform refuses the move);
    // memory: only the position moves and 0 is returned; closed: nothing moves, 0.
    int64_t seek(int64_t offset, int whence);
    // The disk file's size now; the block's size; 0 when closed.
    int64_t size_of() const;
    void close();

    bool is_open() const { return fd_ >= 0 || memory_ != nullptr; }
    bool is_memory() const { return memory_ != nullptr; }
    int64_t size() const { return size_; }          // as measured when opened
    int64_t position() const { return position_; }  // the engine's own read/write offset

private:
    bool open_disk(const char* name, int flags);
    bool memory_readable() const;
    uint32_t read_disk(uint8_t* buffer, uint32_t n);
    bool read_disk_line(char* line, uint32_t* length);
    bool read_memory_line(char* line, uint32_t* length);

    int fd_ = -1;
    const uint8_t* memory_ = nullptr;
    uint32_t memory_handle_ = 0;
    std::shared_ptr<const void> memory_owner_;
    int64_t size_ = 0;
    int64_t position_ = 0;

    // Disk streams read ahead: the platform file pointer is kept here and every transfer names
    // its offset, so what the script sees is exactly what unbuffered reads would give.
    int64_t file_pointer_ = 0;
    std::vector<uint8_t> read_ahead_;
    int64_t read_ahead_start_ = 0;
    uint32_t read_ahead_length_ = 0;
};

}  // namespace vexel
