#include "framework/services/PluginServices.h"
#include "framework/services/TimerClient.h"
#include "framework/services/TimerManager.h"
#include "tests/framework/services/FakeTicks.h"
#include "tests/support/AllocationFailure.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class Blinker : public TimerClient<Blinker> {
 public:
  Blinker(PluginServices* services, std::vector<std::string>& log, bool withOwner = true)
      : TimerClient<Blinker>(services, withOwner ? this : nullptr), mLog(log) {}

  void OnTimer() {
    mLog.push_back("timer " + std::to_string(GetCurrentTimerUserId()));
    if (action) action();
  }

  std::function<void()> action;

 private:
  std::vector<std::string>& mLog;
};

using Log = std::vector<std::string>;

struct TimerClientTest : testing::Test {
  FakeTicks ticks;
  PluginServices services;
  TimerManager& manager{services.GetTimerManager()};
  Log log;

  void Pass(std::int64_t now) {
    ticks.Set(now);
    manager.ProcessTimers();
  }
};

TEST_F(TimerClientTest, HandlersRunUnderTheirTimerUserId) {
  Blinker blinker(&services, log);
  blinker.AddTimer(TimerManager::kPeriodic, 2, &Blinker::OnTimer, 7);
  blinker.AddTimer(TimerManager::kOneShot, 1, &Blinker::OnTimer, 8);
  Pass(1);
  Pass(2);
  EXPECT_EQ(log, (Log{"timer 8", "timer 7"}));
  blinker.SuspendTimer(7, true);
  blinker.RestartTimer(8, 1);
  Pass(4);
  EXPECT_EQ(log, (Log{"timer 8", "timer 7", "timer 8"}));
  blinker.SuspendTimer(7, false);
  blinker.RemoveTimer(8);
  blinker.RemoveTimer(8);
  Pass(6);
  EXPECT_EQ(log.back(), "timer 7");
  EXPECT_EQ(manager.GetTimerCount(), 1);
}

TEST_F(TimerClientTest, UnknownAndRepeatedIdsAreRefusedWithoutChange) {
  Blinker blinker(&services, log);
  blinker.AddTimer(TimerManager::kPeriodic, 1, &Blinker::OnTimer, 1);
  EXPECT_THROW(blinker.AddTimer(TimerManager::kOneShot, 5, &Blinker::OnTimer, 1), Blinker::BadTimerUserId);
  EXPECT_THROW(blinker.RestartTimer(2, 1), Blinker::BadTimerUserId);
  EXPECT_THROW(blinker.SuspendTimer(2, true), Blinker::BadTimerUserId);
  EXPECT_EQ(manager.GetTimerCount(), 1);
  Pass(1);
  EXPECT_EQ(log, (Log{"timer 1"}));
}

TEST_F(TimerClientTest, WithoutAnOwnerNoHandlerRuns) {
  Blinker blinker(&services, log, false);
  blinker.AddTimer(TimerManager::kPeriodic, 0, &Blinker::OnTimer, 1);
  Pass(1);
  EXPECT_TRUE(log.empty());
}

TEST_F(TimerClientTest, DestructionRemovesItsTimers) {
  {
    Blinker blinker(&services, log);
    blinker.AddTimer(TimerManager::kPeriodic, 0, &Blinker::OnTimer, 1);
    blinker.AddTimer(TimerManager::kPeriodic, 0, &Blinker::OnTimer, 2);
    EXPECT_EQ(manager.GetTimerCount(), 2);
  }
  EXPECT_EQ(manager.GetTimerCount(), 0);
}

TEST_F(TimerClientTest, AClientMayDeleteItselfFromItsOwnTimer) {
  Blinker survivor(&services, log);
  survivor.AddTimer(TimerManager::kPeriodic, 0, &Blinker::OnTimer, 2);
  auto* doomed = new Blinker(&services, log);
  doomed->AddTimer(TimerManager::kPeriodic, 0, &Blinker::OnTimer, 5);
  doomed->AddTimer(TimerManager::kOneShot, 0, &Blinker::OnTimer, 1);
  doomed->action = [doomed] { delete doomed; };
  Pass(1);
  Pass(2);
  EXPECT_EQ(log, (Log{"timer 1", "timer 2", "timer 2"}));
  EXPECT_EQ(manager.GetTimerCount(), 1);
}

TEST_F(TimerClientTest, OutOfMemoryThrowsAndLeavesNoEntry) {
  Blinker blinker(&services, log);
  for (int nth = 0;; ++nth) {
    SCOPED_TRACE(nth);
    alloc_test::FailAllocation fail(nth);
    try {
      blinker.AddTimer(TimerManager::kPeriodic, 0, &Blinker::OnTimer, 1);
    } catch (const std::bad_alloc&) {
      ASSERT_TRUE(fail.Failed());
      EXPECT_EQ(manager.GetTimerCount(), 0);
      continue;
    }
    ASSERT_FALSE(fail.Failed());
    break;
  }
  EXPECT_EQ(manager.GetTimerCount(), 1);
  Pass(1);
  EXPECT_EQ(log, (Log{"timer 1"}));
}

}  // namespace
