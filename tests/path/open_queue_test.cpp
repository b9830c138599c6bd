#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "path/open_queue.h"

namespace vexel {
namespace {

Node make_node(float f) {
    return Node{nullptr, f, false, 0};
}

TEST(OpenQueue, TakesSmallestFirstAndEqualPrioritiesInArrivalOrder) {
    std::vector<Node> nodes = {make_node(3), make_node(1), make_node(2),
                               make_node(1), make_node(3), make_node(1)};
    OpenQueue queue;
    queue.resize(8, nodes.data());
    for (Node& node : nodes)
        ASSERT_TRUE(queue.push(&node));
    EXPECT_EQ(queue.size(), 6);
    const std::vector<int> expected = {1, 3, 5, 2, 0, 4};
    for (int index : expected) {
        Node* node = queue.pop();
        EXPECT_EQ(node, &nodes[index]);
        EXPECT_FALSE(node->open);
    }
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(queue.pop(), nullptr);
}

TEST(OpenQueue, RequeuedNodeComesAfterOthersOfItsNewPriority) {
    std::vector<Node> nodes = {make_node(5), make_node(2), make_node(2), make_node(9)};
    OpenQueue queue;
    queue.resize(4, nodes.data());
    for (Node& node : nodes)
        queue.push(&node);
    queue.requeue(&nodes[1]);  // same f, but now the newest of the two
    nodes[3].f = 2;
    queue.requeue(&nodes[3]);
    nodes[0].f = 1;
    queue.requeue(&nodes[0]);
    EXPECT_EQ(queue.pop(), &nodes[0]);
    EXPECT_EQ(queue.pop(), &nodes[2]);
    EXPECT_EQ(queue.pop(), &nodes[1]);
    EXPECT_EQ(queue.pop(), &nodes[3]);
}

TEST(OpenQueue, RefusesWhenFullAndClearReleasesTheNodes) {
    std::vector<Node> nodes = {make_node(1), make_node(2), make_node(3)};
    OpenQueue queue;
    EXPECT_FALSE(queue.push(&nodes[0]));
    queue.resize(2, nodes.data());
    EXPECT_TRUE(queue.push(&nodes[0]));
    EXPECT_TRUE(queue.push(&nodes[1]));
    EXPECT_TRUE(queue.full());
    EXPECT_FALSE(queue.push(&nodes[2]));
    EXPECT_FALSE(nodes[2].open);
    queue.clear();
    EXPECT_TRUE(queue.empty());
    EXPECT_FALSE(nodes[0].open);
    EXPECT_FALSE(nodes[1].open);
}

// The 32-bit sequence runs out half-way through the pushes; the queue renumbers what it holds
// and the order across the wrap stays (f, arrival).
TEST(OpenQueue, KeepsArrivalOrderAcrossTheSequenceWrap) {
    std::vector<Node> nodes(120, make_node(0));
    OpenQueue queue(std::numeric_limits<uint32_t>::max() - 60);
    queue.resize(120, nodes.data());
    std::vector<std::pair<float, int>> expected;
    for (int i = 0; i < 120; ++i) {
        nodes[i].f = static_cast<float>((i * 7) % 5);
        ASSERT_TRUE(queue.push(&nodes[i]));
        expected.emplace_back(nodes[i].f, i);
    }
    std::sort(expected.begin(), expected.end());
    for (const auto& [f, index] : expected)
        ASSERT_EQ(queue.pop(), &nodes[index]);
    EXPECT_TRUE(queue.empty());
}

// Random pushes, pops and moves against an ordered map keyed by (f, arrival). Moves leave stale
// entries behind, enough to fill the heap's room several times over; starting the sequence near
// its end makes the queue renumber its entries on the way.
class OpenQueueRandomUse : public ::testing::TestWithParam<uint32_t> {};

TEST_P(OpenQueueRandomUse, FollowsPriorityThenArrival) {
    std::mt19937 rng(7);
    std::vector<Node> nodes(300, make_node(0));
    OpenQueue queue(GetParam());
    queue.resize(300, nodes.data());
    std::map<std::pair<float, uint64_t>, Node*> model;
    std::vector<std::pair<float, uint64_t>> key_of(nodes.size());
    uint64_t arrival = 0;
    std::uniform_int_distribution<int> action(0, 2);
    std::uniform_int_distribution<int> pick(0, 299);
    std::uniform_int_distribution<int> priority(0, 20);  // few values: many ties
    for (int step = 0; step < 20000; ++step) {
        const int a = action(rng);
        if (a == 0) {
            Node& node = nodes[pick(rng)];
            if (node.open) continue;
            node.f = static_cast<float>(priority(rng));
            ASSERT_TRUE(queue.push(&node));
            key_of[&node - nodes.data()] = {node.f, arrival++};
            model[key_of[&node - nodes.data()]] = &node;
        } else if (a == 1) {
            if (model.empty()) {
                EXPECT_EQ(queue.pop(), nullptr);
                continue;
            }
            ASSERT_EQ(queue.pop(), model.begin()->second);
            model.erase(model.begin());
        } else {
            Node& node = nodes[pick(rng)];
            if (!node.open) continue;
            const size_t index = &node - nodes.data();
            model.erase(key_of[index]);
            node.f = static_cast<float>(priority(rng));
            queue.requeue(&node);
            key_of[index] = {node.f, arrival++};
            model[key_of[index]] = &node;
        }
        ASSERT_EQ(queue.size(), static_cast<int32_t>(model.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(FirstSequence, OpenQueueRandomUse,
                         ::testing::Values(0u, std::numeric_limits<uint32_t>::max() - 5000u));

}  // namespace
}  // namespace vexel
