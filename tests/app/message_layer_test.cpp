#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/message_layer.h"

namespace vexel {
namespace {

TEST(MessageLayer, StartsIdleWithItsCounterAtOneHundredAndOne) {
    MessageLayer layer;
    EXPECT_TRUE(layer.stop_requested());
    EXPECT_FALSE(layer.running());
    EXPECT_TRUE(layer.disconnected());
    EXPECT_EQ(layer.host_socket(), -1);
    EXPECT_EQ(layer.peer_socket(), -1);
    EXPECT_EQ(layer.take_message_id(), 101);
    EXPECT_EQ(layer.take_message_id(), 102);
    layer.close();
    layer.close();
    EXPECT_FALSE(layer.running());
}

TEST(MessageLayer, CloseStopsTheWorkerBeforeReturning) {
    MessageLayer layer;
    std::atomic<int> steps{0};
    layer.start_worker([&](MessageLayer&) {
        ++steps;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    EXPECT_TRUE(layer.running());
    EXPECT_FALSE(layer.stop_requested());
    while (steps < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    layer.close();
    EXPECT_FALSE(layer.running());
    EXPECT_TRUE(layer.stop_requested());
    const int after_close = steps;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(steps, after_close);
}

TEST(MessageLayer, TheEngineObjectIsCreatedAndFreed) {
    EXPECT_EQ(message_layer(), nullptr);
    create_message_layer();
    ASSERT_NE(message_layer(), nullptr);
    message_layer()->start_worker(
        [](MessageLayer&) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    close_message_layer();
    EXPECT_EQ(message_layer(), nullptr);
}

}  // namespace
}  // namespace vexel
