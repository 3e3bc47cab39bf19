#include "framework/metering/MeteringManager.h"

#include <cmath>

#include "framework/metering/Decibels.h"
#include "platform/Clock.h"

MeteringManager::MeteringManager(bool linear) : mLinear(linear) {}

MeteringManager::~MeteringManager() {
  for (Slot& slot : mSlots)
    if (slot.reader != nullptr) slot.reader->Forget();
}

std::unique_ptr<MeteringReader> MeteringManager::AddReader() {
  const bool linear = IsLinear();
  for (int i = 0; i < kReaderSlots; ++i) {
    Slot& slot = mSlots[i];
    if (slot.inUse.load(std::memory_order_relaxed)) continue;
    // The reader holds 0 until the first value, which replaces it whatever its size (0 dB would
    // be full scale).
    slot.held.store(kEmpty, std::memory_order_relaxed);
    slot.tick.store(0, std::memory_order_relaxed);
    std::unique_ptr<MeteringReader> reader(new MeteringReader(this, i, linear));
    slot.reader = reader.get();
    // Publishes the cleared fields before the audio thread may write the slot.
    slot.inUse.store(true, std::memory_order_release);
    return reader;
  }
  return std::unique_ptr<MeteringReader>(new MeteringReader(nullptr, -1, linear));
}

void MeteringManager::RemoveReader(MeteringReader* reader) {
  if (reader == nullptr || reader->mManager != this) return;
  Slot& slot = mSlots[reader->mSlot];
  slot.inUse.store(false, std::memory_order_release);
  slot.reader = nullptr;
  reader->Forget();
}

void MeteringManager::SetValue(float value, bool keepPeaks) {
  // A NaN would stick in every reader: no comparison could ever replace it.
  if (std::isnan(value)) return;
  mValue.store(value, std::memory_order_relaxed);
  bool haveNow = false;
  std::int64_t now = 0;
  for (Slot& slot : mSlots) {
    if (!slot.inUse.load(std::memory_order_acquire)) continue;
    float held = slot.held.load(std::memory_order_relaxed);
    for (;;) {
      if (keepPeaks && !std::isnan(held) && !(value > held)) break;
      if (!haveNow) {
        // The audio thread reads no clock: the tick the editor side last read is recent enough
        // for a hold of several ticks, and while no editor reads, old values simply look old.
        now = Clock::GetLastTimerTick();
        haveNow = true;
      }
      // Tick before value: a reader that takes the new value sees its tick.
      slot.tick.store(now, std::memory_order_relaxed);
      // Fails when the reader took the value meanwhile (held is then kEmpty, which this value
      // replaces) or spuriously; either way held is reloaded and compared again.
      if (slot.held.compare_exchange_weak(held, value, std::memory_order_release, std::memory_order_relaxed))
        break;
    }
  }
}

void MeteringManager::Reset() { SetValue(IsLinear() ? 0.0f : -1000.0f, false); }

MeteringReader::MeteringReader(MeteringManager* manager, int slot, bool linear)
    : mManager(manager), mSlot(slot), mLinear(linear), mFloor(linear ? 0.0f : -1000.0f) {}

MeteringReader::~MeteringReader() { Detach(); }

void MeteringReader::SetFallRate(float dbPer60Ticks) { mFallRate = std::fabs(dbPer60Ticks); }

void MeteringReader::Detach() {
  if (mManager != nullptr) mManager->RemoveReader(this);
}

void MeteringReader::Forget() {
  if (mManager != nullptr) mLinear = mManager->IsLinear();
  mManager = nullptr;
  mSlot = -1;
}

float MeteringReader::ReadStep() {
  const std::int64_t now = Clock::GetTimerTick();
  mLastReadTick = now;
  if (mManager == nullptr) return mFloor;
  MeteringManager::Slot& slot = mManager->mSlots[mSlot];
  const float taken = slot.held.exchange(MeteringManager::kEmpty, std::memory_order_acquire);
  if (!std::isnan(taken)) {
    mHeld = taken;
    mHeldTick = slot.tick.load(std::memory_order_relaxed);
  }
  if (mHoldTicks != 0 && now - mHeldTick > mHoldTicks) return mFloor;
  return mHeld;
}

float MeteringReader::ReadDb() {
  const float held = ReadStep();
  if (Linear()) return static_cast<float>(LinearToDbFloor(held, 1e-6));
  return held;
}

float MeteringReader::ReadLinear() {
  const float held = ReadStep();
  if (Linear()) return held;
  return static_cast<float>(DbToLinear(held));
}

float MeteringReader::ReadRaw() { return ReadStep(); }

float MeteringReader::ReadDbFalling() {
  const float previous = mFallValue;
  const float current = ReadDb();
  const float elapsed = static_cast<float>(mLastReadTick - mPreviousReadTick);
  mPreviousReadTick = mLastReadTick;
  if (current > previous) {
    mFallValue = current;
  } else {
    const float allowed = elapsed / 60.0f * mFallRate;
    mFallValue = (previous - current > allowed) ? previous - allowed : current;
  }
  return mFallValue;
}
