#include "framework/core/AudioGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;

TEST(AudioGate, APauseWaitsForTheAudioHookToLeave) {
  AudioGate gate;
  std::atomic<bool> entered{false};
  std::atomic<bool> left{false};
  std::thread audio([&] {
    AudioGate::Entry entry(gate);
    entered.store(true);
    std::this_thread::sleep_for(50ms);
    left.store(true);
  });
  while (!entered.load()) std::this_thread::yield();
  {
    auto pause = gate.PauseOrThrow();
    EXPECT_TRUE(left.load());
  }
  audio.join();
}
