#include "framework/services/TimerManager.h"

#include "framework/services/ThrowSites.h"

#include "platform/Clock.h"

#include <new>

struct TimerRecord {
  TimerRecord* next{nullptr};
  bool dead{false};
  bool running{false};
  TimerCallback callback{nullptr};
  void* argument{nullptr};
  std::int32_t userData{0};
  void* context{nullptr};
  std::int32_t kind{TimerManager::kPeriodic};
  std::int32_t interval{0};
  std::int64_t startTick{0};
  std::int64_t lastFireTick{0};
  std::int32_t fireCount{0};
  bool suspended{false};
};

namespace {

// Tick differences in wrapping arithmetic, so no tick value can overflow a comparison.
std::int64_t TicksBetween(std::int64_t from, std::int64_t to) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(to) - static_cast<std::uint64_t>(from));
}

}  // namespace

TimerManager::~TimerManager() {
  while (TimerRecord* timer = mTimers) {
    mTimers = timer->next;
    delete timer;
  }
}

TimerRecord* TimerManager::CreateTimer(TimerCallback callback, std::int32_t userData, void* argument,
                                       std::int32_t kind, std::int32_t interval) noexcept {
  if (!callback) return nullptr;
  auto* timer = new (std::nothrow) TimerRecord;
  if (!timer) return nullptr;
  timer->callback = callback;
  timer->userData = userData;
  timer->argument = argument;
  timer->kind = kind;
  timer->interval = interval;
  timer->startTick = timer->lastFireTick = Clock::GetTimerTick();
  timer->next = mTimers;
  mTimers = timer;
  ++mTimerCount;
  return timer;
}

std::int32_t TimerManager::RestartTimer(TimerRecord* timer, std::int32_t interval) {
  timer->interval = interval;
  timer->startTick = timer->lastFireTick = Clock::GetTimerTick();
  timer->fireCount = 0;
  return 0;
}

void TimerManager::SetTimerSuspended(TimerRecord* timer, bool suspended) { timer->suspended = suspended; }

void TimerManager::SetTimerContext(TimerRecord* timer, void* context) { timer->context = context; }

void* TimerManager::GetTimerContext(const TimerRecord* timer) const { return timer->context; }

void TimerManager::RemoveTimer(TimerRecord* timer) {
  if (!timer) return;
  TimerRecord** link = &mTimers;
  while (*link && *link != timer) link = &(*link)->next;
  if (!*link) throw BadTimer(&ThrowSites::kRemoveTimer);
  if (mPassDepth > 0) {
    timer->dead = true;
    mPurgeNeeded = true;
    return;
  }
  *link = timer->next;
  delete timer;
  --mTimerCount;
}

void TimerManager::ProcessTimers() {
  if (!mTimers) return;
  const std::int64_t now = Clock::GetTimerTick();
  ++mPassDepth;
  for (TimerRecord* timer = mTimers; timer; timer = timer->next) {
    // A timer whose callback is running is left to that call, also by nested passes.
    if (timer->suspended || timer->dead || timer->running) continue;
    if (TicksBetween(timer->lastFireTick, now) < timer->interval) continue;
    if (timer->kind == kPeriodic) {
      ++timer->fireCount;
    } else if (timer->kind == kOneShot && timer->fireCount == 0) {
      timer->fireCount = 1;
    } else {
      continue;
    }
    timer->running = true;
    try {
      timer->callback(timer, timer->userData, timer->argument, TicksBetween(timer->startTick, now));
    } catch (...) {
      // A failing callback is swallowed and keeps its schedule; the pass goes on.
    }
    timer->running = false;
    timer->lastFireTick = now;
  }
  if (--mPassDepth == 0 && mPurgeNeeded) Purge();
}

void TimerManager::Purge() noexcept {
  mPurgeNeeded = false;
  for (TimerRecord** link = &mTimers; *link;) {
    TimerRecord* timer = *link;
    if (timer->dead) {
      *link = timer->next;
      delete timer;
      --mTimerCount;
    } else {
      link = &timer->next;
    }
  }
}
