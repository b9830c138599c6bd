// The multi-player message object of the networking layer: created at start-up, its worker
// stopped and the object freed at shutdown before anything the worker uses goes away.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace vexel {

class MessageLayer {
public:
    static constexpr int32_t kFirstMessageId = 101;
    static constexpr int32_t kStopPollMs = 50;

    MessageLayer() = default;
    ~MessageLayer();  // close()
    MessageLayer(const MessageLayer&) = delete;
    MessageLayer& operator=(const MessageLayer&) = delete;

    // Starts the worker thread: it calls step repeatedly until a stop is requested, then clears
    // the running flag. Nothing when a worker is already running.
    void start_worker(std::function<void(MessageLayer&)> step);
    // Stops the worker (stop flag, then a poll of the running flag every 50 ms), closes both
    // sockets and forgets the session. The object can be closed more than once.
    void close();

    int32_t take_message_id();  // the counter's value, then counts on
    std::mutex& lock() { return lock_; }

    bool stop_requested() const { return stop_requested_; }
    bool running() const { return running_; }
    bool disconnected() const { return disconnected_; }
    int32_t host_socket() const { return host_socket_; }
    int32_t peer_socket() const { return peer_socket_; }

private:
    std::mutex lock_;
    std::atomic<bool> stop_requested_{true};
    std::atomic<bool> running_{false};
    std::atomic<bool> disconnected_{true};  // set while no session is open
    int32_t message_id_ = kFirstMessageId;
    int32_t host_socket_ = -1;
    int32_t peer_socket_ = -1;
    std::thread worker_;
};

// The engine's object, or null outside start-up and shutdown.
MessageLayer* message_layer();
void create_message_layer();
void close_message_layer();  // close() and free

}  // namespace vexel
