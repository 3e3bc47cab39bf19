#include "framework/core/AudioGate.h"

#include <thread>

#include "framework/core/AtomicCounter.h"
#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"

static_assert(std::atomic<bool>::is_always_lock_free);

// Announces the hook before looking at the suspend count: a pause raises the count and then
// waits for the flag, so one of the two always sees the other.
AudioGate::Entry::Entry(AudioGate& gate) : mGate(gate) {
  mGate.mInProcess.store(true);
  mEntered = mGate.mSuspendCount.load() == 0;
  if (!mEntered) mGate.mInProcess.store(false);
}

AudioGate::Entry::~Entry() {
  if (mEntered) mGate.mInProcess.store(false);
}

AudioGate::Scope::Scope(Scope&& other) noexcept : mGate(other.mGate), mEnd(other.mEnd) {
  other.mGate = nullptr;
}

AudioGate::Scope::~Scope() {
  if (mGate) (mGate->*mEnd)();
}

void AudioGate::EndBusy() { DecrementWithFloor(mBusy); }

AudioGate::Scope AudioGate::PauseOrThrow() {
  Suspend(true);
  Scope pause(this, &AudioGate::EndPause);
  const auto deadline = std::chrono::steady_clock::now() + mPauseLimit;
  while (IsInProcess()) {
    if (std::chrono::steady_clock::now() >= deadline)
      throw AppFrame::TimeOut(&ThrowSites::kAudioPauseTimeOut);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return pause;
}

std::int32_t AudioGate::Suspend(bool suspend) {
  if (suspend) return mSuspendCount.fetch_add(1) + 1;
  return DecrementWithFloor(mSuspendCount);
}
