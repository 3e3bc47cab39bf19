#pragma once

#include <atomic>
#include <cstdint>

static_assert(std::atomic<std::int32_t>::is_always_lock_free);

// Lowers a counter shared between threads by one, never below zero; returns the value before.
inline std::int32_t DecrementWithFloor(std::atomic<std::int32_t>& counter) {
  std::int32_t value = counter.load();
  while (value > 0 && !counter.compare_exchange_weak(value, value - 1)) {
  }
  return value;
}
