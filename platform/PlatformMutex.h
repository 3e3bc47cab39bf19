#pragma once

#include <memory>

// The instance mutex. Recursive for the thread that owns it; Lock(true) fails only when another
// thread holds it; Lock(false) waits without limit. Unlock from a thread that does not own it
// does nothing.
//
// A hold keeps the mutex locked past its owner's last Unlock, for what spans several entries (a
// drag, from press to release). It belongs to whoever owns the mutex: LockOrTakeOver on another
// thread, once the owner is inside no Lock, makes the caller the owner, hold and all, so the
// hold never depends on the thread that set it still running.
class PlatformMutex {
 public:
  virtual ~PlatformMutex() = default;
  virtual bool Lock(bool tryOnly) = 0;
  // Lock(false), which also takes over a hold that another thread keeps between its locks.
  virtual bool LockOrTakeOver() = 0;
  virtual void Unlock() = 0;
  // The owner only: keeps the mutex locked past its last Unlock, or no longer.
  virtual void SetHold(bool hold) = 0;
  // Whether the calling thread owns the mutex.
  virtual bool HeldByCaller() const = 0;
};

std::unique_ptr<PlatformMutex> CreatePlatformMutex();
