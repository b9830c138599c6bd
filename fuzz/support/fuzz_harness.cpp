#include "support/fuzz_harness.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <vexel/error.h>

namespace vexel {

// A loader fed hostile bytes returns its failure; it never ends the program. The harnesses never
// ask for what ends a game by design (a read past the data, a channel past its file), so
// reaching this is a finding.
void end_program() {
    fuzz::fail("a loader ended the program");
}

namespace fuzz {

namespace {

std::string& folder() {
    static std::string path;
    return path;
}

void remove_private_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
}

// A memory file system where there is one: settings and line slots sync each write-back to
// the disk, which would slow those harnesses a hundredfold.
std::string base_folder() {
    if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

}  // namespace

void enter_private_folder() {
    if (!folder().empty()) return;
    std::string pattern = base_folder() + "/vexel-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) fail("no private folder");
    folder() = pattern + "/";
    std::atexit(remove_private_folder);
    ::setenv("TMPDIR", pattern.c_str(), 1);
    ::mkdir((folder() + "ErrorLog.txt").c_str(), 0755);
}

const std::string& private_folder() {
    return folder();
}

void fail(const char* what) {
    std::fprintf(stderr, "vexel fuzz: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzz

}  // namespace vexel
