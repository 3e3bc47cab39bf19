#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/PlatformMutex.h"
#include "toolkit/editor/EditorHost.h"

// The adapter's side of the VST editor in tests: the instance mutex, counted, and the host's idle.
struct FakeEditorHost : EditorHost {
  // A host's own call, as the adapter's opcodes lock.
  bool LockMutex(bool tryOnly) {
    return Counted([&] { return mutex->Lock(tryOnly); });
  }
  bool LockMutexForEntry() override {
    return Counted([&] { return mutex->LockOrTakeOver(); });
  }
  void UnlockMutex() override {
    if (depth == 0) return;
    --depth;
    mutex->Unlock();
  }
  // The drag's hold counts as one more lock: depth is what keeps the mutex locked.
  void HoldMutex(bool hold) override {
    if (hold == held) return;
    held = hold;
    depth += hold ? 1 : -1;
    mutex->SetHold(hold);
  }
  void HostIdle() override {
    ++hostIdles;
    if (onHostIdle) onHostIdle();
  }
  std::unique_ptr<PlatformMutex> mutex = CreatePlatformMutex();
  int depth = 0;
  bool held = false;
  std::atomic<int> waiting{0};  // threads inside a lock
  int hostIdles = 0;
  std::function<void()> onHostIdle;

 private:
  template <class Lock>
  bool Counted(Lock lock) {
    ++waiting;
    const bool locked = lock();
    --waiting;
    if (locked) ++depth;
    return locked;
  }
};
