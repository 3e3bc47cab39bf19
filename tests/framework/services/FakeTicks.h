#pragma once

#include "platform/Clock.h"

#include <cstdint>

// Puts the timer tick under the test's control for the fixture's lifetime.
class FakeTicks {
 public:
  explicit FakeTicks(std::int64_t start = 0) {
    sNow = start;
    Clock::SetTickSource(&Now);
  }
  ~FakeTicks() { Clock::SetTickSource(nullptr); }
  FakeTicks(const FakeTicks&) = delete;
  FakeTicks& operator=(const FakeTicks&) = delete;

  void Set(std::int64_t now) { sNow = now; }
  std::int64_t Get() const { return sNow; }

 private:
  static std::int64_t Now() { return sNow; }
  static inline std::int64_t sNow{0};
};
