#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace vexel::testing {

// A one-connection HTTP server on 127.0.0.1 for the web-fetch tests. It reads the request up to
// its blank line, writes the response in the given pieces with a pause between them (so that
// each arrives in a read of its own) and closes the connection, or with close_after false keeps
// it open until the client goes.
class ScriptedHttpServer {
public:
    explicit ScriptedHttpServer(std::vector<std::string> pieces, bool close_after = true);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    int32_t port() const { return port_; }
    // Ends the server (a connection the client already made is still taken) and returns the
    // request it read.
    std::string finish();
    bool client_came() const { return client_came_; }

private:
    void serve();

    int listener_ = -1;
    int32_t port_ = 0;
    std::vector<std::string> pieces_;
    bool close_after_;
    std::string request_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> client_came_{false};
    std::thread thread_;
};

// A TCP (or UDP) port on 127.0.0.1 that nothing was bound to a moment ago.
int32_t unused_loopback_port(bool udp = false);

}  // namespace vexel::testing
