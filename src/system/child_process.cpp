#include "system/child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

namespace vexel::system {

namespace {

// What posix_spawnp searches when PATH is not set.
constexpr const char* kDefaultSearchPath = "/bin:/usr/bin";

// Descriptors 0, 1 and 2 stay; everything from here up is closed in the child.
constexpr int kFirstPrivateDescriptor = 3;

int32_t exit_code_of(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

}  // namespace

pid_t spawn_program(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty()) return -1;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    // Better no child than one holding the engine's files and sockets.
    if (posix_spawn_file_actions_addclosefrom_np(&actions, kFirstPrivateDescriptor) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }

    // Signals the engine ignores or blocks must not stay ignored or blocked in another program.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t nothing;
    sigemptyset(&nothing);
    sigset_t everything;
    sigfillset(&everything);
    posix_spawnattr_setsigmask(&attributes, &nothing);
    posix_spawnattr_setsigdefault(&attributes, &everything);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = -1;
    const int result =
        posix_spawnp(&child, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? child : -1;
}

std::optional<int32_t> wait_for_exit(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return std::nullopt;
    }
    return exit_code_of(status);
}

void reap_when_done(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child is reaped by the system when the engine ends.
    }
}

bool found_on_path(const std::string& program) {
    if (program.empty()) return false;
    if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
    const char* env = std::getenv("PATH");
    std::string_view folders = env ? env : kDefaultSearchPath;
    for (;;) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        std::string candidate(folder.empty() ? std::string_view(".") : folder);
        candidate.append("/").append(program);
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return true;
        if (colon == std::string_view::npos) return false;
        folders.remove_prefix(colon + 1);
    }
}

}  // namespace vexel::system
