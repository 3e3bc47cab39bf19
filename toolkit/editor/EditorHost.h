#pragma once

// What the VST editor needs of its adapter: the instance mutex (recursive for its owner; whoever
// releases it last applies a program change that found it busy) and the host's idle.
class EditorHost {
 public:
  // tryOnly: fail at once when another thread holds the mutex, rather than wait for it.
  static constexpr bool kTryOnly = true, kWaitForIt = false;
  virtual bool LockMutex(bool tryOnly) = 0;
  virtual void UnlockMutex() = 0;
  // Lets the host idle (audioMasterIdle).
  virtual void HostIdle() = 0;

 protected:
  ~EditorHost() = default;
};
