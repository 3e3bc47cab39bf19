#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>

class MeteringReader;

// Hands a level from the audio thread to any number of readers on the editor thread. Each
// reader keeps the peak since its last read. Readers live in a fixed set of slots owned by the
// manager, so the audio thread never walks a list that the editor changes, and nothing it
// writes is ever freed under it.
class MeteringManager {
 public:
  static constexpr int kReaderSlots = 16;

  explicit MeteringManager(bool linear);
  virtual ~MeteringManager();

  MeteringManager(const MeteringManager&) = delete;
  MeteringManager& operator=(const MeteringManager&) = delete;

  // Editor thread. The reader is the caller's; when every slot is taken it is not attached
  // (IsAttached false) and reads the floor.
  std::unique_ptr<MeteringReader> AddReader();
  void RemoveReader(MeteringReader* reader);

  // Audio thread.
  void SetValue(float value, bool keepPeaks);
  void SubmitValue(float value) { SetValue(value, true); }
  void Reset();

  float GetValue() const { return mValue.load(std::memory_order_relaxed); }
  bool IsLinear() const { return mLinear.load(std::memory_order_relaxed); }
  void SetLinear() { mLinear.store(true, std::memory_order_relaxed); }
  void ClearLinear() { mLinear.store(false, std::memory_order_relaxed); }

 private:
  friend class MeteringReader;

  // The slot's value is the peak since its reader last took it, or kEmpty once taken: the next
  // value then replaces it whatever its size. The reader takes it with an exchange and the audio
  // thread keeps the maximum with a compare-and-swap, so no peak stored in between is lost.
  struct Slot {
    std::atomic<bool> inUse{false};
    std::atomic<float> held{0.0f};
    std::atomic<std::int64_t> tick{0};
    MeteringReader* reader = nullptr;  // editor thread only
  };
  static constexpr float kEmpty = std::numeric_limits<float>::quiet_NaN();
  static_assert(std::atomic<bool>::is_always_lock_free);
  static_assert(std::atomic<float>::is_always_lock_free);
  static_assert(std::atomic<std::int64_t>::is_always_lock_free);

  Slot mSlots[kReaderSlots];
  std::atomic<float> mValue{0.0f};
  std::atomic<bool> mLinear{true};
};

// One editor-side view of a manager's level. Created by MeteringManager::AddReader; either the
// reader or its manager may be destroyed first.
class MeteringReader {
 public:
  ~MeteringReader();

  MeteringReader(const MeteringReader&) = delete;
  MeteringReader& operator=(const MeteringReader&) = delete;

  bool IsAttached() const { return mManager != nullptr; }
  void SetHoldTicks(std::int64_t ticks) { mHoldTicks = ticks; }
  void SetFloor(float floor) { mFloor = floor; }
  void SetFallRate(float dbPer60Ticks);
  void Detach();

  float ReadDb();
  float ReadLinear();
  float ReadRaw();
  float ReadDbFalling();

 private:
  friend class MeteringManager;
  MeteringReader(MeteringManager* manager, int slot, bool linear);

  float ReadStep();
  bool Linear() const { return mManager != nullptr ? mManager->IsLinear() : mLinear; }
  void Forget();

  MeteringManager* mManager = nullptr;
  int mSlot = -1;
  bool mLinear = true;  // the manager's flag, remembered for reads after it is gone
  float mHeld = 0.0f;   // the value last taken from the slot
  std::int64_t mHeldTick = 0;
  std::int64_t mHoldTicks = 0;
  float mFloor = 0.0f;
  float mFallRate = 12.0f;
  float mFallValue = -160.0f;
  std::int64_t mLastReadTick = 0;
  std::int64_t mPreviousReadTick = 0;
};
