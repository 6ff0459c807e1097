#include "present/gather_queue.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

TEST(GatherQueue, OneAtATimeLatestWaitingWins) {
    GatherQueue<int> queue;
    EXPECT_TRUE(queue.Submit(1));
    EXPECT_FALSE(queue.Submit(2));
    EXPECT_FALSE(queue.Submit(3));
    EXPECT_TRUE(queue.running());
    const auto next = queue.Finish();
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(*next, 3);
    EXPECT_TRUE(queue.running());
    EXPECT_FALSE(queue.Finish().has_value());
    EXPECT_FALSE(queue.running());
    EXPECT_TRUE(queue.Submit(4));
}

TEST(GatherQueue, DroppedWaitingSelectionDoesNotStart) {
    GatherQueue<int> queue;
    queue.Submit(1);
    queue.Submit(2);
    queue.DropWaiting();
    EXPECT_FALSE(queue.Finish().has_value());
    EXPECT_FALSE(queue.running());
}

}  // namespace
}  // namespace kavlo::ui
