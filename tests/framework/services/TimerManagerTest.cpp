#include "framework/services/TimerManager.h"
#include "platform/Clock.h"
#include "tests/framework/services/FakeTicks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace {

// A timer whose callback logs the pass tick and may act.
struct Probe {
  FakeTicks* ticks{nullptr};
  std::vector<std::int64_t> fired;
  std::vector<std::int64_t> sinceStart;
  std::function<void()> action;
};

void Fire(TimerRecord*, std::int32_t, void* argument, std::int64_t ticksSinceStart) {
  auto* probe = static_cast<Probe*>(argument);
  probe->fired.push_back(probe->ticks->Get());
  probe->sinceStart.push_back(ticksSinceStart);
  if (probe->action) probe->action();
}

struct TimerManagerTest : testing::Test {
  FakeTicks ticks;
  TimerManager manager;

  TimerRecord* Make(Probe& probe, std::int32_t kind, std::int32_t interval) {
    probe.ticks = &ticks;
    return manager.CreateTimer(&Fire, 0, &probe, kind, interval);
  }
  void RunPasses(std::int64_t from, std::int64_t to, std::int64_t step) {
    for (std::int64_t now = from; now <= to; now += step) {
      ticks.Set(now);
      manager.ProcessTimers();
    }
  }
};

TEST_F(TimerManagerTest, FiringTables) {
  struct Case {
    const char* what;
    std::int32_t kind;
    std::int32_t interval;
    std::int64_t passStep;
    std::vector<std::int64_t> fired;
  };
  const Case cases[] = {
      {"periodic 0 fires at every pass",
       TimerManager::kPeriodic,
       0,
       1,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"periodic 3, passes every 2", TimerManager::kPeriodic, 3, 2, {4, 8, 12}},
      {"periodic 5, late passes catch nothing up", TimerManager::kPeriodic, 5, 7, {7}},
      {"one-shot 3", TimerManager::kOneShot, 3, 1, {3}},
      {"one-shot 0 fires at the next pass", TimerManager::kOneShot, 0, 1, {1}},
      {"unknown kind never fires", 2, 0, 1, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    ticks.Set(0);
    Probe probe;
    TimerRecord* timer = Make(probe, test.kind, test.interval);
    RunPasses(test.passStep, 12, test.passStep);
    EXPECT_EQ(probe.fired, test.fired);
    EXPECT_EQ(probe.sinceStart, test.fired);  // started at tick 0
    manager.RemoveTimer(timer);
  }
  EXPECT_EQ(manager.GetTimerCount(), 0);
}

TEST_F(TimerManagerTest, RestartAndSuspend) {
  Probe oneShot;
  TimerRecord* shot = Make(oneShot, TimerManager::kOneShot, 2);
  Probe periodic;
  TimerRecord* tick = Make(periodic, TimerManager::kPeriodic, 1);
  RunPasses(1, 3, 1);
  EXPECT_EQ(oneShot.fired, (std::vector<std::int64_t>{2}));
  ticks.Set(10);
  EXPECT_EQ(manager.RestartTimer(shot, 4), 0);
  manager.SetTimerSuspended(tick, true);
  RunPasses(11, 16, 1);
  EXPECT_EQ(oneShot.fired, (std::vector<std::int64_t>{2, 14}));
  EXPECT_EQ(oneShot.sinceStart.back(), 4);
  EXPECT_EQ(periodic.fired, (std::vector<std::int64_t>{1, 2, 3}));
  manager.SetTimerSuspended(tick, false);
  RunPasses(17, 17, 1);
  EXPECT_EQ(periodic.fired.back(), 17);
}

TEST_F(TimerManagerTest, ACallbackRemovingItsTimerFreesItAfterThePass) {
  Probe self;
  Probe other;
  TimerRecord* selfTimer = Make(self, TimerManager::kPeriodic, 0);
  Make(other, TimerManager::kPeriodic, 0);  // newer: examined first
  self.action = [&] {
    manager.RemoveTimer(selfTimer);
    manager.RemoveTimer(selfTimer);  // still held until the pass ends
    EXPECT_EQ(manager.GetTimerCount(), 2);
  };
  RunPasses(1, 3, 1);
  EXPECT_EQ(self.fired, (std::vector<std::int64_t>{1}));
  EXPECT_EQ(other.fired.size(), 3u);
  EXPECT_EQ(manager.GetTimerCount(), 1);
  EXPECT_THROW(manager.RemoveTimer(selfTimer), TimerManager::BadTimer);
  EXPECT_NO_THROW(manager.RemoveTimer(nullptr));
}

TEST_F(TimerManagerTest, ACallbackThatThrowsCountsAsFired) {
  Probe probe;
  Make(probe, TimerManager::kPeriodic, 3);
  probe.action = [] { throw 5; };
  RunPasses(1, 9, 1);
  EXPECT_EQ(probe.fired, (std::vector<std::int64_t>{3, 6, 9}));
}

TEST_F(TimerManagerTest, TimersMadeDuringAPassWaitForTheNext) {
  Probe maker;
  Probe made;
  Make(maker, TimerManager::kOneShot, 0);
  maker.action = [&] { Make(made, TimerManager::kPeriodic, 0); };
  RunPasses(1, 2, 1);
  EXPECT_EQ(made.fired, (std::vector<std::int64_t>{2}));
}

TEST_F(TimerManagerTest, ANestedPassFreesNothingTheOuterPassHolds) {
  Probe older;
  Probe nester;
  TimerRecord* olderTimer = Make(older, TimerManager::kPeriodic, 0);
  TimerRecord* nesterTimer = Make(nester, TimerManager::kPeriodic, 0);
  nester.action = [&] {
    manager.RemoveTimer(nesterTimer);
    manager.RemoveTimer(olderTimer);
    manager.ProcessTimers();  // would free both under the outer walk
  };
  RunPasses(1, 2, 1);
  EXPECT_EQ(nester.fired, (std::vector<std::int64_t>{1}));  // not again from the nested pass
  EXPECT_TRUE(older.fired.empty());
  EXPECT_EQ(manager.GetTimerCount(), 0);
}

TEST_F(TimerManagerTest, TicksNeverFreezeOrOverflow) {
  struct Case {
    const char* what;
    std::int64_t start;
  };
  const Case cases[] = {
      {"a 32-bit millisecond count wraps here", (std::int64_t{1} << 32) / Clock::kMillisecondsPerTick - 2},
      {"a signed 32-bit tick wraps here", std::numeric_limits<std::int32_t>::max() - 2},
      {"the 64-bit tick wraps here", std::numeric_limits<std::int64_t>::max() - 2},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    ticks.Set(test.start);
    Probe probe;
    TimerRecord* timer = Make(probe, TimerManager::kPeriodic, 2);
    std::int64_t now = test.start;
    for (int pass = 0; pass < 6; ++pass) {
      now = static_cast<std::int64_t>(static_cast<std::uint64_t>(now) + 1);
      ticks.Set(now);
      manager.ProcessTimers();
    }
    EXPECT_EQ(probe.fired.size(), 3u);
    EXPECT_EQ(probe.sinceStart, (std::vector<std::int64_t>{2, 4, 6}));
    manager.RemoveTimer(timer);
  }
}

TEST(TimerTick, FollowsTheMonotonicClockUnlessASourceIsSet) {
  const std::int64_t before = Clock::GetMonotonicMilliseconds() / Clock::kMillisecondsPerTick;
  const std::int64_t tick = Clock::GetTimerTick();
  const std::int64_t after = Clock::GetMonotonicMilliseconds() / Clock::kMillisecondsPerTick;
  EXPECT_LE(before, tick);
  EXPECT_LE(tick, after);
  {
    FakeTicks ticks(123);
    EXPECT_EQ(Clock::GetTimerTick(), 123);
  }
  EXPECT_GE(Clock::GetTimerTick(), after);
}

}  // namespace
