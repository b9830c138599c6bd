// Frame pacing of the present step: 600 frames of an empty loop at 60 frames per second on a
// quiet machine, then 600 more while two busy processes (started here, one per core of a
// two-core machine) compete for the cores. For each run: the median frame interval, the
// 99th-percentile deviation from 16.667 ms, the longest interval and the CPU time the process
// used per frame. Head-less unless VEXEL_VIDEO says otherwise.
// Usage: frame_pacing_bench [rounds]   (rounds of quiet and loaded runs, alternating; default 1)
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/vexel.h>

namespace {

constexpr int kFrames = 600;
constexpr int kWarmUpFrames = 10;
constexpr int kBusyProcesses = 2;
constexpr double kPeriod = 1000.0 / 60.0;

double cpu_ms() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(std::ceil(fraction * values.size())) - 1;
    return values[std::min(index, values.size() - 1)];
}

// A process that spins until it is killed (or its parent ends).
pid_t start_busy_process() {
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        volatile unsigned long spin = 0;
        for (;;)
            spin = spin + 1;
    }
    return pid;
}

void measure(const char* condition) {
    for (int i = 0; i < kWarmUpFrames; ++i)
        vexel::show_screen();
    std::vector<double> stamps;
    stamps.reserve(kFrames + 1);
    stamps.push_back(vexel::timer_ms());
    const double cpu_start = cpu_ms();
    for (int i = 0; i < kFrames; ++i) {
        vexel::show_screen();
        stamps.push_back(vexel::timer_ms());
    }
    const double cpu_used = cpu_ms() - cpu_start;

    std::vector<double> intervals;
    std::vector<double> deviations;
    for (size_t i = 1; i < stamps.size(); ++i) {
        intervals.push_back(stamps[i] - stamps[i - 1]);
        deviations.push_back(std::fabs(intervals.back() - kPeriod));
    }
    std::printf(
        "%-7s  median %7.3f ms  p99 deviation %6.3f ms  longest %7.3f ms  "
        "CPU per frame %6.3f ms\n",
        condition, percentile(intervals, 0.5), percentile(deviations, 0.99),
        percentile(intervals, 1.0), cpu_used / kFrames);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    setenv("VEXEL_VIDEO", "offscreen", 0);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);

    vexel::project_settings().frame_rate = 60;
    vexel::init_engine(1, "frame pacing");
    std::printf("%d frames at 60 fps per run; loaded: %d busy processes\n", kFrames,
                kBusyProcesses);
    for (int round = 0; round < rounds; ++round) {
        measure("quiet");
        std::vector<pid_t> busy;
        for (int i = 0; i < kBusyProcesses; ++i)
            busy.push_back(start_busy_process());
        measure("loaded");
        for (const pid_t pid : busy) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    vexel::shutdown_engine();

    std::string log = temp + "/ErrorLog.txt";
    std::remove(log.c_str());
    std::remove(temp.c_str());
    return 0;
}
