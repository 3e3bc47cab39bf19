#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// One stereo buffer of the phase scope. The toggles decide who owns it: while they differ the
// audio thread may fill it; once equal it is ready and belongs to the drawing side until that
// side flips the read toggle. The flips are release stores and the checks acquire loads, so the
// samples are complete before the other side may look at them.
struct ScopeBuffer {
  static constexpr std::int32_t kFrames = 2048;

  bool IsReady() const {
    return readToggle.load(std::memory_order_acquire) == writeToggle.load(std::memory_order_acquire);
  }
  // Drawing side: hands a ready buffer back to the writer.
  void Release() {
    const std::int32_t toggle = readToggle.load(std::memory_order_relaxed);
    readToggle.store(toggle ^ 1, std::memory_order_release);
  }

  std::atomic<std::int32_t> readToggle{0};
  std::atomic<std::int32_t> writeToggle{1};
  std::atomic<std::uint32_t> sequence{0};
  float first[kFrames] = {};
  float second[kFrames] = {};
  std::atomic<float> peak{0.0f};
  std::atomic<std::int32_t> fillPosition{0};
};

// The phase service's fixed pool of scope buffers. Fill runs on the audio thread; Collect and
// Release on the drawing side; Clear and HandBackReady with audio suspended.
class ScopeBufferPool {
 public:
  static constexpr int kSize = 5;

  // Copies the block into free buffers; frames that find no free buffer are dropped.
  void Fill(const float* first, const float* second, std::int32_t frames);
  // Every ready buffer, oldest sequence number first; true when there is one.
  bool CollectReady(std::vector<ScopeBuffer*>& out);
  // Ready buffers return to the writer unread.
  void HandBackReady();
  // Every buffer as built, none being filled; the sequence counter runs on.
  void Clear();

  ScopeBuffer& Buffer(int index) { return mBuffers[index]; }

 private:
  static_assert(std::atomic<std::int32_t>::is_always_lock_free);
  static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
  static_assert(std::atomic<float>::is_always_lock_free);

  ScopeBuffer mBuffers[kSize];
  std::atomic<int> mCurrent{-1};  // being filled; written by the audio thread and by Clear
  std::atomic<std::uint32_t> mNextSequence{0};
};
