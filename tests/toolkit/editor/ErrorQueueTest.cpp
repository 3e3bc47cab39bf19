// The queue of other threads' reports on its own, and against a close from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "toolkit/editor/ErrorQueue.h"

namespace {

TEST(ErrorQueue, KeepsReportsOnlyWhileOpenInTheirOrderAndWithTheirNulls) {
  ErrorQueue queue;
  int hooks = 0;
  auto hook = [&hooks] { ++hooks; };
  EXPECT_FALSE(queue.Push("closed", "", 0, 2, hook));
  EXPECT_EQ(hooks, 0);
  queue.SetOpen(true);
  EXPECT_TRUE(queue.IsOpen());
  EXPECT_TRUE(queue.Push("first", nullptr, 7, 2, hook));
  EXPECT_TRUE(queue.Push(nullptr, "", 0, 1, hook));
  EXPECT_EQ(hooks, 2);
  const std::vector<ErrorQueue::Report> reports = queue.TakeAll();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_STREQ(reports[0].Message(), "first");
  EXPECT_EQ(reports[0].Detail(), nullptr);
  EXPECT_EQ(reports[0].code, 7);
  EXPECT_EQ(reports[1].Message(), nullptr);
  EXPECT_STREQ(reports[1].Detail(), "");
  EXPECT_EQ(reports[1].type, 1);
  EXPECT_TRUE(queue.TakeAll().empty());
}

// Every report that was taken is in the drain that follows the close; none is kept after it.
TEST(ErrorQueue, NoReportLandsAfterTheCloseThatDrainsTheQueue) {
  for (int round = 0; round < 20; ++round) {
    ErrorQueue queue;
    queue.SetOpen(true);
    std::atomic<int> accepted{0};
    std::atomic<bool> started{false};
    std::thread reporter([&] {
      for (int i = 0; i < 2000; ++i) {
        if (queue.Push("late", nullptr, i, 2, [&started] { started = true; })) ++accepted;
      }
    });
    while (!started) std::this_thread::yield();
    queue.SetOpen(false);
    const std::size_t drained = queue.TakeAll().size();
    reporter.join();
    EXPECT_EQ(drained, static_cast<std::size_t>(accepted.load()));
    EXPECT_TRUE(queue.TakeAll().empty());
  }
}

}  // namespace
