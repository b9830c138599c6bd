#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/file_stream.h"
#include "io/system_path.h"

namespace vexel {

namespace {

constexpr int kNameAttempts = 100;
constexpr size_t kBaseLimit = 200;

}  // namespace

AtomicFile::AtomicFile(const char* name) : target_(system_path(name)) {}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    // A file written in place and not committed holds only part of its text.
    if (in_place_) ::unlink(target_.c_str());
    in_place_ = false;
}

void AtomicFile::fail(int error) {
    if (error_ == 0) error_ = error;
}

bool AtomicFile::open() {
    discard();
    error_ = 0;
    if (target_.empty() || target_.back() == '/') {
        fail(EINVAL);
        return false;
    }
    if (held_by_a_stream(target_)) {
        fail(EBUSY);
        return false;
    }
    if (open_beside()) return true;
    const int fd = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        fail(errno);
        return false;
    }
    fd_ = fd;
    in_place_ = true;
    return true;
}

bool AtomicFile::open_beside() {
    const size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
    // Cut long names so that the temporary one stays within the system's limit.
    const std::string base =
        (slash == std::string::npos ? target_ : target_.substr(slash + 1)).substr(0, kBaseLimit);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%d.%u.tmp", static_cast<int>(::getpid()), counter++);
        std::string candidate = folder + "." + base + suffix;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // The replacement keeps the permissions the old file had.
            struct stat old_file;
            if (::stat(target_.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)) {
                ::fchmod(fd, old_file.st_mode & 07777);
            }
            fd_ = fd;
            temp_ = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool AtomicFile::write(const void* bytes, size_t count) {
    if (fd_ < 0 || error_ != 0) return false;
    const auto* data = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(fd_, data, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            fail(written < 0 ? errno : ENOSPC);
            return false;
        }
        data += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0 || error_ != 0) {
        discard();
        return false;
    }
    if (::fsync(fd_) != 0) fail(errno);
    if (::close(fd_) != 0) fail(errno);
    fd_ = -1;
    if (error_ != 0) {
        discard();
        return false;
    }
    if (in_place_) {
        in_place_ = false;
        return true;
    }
    if (is_directory(target_.c_str())) ::rmdir(target_.c_str());
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail(errno);
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

std::string AtomicFile::failure_reason() const {
    switch (error_) {
        case 0:
            return "no failure";
        case ENOENT:
        case ENOTDIR:
            return "folder not found";
        case EACCES:
        case EPERM:
            return "permission denied";
        case EROFS:
            return "read-only file system";
        case ENOSPC:
        case EDQUOT:
            return "disk full";
        case EISDIR:
        case ENOTEMPTY:
            return "a folder has that name";
        case EBUSY:
            return "open in a file channel";
        case EINVAL:
            return "not a file name";
        default:
            return std::strerror(error_);
    }
}

}  // namespace vexel
