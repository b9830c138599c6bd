#include "app/message_layer.h"

#include <chrono>
#include <memory>

#include "app/subsystem_hooks.h"

namespace vexel {

namespace {

std::unique_ptr<MessageLayer> g_layer;

}  // namespace

MessageLayer::~MessageLayer() {
    close();
}

void MessageLayer::start_worker(std::function<void(MessageLayer&)> step) {
    if (running_ || worker_.joinable()) return;
    stop_requested_ = false;
    running_ = true;
    worker_ = std::thread([this, step = std::move(step)] {
        while (!stop_requested_)
            step(*this);
        running_ = false;
    });
}

void MessageLayer::close() {
    stop_requested_ = true;
    while (running_)
        std::this_thread::sleep_for(std::chrono::milliseconds(kStopPollMs));
    if (worker_.joinable()) worker_.join();
    std::lock_guard<std::mutex> guard(lock_);
    if (host_socket_ != -1) hooks::close_engine_socket(host_socket_);
    if (peer_socket_ != -1) hooks::close_engine_socket(peer_socket_);
    host_socket_ = peer_socket_ = -1;
    disconnected_ = true;
}

int32_t MessageLayer::take_message_id() {
    std::lock_guard<std::mutex> guard(lock_);
    return message_id_++;
}

MessageLayer* message_layer() {
    return g_layer.get();
}

void create_message_layer() {
    g_layer = std::make_unique<MessageLayer>();
}

void close_message_layer() {
    if (g_layer) g_layer->close();
    g_layer.reset();
}

}  // namespace vexel
