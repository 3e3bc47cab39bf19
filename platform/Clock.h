#pragma once

#include <cstdint>

namespace Clock {

// Milliseconds of a monotonic clock since an unspecified start; never wraps in practice.
std::int64_t GetMonotonicMilliseconds();

// One tick is 17 ms. Timers, meter ballistics and double clicks count in ticks.
constexpr std::int64_t kMillisecondsPerTick = 17;

using TickSource = std::int64_t (*)();

// Replaces the clock behind GetTimerTick, so tests step time by hand; null restores the clock.
void SetTickSource(TickSource source);

std::int64_t GetTimerTick();

// The tick as GetTimerTick last gave it, without reading the clock: for the audio thread, which
// makes no system call. A test tick source answers directly.
std::int64_t GetLastTimerTick();

}  // namespace Clock
