#pragma once

#include <memory>

// The instance mutex. Recursive for the thread that owns it; Lock(true) fails only when another
// thread holds it; Lock(false) waits without limit. Unlock from a thread that does not own it
// does nothing.
class PlatformMutex {
 public:
  virtual ~PlatformMutex() = default;
  virtual bool Lock(bool tryOnly) = 0;
  virtual void Unlock() = 0;
  // Whether the calling thread owns the mutex.
  virtual bool HeldByCaller() const = 0;
};

std::unique_ptr<PlatformMutex> CreatePlatformMutex();
