#include "platform/Clock.h"

#include <atomic>

namespace Clock {
namespace {

std::atomic<TickSource> gTickSource{nullptr};
static_assert(std::atomic<TickSource>::is_always_lock_free);
std::atomic<std::int64_t> gLastTick{0};
static_assert(std::atomic<std::int64_t>::is_always_lock_free);

}  // namespace

void SetTickSource(TickSource source) { gTickSource.store(source, std::memory_order_release); }

std::int64_t GetTimerTick() {
  if (TickSource source = gTickSource.load(std::memory_order_acquire)) return source();
  const std::int64_t tick = GetMonotonicMilliseconds() / kMillisecondsPerTick;
  gLastTick.store(tick, std::memory_order_relaxed);
  return tick;
}

std::int64_t GetLastTimerTick() {
  if (TickSource source = gTickSource.load(std::memory_order_acquire)) return source();
  return gLastTick.load(std::memory_order_relaxed);
}

}  // namespace Clock
