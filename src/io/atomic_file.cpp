#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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
}

bool AtomicFile::open() {
    discard();
    if (target_.empty() || target_.back() == '/') return false;
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
            failed_ = false;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool AtomicFile::write(const void* bytes, size_t count) {
    if (fd_ < 0 || failed_) return false;
    const auto* data = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(fd_, data, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        data += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0 || failed_) {
        discard();
        return false;
    }
    const bool flushed = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed) {
        discard();
        return false;
    }
    if (is_directory(target_.c_str())) ::rmdir(target_.c_str());
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

}  // namespace vexel
