#include <gtest/gtest.h>
#include <signal.h>
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

namespace vexel {
namespace {

using testing::bytes;
using testing::read_file;
using testing::ScopedTempDir;
using testing::ScriptedHttpServer;

constexpr char kHeader[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

TEST(HttpFetch, SendsTheRequestAndStoresTheBodyHoweverTheHeaderEnds) {
    const std::string binary("binary\0\r\n\r\n", 11);
    const struct {
        std::vector<std::string> pieces;
        std::string body;
    } cases[] = {
        {{kHeader}, ""},
        {{"HTTP/1.0 200 OK\r\n", "\r\nsplit"}, "split"},
        {{"HTTP/1.0 200 OK\r\n\r", "\nsplit"}, "split"},
        {{"HTTP/1.0 200 OK\nX: y\n\nbare"}, "bare"},
        {{"HTTP/1.0 404 Not Found\r\n\r\n", "no such page"}, "no such page"},
        {{kHeader, binary}, binary},
    };
    ScopedTempDir temp;
    const std::string file = temp.file("page.html");
    for (const auto& c : cases) {
        ScriptedHttpServer server(c.pieces);
        EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/a/page.html", server.port(), file.c_str(), 0),
                  1);
        EXPECT_EQ(read_file(file), c.body);
        EXPECT_EQ(server.finish(),
                  "GET /a/page.html HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\n"
                  "User-Agent: Vexel\r\n\r\n");
    }
}

TEST(HttpFetch, TextStopsAtItsMaximumLengthAndAtAZeroByte) {
    ScriptedHttpServer long_body({kHeader, "0123456789abcdef", std::string(5000, 'b')});
    EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", long_body.port(), 10, 0)), "0123456789");
    ScriptedHttpServer zero({kHeader, std::string("cut\0here", 8)});
    EXPECT_EQ(bytes(web_fetch_to_text("127.0.0.1", "/", zero.port(), 100, 0)), "cut");
}

TEST(HttpFetch, AServerThatNeverClosesFailsAfterTheIdleLimitKeepingThePartialBody) {
    ScopedTempDir temp;
    ScriptedHttpServer server({kHeader, "partial"}, false);
    const std::string file = temp.file("partial.txt");
    net::HttpGet get;
    get.host = "127.0.0.1";
    get.port = server.port();
    get.file = file.c_str();
    get.idle_limit_ms = 200;
    EXPECT_FALSE(net::http_get(get));
    EXPECT_EQ(socket_last_error(), 10060);
    EXPECT_EQ(read_file(file), "partial");
    EXPECT_EQ(tcp_listen(0), -1);  // the failed fetch undid its socket_init
}

TEST(HttpFetch, VirtualFilesAndFullDirectoriesAreNoTarget) {
    ScopedTempDir temp;
    ScriptedHttpServer server({kHeader, "page"});
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/", server.port(), "mem://       4.       1", 0), 0);
    server.finish();
    EXPECT_FALSE(server.client_came());

    std::filesystem::create_directory(temp.file("empty"));
    std::filesystem::create_directory(temp.file("full"));
    testing::write_file(temp.file("full/keep.txt"), "kept");
    ScriptedHttpServer again({kHeader, "page"});
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/", again.port(), temp.file("empty").c_str(), 0), 1);
    EXPECT_EQ(read_file(temp.file("empty")), "page");
    std::string full = temp.file("full");
    std::replace(full.begin(), full.end(), '/', '\\');  // the engine's other separator
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/", again.port(), full.c_str(), 0), 0);
    EXPECT_EQ(read_file(temp.file("full/keep.txt")), "kept");
}

// A web server nobody here wrote: Python's, serving the test's folder.
TEST(HttpFetch, AMegabyteFromARealServerArrivesByteExact) {
    if (std::system("python3 -c 'import http.server' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    ScopedTempDir temp;
    std::mt19937 random(16);
    std::string content(1 << 20, ' ');
    for (char& c : content)
        c = static_cast<char>(1 + random() % 255);  // no zero byte: the text form stops there
    std::filesystem::create_directory(temp.file("served"));
    testing::write_file(temp.file("served/data.bin"), content);

    const std::string port = std::to_string(testing::unused_loopback_port());
    const pid_t python = fork();
    if (python == 0) {
        setpgid(0, 0);  // a group of its own, ended whole
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", port.c_str(),
               "--directory", temp.file("served").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(python, 0);
    setpgid(python, python);
    socket_init();
    int32_t probe = -1;
    for (int attempt = 0; attempt < 200 && probe < 0; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        probe = tcp_connect("127.0.0.1", std::stoi(port), 200);
    }
    socket_close(probe);

    const std::string file = temp.file("fetched.bin");
    EXPECT_EQ(web_fetch_to_file("127.0.0.1", "/data.bin", std::stoi(port), file.c_str(), 0), 1);
    EXPECT_TRUE(read_file(file) == content);
    const DynString text = web_fetch_to_text("127.0.0.1", "/data.bin", std::stoi(port), 2 << 20, 0);
    EXPECT_TRUE(bytes(text) == content);
    kill(-python, SIGTERM);
    waitpid(python, nullptr, 0);
}

}  // namespace
}  // namespace vexel
