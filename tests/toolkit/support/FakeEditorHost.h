#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/PlatformMutex.h"
#include "toolkit/editor/EditorHost.h"

// The adapter's side of the VST editor in tests: the instance mutex, counted, and the host's idle.
struct FakeEditorHost : EditorHost {
  bool LockMutex(bool tryOnly) override {
    ++waiting;
    const bool locked = mutex->Lock(tryOnly);
    --waiting;
    if (!locked) return false;
    ++depth;
    return true;
  }
  void UnlockMutex() override {
    if (depth == 0) return;
    --depth;
    mutex->Unlock();
  }
  void HostIdle() override {
    ++hostIdles;
    if (onHostIdle) onHostIdle();
  }
  std::unique_ptr<PlatformMutex> mutex = CreatePlatformMutex();
  int depth = 0;
  std::atomic<int> waiting{0};  // threads inside LockMutex
  int hostIdles = 0;
  std::function<void()> onHostIdle;
};
