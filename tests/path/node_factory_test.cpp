#include <gtest/gtest.h>

#include "path/node_factory.h"

namespace vexel {
namespace {

TEST(NodeFactory, TakesEachCellsOwnNodeUntilTheCapacityIsUsed) {
    NodeFactory pool;
    pool.resize(10, 3);
    EXPECT_EQ(pool.capacity(), 3);
    EXPECT_EQ(pool.g(4), NodeFactory::kNoCost);
    Node* node = pool.take(4, 2.5f);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(pool.cell_of(node), 4);
    EXPECT_EQ(pool.g(4), 2.5f);
    EXPECT_FALSE(node->open);
    EXPECT_NE(pool.take(0, 0.0f), nullptr);
    EXPECT_NE(pool.take(9, 1.0f), nullptr);
    EXPECT_EQ(pool.used(), 3);
    EXPECT_EQ(pool.take(5, 1.0f), nullptr);
    EXPECT_EQ(pool.g(5), NodeFactory::kNoCost);
    EXPECT_EQ(pool.used(), 3);
}

TEST(NodeFactory, GivesBackTheLatestFirstAndNeverBelowNone) {
    NodeFactory pool;
    pool.resize(6, 6);
    pool.take(2, 1.0f);
    pool.take(5, 1.0f);
    pool.take(1, 1.0f);
    pool.give_back(2);
    EXPECT_EQ(pool.used(), 1);
    EXPECT_EQ(pool.g(2), 1.0f);
    EXPECT_EQ(pool.g(5), NodeFactory::kNoCost);
    EXPECT_EQ(pool.g(1), NodeFactory::kNoCost);
    pool.give_back(-3);
    EXPECT_EQ(pool.used(), 1);
    pool.give_back(10);
    EXPECT_EQ(pool.used(), 0);
    EXPECT_EQ(pool.g(2), NodeFactory::kNoCost);
    EXPECT_NE(pool.take(5, 1.0f), nullptr);
}

TEST(NodeFactory, CapacityIsClampedToTheCellCountAndResizingStartsOver) {
    NodeFactory pool;
    pool.resize(4, 100);
    EXPECT_EQ(pool.capacity(), 4);
    pool.take(3, 1.0f);
    pool.resize(8, -1);
    EXPECT_EQ(pool.capacity(), 0);
    EXPECT_EQ(pool.used(), 0);
    EXPECT_EQ(pool.g(3), NodeFactory::kNoCost);
    EXPECT_EQ(pool.take(3, 1.0f), nullptr);
    pool.resize(0, 5);
    EXPECT_EQ(pool.capacity(), 0);
    EXPECT_EQ(pool.block(), nullptr);
}

}  // namespace
}  // namespace vexel
