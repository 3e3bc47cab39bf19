#include "framework/core/AudioGate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "framework/services/Exceptions.h"

using namespace std::chrono_literals;

TEST(AudioGate, APauseRefusesTheAudioEntryUntilItEnds) {
  AudioGate gate;
  {
    auto pause = gate.PauseOrThrow();
    AudioGate::Entry entry(gate);
    EXPECT_FALSE(entry.Entered());
    EXPECT_FALSE(gate.IsInProcess());
    auto inner = gate.PauseOrThrow();  // pauses nest
  }
  AudioGate::Entry entry(gate);
  EXPECT_TRUE(entry.Entered());
  EXPECT_TRUE(gate.IsInProcess());
}

// A hook that does not leave in time: the pause gives up with a time-out and opens the gate again.
TEST(AudioGate, AHookThatStaysMakesThePauseThrowAndReopen) {
  AudioGate gate(20ms);
  {
    AudioGate::Entry stuck(gate);
    ASSERT_TRUE(stuck.Entered());
    EXPECT_THROW(static_cast<void>(gate.PauseOrThrow()), AppFrame::TimeOut);
  }
  EXPECT_EQ(gate.Suspend(false), 0);
  AudioGate::Entry entry(gate);
  EXPECT_TRUE(entry.Entered());
}

TEST(AudioGate, BusyScopesNestAndEndWithAnException) {
  AudioGate gate;
  EXPECT_FALSE(gate.IsBusy());
  try {
    auto outer = gate.Busy();
    {
      auto inner = gate.Busy();
      EXPECT_TRUE(gate.IsBusy());
    }
    EXPECT_TRUE(gate.IsBusy());
    throw std::runtime_error("reconfiguration failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(gate.IsBusy());
}
