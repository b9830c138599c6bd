#include "io/file_stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "io/system_path.h"
#include "io/virtual_files.h"

namespace vexel {

namespace {

constexpr uint32_t kReadAheadSize = 64 * 1024;
// Disk lines are looked for in chunks of this size.
constexpr uint32_t kLineChunk = 64;

}  // namespace

bool held_by_a_stream(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

FileStream::~FileStream() {
    close();
}

void FileStream::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    memory_ = nullptr;
    memory_handle_ = 0;
    memory_owner_.reset();
    size_ = 0;
    position_ = 0;
    file_pointer_ = 0;
    read_ahead_length_ = 0;
}

bool FileStream::open_read(const char* name) {
    close();
    if (!name || !*name) return false;
    if (is_memory_name(name)) {
        MemoryBlock block;
        if (!find_memory_block(name, &block)) return false;
        memory_ = block.data;
        memory_handle_ = block.handle;
        memory_owner_ = std::move(block.owner);
        size_ = block.size;
        return true;
    }
    return open_disk(name, O_RDONLY);
}

bool FileStream::open_write(const char* name) {
    close();
    if (!name || !*name || is_memory_name(name)) return false;
    // A file in use is neither deleted nor replaced.
    if (held_by_a_stream(system_path(name))) return false;
    remove_name(name);
    return open_disk(name, O_RDWR | O_CREAT | O_TRUNC);
}

bool FileStream::open_append(const char* name) {
    close();
    if (!name || !*name || is_memory_name(name)) return false;
    if (!open_disk(name, O_WRONLY | O_CREAT)) return false;
    position_ = file_pointer_ = size_;
    return true;
}

bool FileStream::open_disk(const char* name, int flags) {
    const int fd = ::open(system_path(name).c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // Readers share the file with readers only; a writer holds it alone. Without this, one
    // stream's read-ahead would serve bytes that another stream has since overwritten.
    const int lock = (flags & O_ACCMODE) == O_RDONLY ? LOCK_SH : LOCK_EX;
    if (::flock(fd, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = info.st_size;
    return true;
}

bool FileStream::memory_readable() const {
    // A borrowed block can be withdrawn while the stream is open; an owned one cannot.
    return memory_owner_ || memory_block_registered(memory_handle_);
}

uint32_t FileStream::read_disk(uint8_t* buffer, uint32_t n) {
    uint32_t got = 0;
    while (got < n) {
        const int64_t ahead_end = read_ahead_start_ + read_ahead_length_;
        if (file_pointer_ >= read_ahead_start_ && file_pointer_ < ahead_end) {
            const auto count =
                static_cast<uint32_t>(std::min<int64_t>(ahead_end - file_pointer_, n - got));
            std::memcpy(buffer + got, read_ahead_.data() + (file_pointer_ - read_ahead_start_),
                        count);
            got += count;
            file_pointer_ += count;
            continue;
        }
        const uint32_t wanted = n - got;
        const bool direct = wanted >= kReadAheadSize;
        if (!direct && read_ahead_.empty()) read_ahead_.resize(kReadAheadSize);
        uint8_t* target = direct ? buffer + got : read_ahead_.data();
        ssize_t arrived;
        do {
            arrived = ::pread(fd_, target, direct ? wanted : kReadAheadSize, file_pointer_);
        } while (arrived < 0 && errno == EINTR);
        if (arrived <= 0) break;
        if (direct) {
            got += static_cast<uint32_t>(arrived);
            file_pointer_ += arrived;
        } else {
            read_ahead_start_ = file_pointer_;
            read_ahead_length_ = static_cast<uint32_t>(arrived);
        }
    }
    return got;
}

bool FileStream::read(void* buffer, uint32_t n) {
    if (fd_ >= 0) {
        // The position saturates rather than wrap after a seek far past the end.
        if (__builtin_add_overflow(position_, int64_t{n}, &position_)) position_ = INT64_MAX;
        return read_disk(static_cast<uint8_t*>(buffer), n) == n;
    }
    if (!memory_ || !memory_readable()) return false;
    if (position_ < 0 || position_ > size_) return false;
    const auto count = static_cast<uint32_t>(std::min<int64_t>(n, size_ - position_));
    std::memcpy(buffer, memory_ + position_, count);
    position_ += count;
    return true;
}

bool FileStream::read_line(char* line, uint32_t* length) {
    *length = 0;
    line[0] = 0;
    if (fd_ >= 0) return read_disk_line(line, length);
    if (memory_) return read_memory_line(line, length);
    return false;
}

bool FileStream::read_disk_line(char* line, uint32_t* length) {
    const int64_t start = file_pointer_;
    uint32_t total = 0;
    bool line_feed = false;
    while (total < kLineLimit) {
        const uint32_t wanted = std::min(kLineChunk, kLineLimit - total);
        const uint32_t got = read_disk(reinterpret_cast<uint8_t*>(line) + total, wanted);
        if (const void* found = std::memchr(line + total, '\n', got)) {
            total = static_cast<uint32_t>(static_cast<const char*>(found) - line);
            line_feed = true;
            break;
        }
        total += got;
        if (got < wanted) {
            // The end of the data stands in for a line feed one past the last byte.
            if (total == 0) return false;
            line_feed = true;
            break;
        }
    }
    file_pointer_ = start + total + (line_feed ? 1 : 0);
    position_ = file_pointer_;
    if (line_feed && total > 0 && line[total - 1] == '\r') --total;
    line[total] = 0;
    *length = total;
    return true;
}

bool FileStream::read_memory_line(char* line, uint32_t* length) {
    if (!memory_readable() || position_ < 0 || position_ >= size_) return false;
    const uint8_t* start = memory_ + position_;
    const int64_t left = size_ - position_;
    const auto span = static_cast<uint32_t>(std::min<int64_t>(left, kLineLimit));
    uint32_t total = span;
    bool line_end = left < kLineLimit;
    if (const void* found = std::memchr(start, '\n', span)) {
        total = static_cast<uint32_t>(static_cast<const uint8_t*>(found) - start);
        position_ += total + 1;
        line_end = true;
    } else {
        position_ += total;
    }
    std::memcpy(line, start, total);
    if (line_end && total > 0 && line[total - 1] == '\r') --total;
    line[total] = 0;
    *length = total;
    return true;
}

bool FileStream::write(const void* bytes, uint32_t n) {
    if (fd_ < 0) return false;
    read_ahead_length_ = 0;
    const auto* data = static_cast<const uint8_t*>(bytes);
    uint32_t written = 0;
    while (written < n) {
        const ssize_t count = ::pwrite(fd_, data + written, n - written, file_pointer_);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += static_cast<uint32_t>(count);
        file_pointer_ += count;
    }
    position_ += written;
    return written == n;
}

int64_t FileStream::seek(int64_t offset, int whence) {
    if (fd_ < 0 && !memory_) return 0;
    // A move whose target no 64-bit offset can name is refused and moves nothing.
    int64_t position = offset;
    if (whence != 0 && __builtin_add_overflow(whence < 0 ? size_ : position_, offset, &position)) {
        return fd_ >= 0 ? -1 : 0;
    }
    if (fd_ >= 0) {
        int64_t target = offset;
        if (whence < 0) {
            struct stat info;
            if (::fstat(fd_, &info) != 0) return -1;
            if (__builtin_add_overflow(int64_t{info.st_size}, offset, &target)) return -1;
        } else if (whence > 0 && __builtin_add_overflow(file_pointer_, offset, &target)) {
            return -1;
        }
        if (target < 0) return -1;
        file_pointer_ = target;
    }
    position_ = position;
    return fd_ >= 0 ? file_pointer_ : 0;
}

int64_t FileStream::size_of() const {
    if (fd_ >= 0) {
        struct stat info;
        return ::fstat(fd_, &info) == 0 ? info.st_size : 0;
    }
    return memory_ ? size_ : 0;
}

}  // namespace vexel
