// The tile scene head-less at full speed (VEXEL_FIXED_FRAME_MS=0, so the limiter never waits):
// the game runs twice as a child process, for 10 and for 610 frames of its loop, and the
// difference gives the cost of 600 frames without start-up. Prints frames per second and the
// CPU milliseconds per frame the game used. The last frame of each run is captured, which reads
// the back buffer back and so waits for the drawing to finish before the clock is read.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kFrames = 600;
constexpr int kShortRun = 10;
constexpr int kModeChangePresents = 5;  // set_screen presents five times before the loop starts

struct RunCost {
    double wall_ms = 0;
    double cpu_ms = 0;
    bool ok = false;
};

double to_ms(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
}

RunCost run_scene(const std::string& folder, int loop_frames) {
    const int presents = kModeChangePresents + loop_frames;
    const std::string capture = std::to_string(presents) + ":" + folder + "/last.png";
    setenv("VEXEL_MAX_FRAMES", std::to_string(presents).c_str(), 1);
    setenv("VEXEL_CAPTURE", capture.c_str(), 1);
    RunCost cost;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return cost;
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDOUT_FILENO);
        execl(VEXEL_TILE_SCENE_EXE, VEXEL_TILE_SCENE_EXE, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return cost;
    cost.wall_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cost.cpu_ms = to_ms(usage.ru_utime) + to_ms(usage.ru_stime);
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

}  // namespace

int main() {
    std::string temp = "/tmp/vexel-scene-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);
    setenv("VEXEL_VIDEO", "offscreen", 0);
    setenv("VEXEL_FIXED_FRAME_MS", "0", 1);

    const RunCost short_run = run_scene(temp, kShortRun);
    const RunCost long_run = run_scene(temp, kShortRun + kFrames);
    std::remove((temp + "/last.png").c_str());
    std::remove((temp + "/ErrorLog.txt").c_str());
    std::remove(temp.c_str());
    if (!short_run.ok || !long_run.ok) {
        std::fprintf(stderr, "the tile scene did not run to its frame limit\n");
        return 1;
    }
    const double frame_ms = (long_run.wall_ms - short_run.wall_ms) / kFrames;
    const double cpu_frame_ms = (long_run.cpu_ms - short_run.cpu_ms) / kFrames;
    std::printf("frames measured:          %d (runs of %d and %d loop frames)\n", kFrames,
                kShortRun, kShortRun + kFrames);
    std::printf("start-up and %2d frames:   %.1f ms wall, %.1f ms CPU\n", kShortRun,
                short_run.wall_ms, short_run.cpu_ms);
    std::printf("frames per second:        %.1f\n", frame_ms > 0 ? 1000.0 / frame_ms : 0.0);
    std::printf("wall time per frame:      %.3f ms\n", frame_ms);
    std::printf("CPU time per frame:       %.3f ms (all threads of the game, driver included)\n",
                cpu_frame_ms);
    return 0;
}
