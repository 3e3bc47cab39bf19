#pragma once

// What the VST editor needs of its adapter: the instance mutex (recursive for its owner; whoever
// releases it last applies a program change that found it busy) and the host's idle.
class EditorHost {
 public:
  // For an editor entry: waits for another thread's entry to end. A drag's hold that another
  // thread keeps between its entries passes to the caller with the mutex.
  virtual bool LockMutexForEntry() = 0;
  virtual void UnlockMutex() = 0;
  // With the mutex locked: keeps it locked past the caller's entries (a drag, from press to
  // release), or no longer.
  virtual void HoldMutex(bool hold) = 0;
  // Lets the host idle (audioMasterIdle).
  virtual void HostIdle() = 0;

 protected:
  ~EditorHost() = default;
};
