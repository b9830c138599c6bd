// Frame pacing of the present step: 600 frames of an empty loop at 60 frames per second.
// Prints the median frame interval, the 99th-percentile deviation from 16.667 ms and the CPU
// time the process used per frame. Head-less unless VEXEL_VIDEO says otherwise.
#include <time.h>

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

}  // namespace

int main() {
    setenv("VEXEL_VIDEO", "offscreen", 0);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);

    vexel::project_settings().frame_rate = 60;
    vexel::init_engine(1, "frame pacing");
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
    vexel::shutdown_engine();

    std::vector<double> intervals;
    std::vector<double> deviations;
    for (size_t i = 1; i < stamps.size(); ++i) {
        intervals.push_back(stamps[i] - stamps[i - 1]);
        deviations.push_back(std::fabs(intervals.back() - kPeriod));
    }
    std::printf("frames presented:               %d at 60 fps\n", kFrames);
    std::printf("median frame interval:          %.3f ms\n", percentile(intervals, 0.5));
    std::printf("99th-percentile deviation:      %.3f ms from %.3f ms\n",
                percentile(deviations, 0.99), kPeriod);
    std::printf("longest frame interval:         %.3f ms\n", percentile(intervals, 1.0));
    std::printf("total time:                     %.1f ms\n", stamps.back() - stamps.front());
    std::printf("CPU time per frame:             %.3f ms\n", cpu_used / kFrames);
    std::string log = temp + "/ErrorLog.txt";
    std::remove(log.c_str());
    std::remove(temp.c_str());
    return 0;
}
