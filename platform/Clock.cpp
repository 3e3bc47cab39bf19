#include "platform/Clock.h"

#include <atomic>

namespace Clock {
namespace {

std::atomic<TickSource> gTickSource{nullptr};
static_assert(std::atomic<TickSource>::is_always_lock_free);

}  // namespace

void SetTickSource(TickSource source) {
  gTickSource.store(source, std::memory_order_release);
}

std::int64_t GetTimerTick() {
  if (TickSource source = gTickSource.load(std::memory_order_acquire))
    return source();
  return GetMonotonicMilliseconds() / kMillisecondsPerTick;
}

}  // namespace Clock
