#pragma once

#include "framework/services/Exceptions.h"

#include <cstdint>

// Timer record owned by the manager; its address is the handle.
struct TimerRecord;

using TimerCallback = void (*)(TimerRecord* timer, std::int32_t userData, void* argument,
                               std::int64_t ticksSinceStart);

// Timers in ticks of Clock::GetTimerTick, run by ProcessTimers from the editor's idle.
// Editor thread only; no lock.
class TimerManager {
 public:
  class BadTimer : public AppFrame::Exception {
   public:
    using Exception::Exception;
  };

  // Timer kinds; any other kind never fires.
  static constexpr std::int32_t kPeriodic = 0;
  static constexpr std::int32_t kOneShot = 1;

  TimerManager() = default;
  // Frees the timers still registered.
  ~TimerManager();
  TimerManager(const TimerManager&) = delete;
  TimerManager& operator=(const TimerManager&) = delete;

  // Null when memory runs out or without a callback. Timers made during a pass are first looked at in the
  // next one.
  TimerRecord* CreateTimer(TimerCallback callback, std::int32_t userData, void* argument, std::int32_t kind,
                           std::int32_t interval) noexcept;
  // Re-arms the timer from now with the new interval; returns 0.
  std::int32_t RestartTimer(TimerRecord* timer, std::int32_t interval);
  void SetTimerSuspended(TimerRecord* timer, bool suspended);
  void SetTimerContext(TimerRecord* timer, void* context);
  void* GetTimerContext(const TimerRecord* timer) const;
  // A null timer is ignored; one the manager does not hold throws BadTimer. During a pass the
  // timer stops firing at once and is freed when the outermost pass ends.
  void RemoveTimer(TimerRecord* timer);
  std::int32_t GetTimerCount() const { return mTimerCount; }

  // Fires every due timer once; missed periods are not caught up. Callback failures are dropped.
  void ProcessTimers();

 private:
  void Purge() noexcept;

  TimerRecord* mTimers{nullptr};
  std::int32_t mTimerCount{0};
  int mPassDepth{0};
  bool mPurgeNeeded{false};
};
