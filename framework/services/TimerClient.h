#pragma once

#include "framework/services/Exceptions.h"
#include "framework/services/PluginServicesClient.h"
#include "framework/services/ThrowSites.h"
#include "framework/services/TimerManager.h"

#include <cstdint>
#include <map>
#include <new>

// Mix-in through which a T owns timers whose callbacks are member functions of T, each under a
// timer user id of T's choosing.
template <class T>
class TimerClient : public PluginServicesClient {
 public:
  class BadTimerUserId : public AppFrame::Exception {
   public:
    using Exception::Exception;
  };

  using Handler = void (T::*)();

  // With a null owner no handler is ever called.
  TimerClient(PluginServices* services, T* owner) : PluginServicesClient(services), mOwner(owner) {}
  virtual ~TimerClient();
  TimerClient(const TimerClient&) = delete;
  TimerClient& operator=(const TimerClient&) = delete;

  // kind is TimerManager::kPeriodic or kOneShot, interval in ticks. An id in use throws
  // BadTimerUserId, memory running out std::bad_alloc.
  void AddTimer(std::int32_t kind, std::int32_t interval, Handler handler, std::int32_t timerUserId);
  // Unknown ids throw BadTimerUserId.
  void RestartTimer(std::int32_t timerUserId, std::int32_t interval);
  void SuspendTimer(std::int32_t timerUserId, bool suspended);
  // An unknown id is ignored.
  void RemoveTimer(std::int32_t timerUserId);

 protected:
  // The id of the timer whose handler is running.
  std::int32_t GetCurrentTimerUserId() const { return mCurrentTimerUserId; }

 private:
  struct Entry {
    std::int32_t timerUserId{0};
    TimerRecord* timer{nullptr};
    Handler handler{nullptr};
  };

  static void Dispatch(TimerRecord* timer, std::int32_t userData, void* argument,
                       std::int64_t ticksSinceStart);
  Entry& Find(std::int32_t timerUserId, const AppFrame::ThrowSite* site);

  T* mOwner{nullptr};
  std::map<std::int32_t, Entry> mTimers{};
  std::int32_t mCurrentTimerUserId{0};
};

template <class T>
TimerClient<T>::~TimerClient() {
  if (mTimers.empty()) return;
  try {
    TimerManager& manager = GetTimerManager();
    for (const auto& [timerUserId, entry] : mTimers) {
      try {
        manager.RemoveTimer(entry.timer);
      } catch (...) {
        // A timer the manager no longer holds is gone already; the others are still removed.
      }
    }
  } catch (...) {
    // Without services there is no manager, and so no timer of ours left to remove.
  }
}

template <class T>
void TimerClient<T>::AddTimer(std::int32_t kind, std::int32_t interval, Handler handler,
                              std::int32_t timerUserId) {
  if (mTimers.count(timerUserId)) throw BadTimerUserId(&ThrowSites::kAddTimer);
  TimerManager& manager = GetTimerManager();
  const auto entry = mTimers.emplace(timerUserId, Entry{timerUserId, nullptr, handler}).first;
  TimerRecord* timer =
      manager.CreateTimer(&Dispatch, timerUserId, static_cast<TimerClient*>(this), kind, interval);
  if (!timer) {
    mTimers.erase(entry);
    throw std::bad_alloc();
  }
  entry->second.timer = timer;
  manager.SetTimerContext(timer, &entry->second);
}

template <class T>
void TimerClient<T>::RestartTimer(std::int32_t timerUserId, std::int32_t interval) {
  Entry& entry = Find(timerUserId, &ThrowSites::kRestartTimer);
  GetTimerManager().RestartTimer(entry.timer, interval);
}

template <class T>
void TimerClient<T>::SuspendTimer(std::int32_t timerUserId, bool suspended) {
  Entry& entry = Find(timerUserId, &ThrowSites::kSuspendTimer);
  GetTimerManager().SetTimerSuspended(entry.timer, suspended);
}

template <class T>
void TimerClient<T>::RemoveTimer(std::int32_t timerUserId) {
  const auto found = mTimers.find(timerUserId);
  if (found == mTimers.end()) return;
  TimerManager& manager = GetTimerManager();
  TimerRecord* timer = found->second.timer;
  mTimers.erase(found);
  manager.RemoveTimer(timer);
}

template <class T>
void TimerClient<T>::Dispatch(TimerRecord* timer, std::int32_t userData, void* argument, std::int64_t) {
  auto* self = static_cast<TimerClient*>(argument);
  T* const owner = self->mOwner;
  if (!owner) return;
  const auto* entry = static_cast<const Entry*>(self->GetTimerManager().GetTimerContext(timer));
  const Handler handler = entry ? entry->handler : nullptr;
  self->mCurrentTimerUserId = userData;
  // Nothing of self is touched after the handler: it may delete its owner.
  if (handler) (owner->*handler)();
}

template <class T>
typename TimerClient<T>::Entry& TimerClient<T>::Find(std::int32_t timerUserId,
                                                     const AppFrame::ThrowSite* site) {
  const auto found = mTimers.find(timerUserId);
  if (found == mTimers.end()) throw BadTimerUserId(site);
  return found->second;
}
