#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <vexel/net.h>

#include "net/http_fetch.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"
#include "support/text_bytes.h"

extern char** environ;

namespace vexel {
namespace {

using testing::bytes;
using testing::read_file;
using testing::ScopedTempDir;
using testing::ScriptedHttpServer;

constexpr char kHeader[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

TEST(HttpFetch, SendsTheRequestAndStoresTheBodyHoweverTheHeaderEnds) {
    const struct {
        std::vector<std::string> pieces;
        std::string body;
    } cases[] = {
        {{kHeader}, ""},
        {{"HTTP/1.0 200 OK\r\n", "\r\nsplit"}, "split"},
        {{"HTTP/1.0 200 OK\r\n\r", "\nsplit in the middle"}, "split in the middle"},
        {{"HTTP/1.0 200 OK\nX: y\n\nbare line feeds"}, "bare line feeds"},
        {{"HTTP/1.0 404 Not Found\r\n\r\n", "no such page"}, "no such page"},
        {{kHeader, std::string("binary\0\r\n\r\nbytes", 17)},
         std::string("binary\0\r\n\r\nbytes", 17)},
    };
    ScopedTempDir temp;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        ScriptedHttpServer server(c.pieces);
        const std::string file = temp.file("page.html");
        EXPECT_EQ(
            web_fetch_to_file("127.0.0.1", "/docs/page.html", server.port(), file.c_str(), 2000),
            1);
        EXPECT_EQ(read_file(file), c.body);
        EXPECT_EQ(server.finish(),
                  "GET /docs/page.html HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\n"
                  "User-Agent: Vexel\r\n\r\n");
    }
}

TEST(HttpFetch, TextStopsAtItsMaximumLengthAndAtAZeroByte) {
    const std::string body(5000, 'b');
    {
        ScriptedHttpServer server({kHeader, "0123456789abcdef", body});
        EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", server.port(), 10, 2000)),
                  "0123456789");
    }
    {
        ScriptedHttpServer server({kHeader, body});
        EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", server.port(), 100000, 2000)), body);
    }
    {
        ScriptedHttpServer server({kHeader, std::string("cut\0here", 8)});
        EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", server.port(), 100, 2000)), "cut");
    }
    {
        ScriptedHttpServer server({kHeader});
        EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", server.port(), 100, 2000)), "");
        EXPECT_TRUE(server.client_came());
    }
}

TEST(HttpFetch, AServerThatNeverClosesFailsAfterTheIdleLimitKeepingThePartialBody) {
    ScopedTempDir temp;
    ScriptedHttpServer server({kHeader, "partial"}, false);
    const std::string file = temp.file("partial.txt");
    net::HttpGet get;
    get.host = "127.0.0.1";
    get.path = "/";
    get.port = server.port();
    get.connect_timeout_ms = 2000;
    get.file = file.c_str();
    get.idle_limit_ms = 200;
    EXPECT_FALSE(net::http_get(get));
    EXPECT_EQ(socket_last_error(), 10060);
    EXPECT_EQ(read_file(file), "partial");
    // The failed fetch undid its own socket_init.
    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(socket_last_error(), 10093);
}

TEST(HttpFetch, FailuresBeforeAnyBodyGiveNothing) {
    ScopedTempDir temp;
    ScriptedHttpServer server({kHeader, "body"});
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/", server.port(), "mem://       4.       1", 2000),
              0);
    server.finish();
    EXPECT_FALSE(server.client_came());

    const int32_t closed_port = testing::unused_loopback_port();
    const std::string file = temp.file("refused.txt");
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/", closed_port, file.c_str(), 2000), 0);
    EXPECT_EQ(bytes(socket_error_text()), "10061 Connection refused");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", closed_port, 100, 2000)), "");
}

TEST(HttpFetch, OnlyAnEmptyDirectoryMakesWayForTheFile) {
    ScopedTempDir temp;
    namespace fs = std::filesystem;
    fs::create_directory(temp.file("empty"));
    fs::create_directory(temp.file("full"));
    testing::write_file(temp.file("full/keep.txt"), "kept");
    {
        ScriptedHttpServer server({kHeader, "page"});
        EXPECT_EQ(
            web_fetch_to_file("127.0.0.1", "/", server.port(), temp.file("empty").c_str(), 2000),
            1);
        EXPECT_EQ(read_file(temp.file("empty")), "page");
    }
    ScriptedHttpServer server({kHeader, "page"});
    std::string backslashed = temp.path() + "full";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/", server.port(), backslashed.c_str(), 2000), 0);
    EXPECT_EQ(read_file(temp.file("full/keep.txt")), "kept");
}

// A web server nobody here wrote: Python's, serving the test's folder.
class PythonHttpServer {
public:
    PythonHttpServer(const std::string& folder, int32_t port) {
        const std::string port_text = std::to_string(port);
        const char* argv[] = {"python3",     "-m",           "http.server",
                              "--bind",      "127.0.0.1",    port_text.c_str(),
                              "--directory", folder.c_str(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        // A group of its own, so that whatever the interpreter starts ends with it.
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        if (posix_spawnp(&pid_, "python3", &actions, &attributes, const_cast<char**>(argv),
                         environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    ~PythonHttpServer() {
        if (pid_ <= 0) return;
        ::kill(-pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    bool started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

bool python3_present() {
    return std::system("python3 -c 'import http.server' >/dev/null 2>&1") == 0;
}

TEST(HttpFetch, AMegabyteFromARealServerArrivesByteExact) {
    if (!python3_present()) GTEST_SKIP() << "python3 is not installed";
    ScopedTempDir temp;
    std::mt19937 random(16);
    std::string content(1 << 20, ' ');
    for (char& c : content)
        c = static_cast<char>(1 + random() % 255);  // no zero byte: the text form stops there
    std::filesystem::create_directory(temp.file("served"));
    testing::write_file(temp.file("served/data.bin"), content);

    const int32_t port = testing::unused_loopback_port();
    PythonHttpServer server(temp.file("served"), port);
    ASSERT_TRUE(server.started());
    socket_init();
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int32_t probe;
    while ((probe = tcp_connect("127.0.0.1", port, 200)) < 0 &&
           std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_GE(probe, 0) << "the Python server did not start";
    socket_close(probe);

    const std::string file = temp.file("fetched.bin");
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/data.bin", port, file.c_str(), 2000), 1);
    EXPECT_TRUE(read_file(file) == content);
    const DynString text = web_fetch_to_text("127.0.0.1", "/data.bin", port, 2 << 20, 2000);
    EXPECT_TRUE(bytes(text) == content);
}

}  // namespace
}  // namespace vexel
