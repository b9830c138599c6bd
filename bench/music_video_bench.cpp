// Music and video start-up and playback cost, head-less, with mpv's null audio output:
//   - play_music until mpv's "time-pos" is above 0 (the first sample has gone out), 10 runs;
//   - play_video until the first frame is presented, 10 runs;
//   - CPU time per second of playback of a 640 x 480 video in a 1024 x 768 window, against the
//     same file decoded by libmpv with no video and no audio output in this process, and by the
//     `mpv --vo=null --ao=null` program when it is installed; the runs alternate.
// The 640 x 480 clip (4 s of a moving test pattern with a tone) is made with ffmpeg at start.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <mpv/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <vexel/vexel.h>

#include "platform/event_injection.h"
#include "platform/opengl_duderedi.h"
#include "platform/window.h"
#include "sound/music_player.h"
#include "sound/video_player.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartRuns = 10;
constexpr int kPlaybackRuns = 3;
constexpr double kClipSeconds = 4;

double cpu_seconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool make_clip(const std::string& file) {
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=s=640x480:r=25:d=4 "
        "-f lavfi -i sine=frequency=440:duration=4 -c:v libvpx -b:v 1M -c:a libvorbis " +
        file;
    return std::system(command.c_str()) == 0;
}

double music_start_ms(const vexel::DynString& piece) {
    const Clock::time_point start = Clock::now();
    vexel::play_music(piece, 0);
    vexel::MusicPlayer& music = vexel::music_player();
    while (music.loaded && music.player->number_property("time-pos") <= 0 && ms_since(start) < 5000)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double elapsed = ms_since(start);
    vexel::stop_music();
    return elapsed;
}

Clock::time_point g_video_start;
double g_first_frame_ms = -1;

// The first frame is about to be shown: note the time and stop the video.
void first_frame_seen() {
    if (g_first_frame_ms >= 0) return;
    g_first_frame_ms = ms_since(g_video_start);
    vexel::platform::inject_text(
        vexel::platform::window_id(vexel::platform::opengl_duderedi()->window), "x");
}

double video_start_ms(const vexel::DynString& clip) {
    g_first_frame_ms = -1;
    vexel::set_video_frame_observer(first_frame_seen);
    g_video_start = Clock::now();
    vexel::play_video(clip, 0);
    vexel::set_video_frame_observer(nullptr);
    vexel::show_screen();
    return g_first_frame_ms;
}

// CPU seconds per second of playback.
double engine_video_cpu(const vexel::DynString& clip) {
    const double cpu = cpu_seconds(RUSAGE_SELF);
    const Clock::time_point start = Clock::now();
    vexel::play_video(clip, 0);
    const double wall = ms_since(start) / 1000;
    return (cpu_seconds(RUSAGE_SELF) - cpu) / wall;
}

// The same file through libmpv with no video and no audio output: decoding and timing only.
double null_output_cpu(const std::string& clip) {
    mpv_handle* mpv = mpv_create();
    mpv_set_option_string(mpv, "vo", "null");
    mpv_set_option_string(mpv, "ao", "null");
    mpv_set_option_string(mpv, "idle", "no");
    mpv_initialize(mpv);
    const double cpu = cpu_seconds(RUSAGE_SELF);
    const Clock::time_point start = Clock::now();
    const char* args[] = {"loadfile", clip.c_str(), nullptr};
    mpv_command(mpv, args);
    while (mpv_wait_event(mpv, 10)->event_id != MPV_EVENT_SHUTDOWN) {
    }
    const double wall = ms_since(start) / 1000;
    const double used = cpu_seconds(RUSAGE_SELF) - cpu;
    mpv_terminate_destroy(mpv);
    return used / wall;
}

// The mpv program on the same file; negative when it is not installed.
double mpv_program_cpu(const std::string& clip) {
    if (std::system("command -v mpv >/dev/null 2>&1") != 0) return -1;
    const double cpu = cpu_seconds(RUSAGE_CHILDREN);
    const Clock::time_point start = Clock::now();
    const std::string command = "mpv --no-config --really-quiet --vo=null --ao=null " + clip;
    if (std::system(command.c_str()) != 0) return -1;
    const double wall = ms_since(start) / 1000;
    return (cpu_seconds(RUSAGE_CHILDREN) - cpu) / wall;
}

}  // namespace

int main() {
    setenv("VEXEL_VIDEO", "offscreen", 0);
    setenv("VEXEL_AUDIO", "null", 0);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);
    const std::string big_clip = temp + "/pattern_640x480.webm";
    if (!make_clip(big_clip)) {
        std::printf("ffmpeg could not make the 640 x 480 clip; nothing measured\n");
        return 1;
    }
    const vexel::DynString piece(VEXEL_SOURCE_DIR "/tests/data/music_tone.ogg");
    const vexel::DynString small_clip(VEXEL_SOURCE_DIR "/tests/data/video_red_green.webm");

    vexel::project_settings().width = 1024;
    vexel::project_settings().height = 768;
    vexel::init_engine(1, "music and video");

    std::vector<double> music;
    std::vector<double> video;
    for (int i = 0; i < kStartRuns; ++i) {
        music.push_back(music_start_ms(piece));
        video.push_back(video_start_ms(small_clip));
    }
    std::printf(
        "play_music to first sample out: median %.1f ms, first call %.1f ms (makes the "
        "player)\n",
        median(music), music.front());
    std::printf("play_video to first frame shown: median %.1f ms, min %.1f ms\n", median(video),
                *std::min_element(video.begin(), video.end()));

    std::vector<double> engine;
    std::vector<double> null_output;
    std::vector<double> program;
    const vexel::DynString big(big_clip.c_str());
    for (int i = 0; i < kPlaybackRuns; ++i) {
        engine.push_back(engine_video_cpu(big));
        null_output.push_back(null_output_cpu(big_clip));
        if (const double p = mpv_program_cpu(big_clip); p >= 0) program.push_back(p);
    }
    vexel::shutdown_engine();

    std::printf("CPU per second of a %.0f s 640 x 480 video (median of %d alternating runs):\n",
                kClipSeconds, kPlaybackRuns);
    std::printf("  play_video in 1024 x 768:           %.3f s\n", median(engine));
    std::printf("  libmpv, no video or audio output:   %.3f s   (play_video %.2fx)\n",
                median(null_output), median(engine) / median(null_output));
    if (!program.empty()) {
        std::printf("  mpv --vo=null --ao=null (program): %.3f s   (play_video %.2fx)\n",
                    median(program), median(engine) / median(program));
    }
    return 0;
}
