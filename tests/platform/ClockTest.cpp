#include <gtest/gtest.h>

#include "platform/Clock.h"

namespace {
std::int64_t FixedTick() { return 777; }
}  // namespace

TEST(Clock, TicksAreSeventeenMillisecondsAndTheLastReadIsKeptForTheAudioThread) {
  const std::int64_t before = Clock::GetMonotonicMilliseconds();
  const std::int64_t tick = Clock::GetTimerTick();
  const std::int64_t after = Clock::GetMonotonicMilliseconds();
  EXPECT_GE(tick, before / 17);
  EXPECT_LE(tick, after / 17);
  EXPECT_EQ(Clock::GetLastTimerTick(), tick);
  Clock::SetTickSource(&FixedTick);
  EXPECT_EQ(Clock::GetTimerTick(), 777);
  EXPECT_EQ(Clock::GetLastTimerTick(), 777);
  Clock::SetTickSource(nullptr);
  EXPECT_EQ(Clock::GetLastTimerTick(), tick);  // a test source leaves the real record alone
}
