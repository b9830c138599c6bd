#include "support/game_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vexel::testing {

GameRun run_game_process(const std::string& program, const Environment& variables) {
    GameRun result;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return result;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipe_ends[1], STDOUT_FILENO);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        setenv("VEXEL_VIDEO", "offscreen", 1);
        setenv("VEXEL_AUDIO", "null", 1);
        setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
        // In sanitizer builds: the GL driver keeps the code it builds for the whole run, and the
        // engine's own memory is leak-checked by the unit tests.
        setenv("LSAN_OPTIONS", "detect_leaks=0", 1);
        for (const auto& [name, value] : variables)
            setenv(name.c_str(), value.c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_ends[1]);
    char block[4096];
    ssize_t got = 0;
    while ((got = read(pipe_ends[0], block, sizeof block)) > 0)
        result.output.append(block, static_cast<size_t>(got));
    close(pipe_ends[0]);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exit_code = WEXITSTATUS(status);
    return result;
}

std::string log_after_start_up(const std::string& log) {
    constexpr char kStarted[] = "Init Finalized\n";
    const size_t started = log.find(kStarted);
    return started == std::string::npos ? std::string() : log.substr(started + sizeof kStarted - 1);
}

}  // namespace vexel::testing
