// web_fetch_to_file of a 50 MB file from Python's web server on 127.0.0.1 against curl fetching
// the same file to disk. The two alternate round by round (ABBA order) against the one server;
// medians are compared. curl's wall time includes starting the program, so its own transfer
// time (-w %{time_total}) is shown as well. Needs python3 and curl; says so when one is missing.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <vexel/error.h>
#include <vexel/net.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kFileSize = 50u << 20;
constexpr int kRounds = 8;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

off_t size_of(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

// Python's server in a process group of its own, ended with the group.
pid_t start_server(const std::string& folder, int32_t port) {
    const std::string port_text = std::to_string(port);
    const char* argv[] = {"python3",         "-m",          "http.server",  "--bind", "127.0.0.1",
                          port_text.c_str(), "--directory", folder.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, "python3", &actions, &attributes, const_cast<char**>(argv), environ) !=
        0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

// A port nothing was bound to a moment ago.
int32_t free_port() {
    vexel::socket_init();
    const int32_t listener = vexel::tcp_listen(0);
    const int32_t port = vexel::socket_remote_port(listener);
    vexel::socket_shutdown();
    return port;
}

bool wait_until_listening(int32_t port) {
    vexel::socket_init();
    const auto give_up = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < give_up) {
        const int32_t probe = vexel::tcp_connect("127.0.0.1", port, 200);
        if (probe >= 0) {
            vexel::socket_close(probe);
            vexel::socket_shutdown();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    vexel::socket_shutdown();
    return false;
}

// curl's own transfer time, or a negative value when it failed.
double curl_fetch(const std::string& url, const std::string& file) {
    const std::string command = "curl -s -o '" + file + "' -w '%{time_total}' '" + url + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    double seconds = -1;
    if (std::fscanf(pipe, "%lf", &seconds) != 1) seconds = -1;
    return ::pclose(pipe) == 0 ? seconds : -1;
}

}  // namespace

int main() {
    if (std::system("python3 -c 'import http.server' >/dev/null 2>&1") != 0 ||
        std::system("curl --version >/dev/null 2>&1") != 0) {
        std::printf("web_fetch_bench: needs python3 and curl; not run\n");
        return 0;
    }
    const std::string folder = std::string(vexel::temp_folder()) + "vexel_web_fetch_bench_" +
                               std::to_string(::getpid()) + "/";
    ::mkdir(folder.c_str(), 0777);
    const std::string served = folder + "data.bin";
    {
        std::string content(kFileSize, ' ');
        unsigned seed = 1;
        for (char& c : content) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(seed >> 24);
        }
        std::ofstream(served, std::ios::binary) << content;
    }
    const int32_t port = free_port();
    const pid_t server = start_server(folder, port);
    if (server <= 0 || !wait_until_listening(port)) {
        std::fprintf(stderr, "the Python server did not start on port %d\n", port);
        if (server > 0) ::kill(-server, SIGTERM);
        return 1;
    }

    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/data.bin";
    const std::string engine_file = folder + "engine.bin";
    const std::string curl_file = folder + "curl.bin";
    std::vector<double> engine_wall, curl_wall, curl_own;
    bool all_complete = true;
    for (int round = 0; round < kRounds; ++round) {
        const bool engine_first = round % 4 == 0 || round % 4 == 3;
        for (int turn = 0; turn < 2; ++turn) {
            const auto start = Clock::now();
            if ((turn == 0) == engine_first) {
                const int32_t ok = vexel::web_fetch_to_file("127.0.0.1", "/data.bin", port,
                                                            engine_file.c_str(), 2000);
                engine_wall.push_back(seconds_since(start));
                all_complete = all_complete && ok == 1 && size_of(engine_file) == kFileSize;
            } else {
                const double own = curl_fetch(url, curl_file);
                curl_wall.push_back(seconds_since(start));
                curl_own.push_back(own);
                all_complete = all_complete && own > 0 && size_of(curl_file) == kFileSize;
            }
        }
    }
    ::kill(-server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    std::remove(served.c_str());
    std::remove(engine_file.c_str());
    std::remove(curl_file.c_str());
    ::rmdir(folder.c_str());

    const double megabytes = static_cast<double>(kFileSize) / (1 << 20);
    const double engine = megabytes / median(engine_wall);
    const double curl = megabytes / median(curl_wall);
    const double curl_transfer = megabytes / median(curl_own);
    std::printf("50 MB from python3 -m http.server on 127.0.0.1, median of %d rounds each\n",
                kRounds);
    std::printf("  web_fetch_to_file            %7.0f MB/s\n", engine);
    std::printf("  curl -o (wall, with start)   %7.0f MB/s   ratio %.2f\n", curl, engine / curl);
    std::printf("  curl -o (its own time_total) %7.0f MB/s   ratio %.2f\n", curl_transfer,
                engine / curl_transfer);
    if (!all_complete) {
        std::printf("  SOME FETCHES WERE INCOMPLETE\n");
        return 1;
    }
    return 0;
}
