#pragma once

#include <cstdint>

#include "platform/Clock.h"

// The tick as the test sets it, for timers and ballistics; the clock comes back at the end.
class TestTick {
 public:
  explicit TestTick(std::int64_t start = 1000) {
    Now() = start;
    Clock::SetTickSource(&Read);
  }
  ~TestTick() { Clock::SetTickSource(nullptr); }
  TestTick(const TestTick&) = delete;
  TestTick& operator=(const TestTick&) = delete;

  void Set(std::int64_t tick) { Now() = tick; }
  void Advance(std::int64_t ticks) { Now() += ticks; }
  std::int64_t Get() const { return Now(); }

 private:
  static std::int64_t& Now() {
    static std::int64_t now = 0;
    return now;
  }
  static std::int64_t Read() { return Now(); }
};
