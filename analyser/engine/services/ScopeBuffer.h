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
  // Drawing side only: hands a ready buffer back to the writer. A buffer that is not ready is
  // the writer's already, so a second hand-back changes nothing.
  void Release() {
    if (!IsReady()) return;
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
  // kHandedBack | the sequence of a ready buffer that a reset gave up; the reader hands it back
  // unread when it next collects.
  std::atomic<std::uint64_t> handedBack{0};
  static constexpr std::uint64_t kHandedBack = std::uint64_t{1} << 32;
};

// The phase service's fixed pool of scope buffers. Passes and Fill run on the audio thread;
// Collect and Release on the drawing side; Clear and HandBackReady with audio suspended, on any
// thread. The reader's toggle is the drawing side's alone: a reset only marks the ready buffers,
// which the drawing side then hands back itself.
class ScopeBufferPool {
 public:
  static constexpr int kSize = 5;

  // One block's part of an analysis pass (AnalysisPass.h): spans that never cross the end of a
  // buffer. A pass over no pool is inactive.
  class Pass {
   public:
    explicit Pass(ScopeBufferPool* pool);
    bool IsActive() const { return mPool != nullptr; }
    // Frames the buffer being filled can still take, after taking the first free buffer when
    // none is being filled; 0 when every buffer is ready and unread: the scope then skips the
    // rest of the block rather than wait.
    std::int32_t Room();
    float* FirstDestination() const;
    float* SecondDestination() const;
    // `peak` is the largest absolute sample of the span copied into the destinations.
    void Add(float peak, std::int32_t frames);
    void Finish();

   private:
    ScopeBufferPool* mPool = nullptr;
    int mCurrent = -1;
  };

  // Copies the block into free buffers; frames that find no free buffer are dropped.
  void Fill(const float* first, const float* second, std::int32_t frames);
  // Every ready buffer, oldest sequence number first; true when there is one. Buffers a reset
  // gave up are handed back here, unread.
  bool CollectReady(std::vector<ScopeBuffer*>& out);
  // Ready buffers return to the writer unread, at the drawing side's next collect.
  void HandBackReady();
  // Every buffer as built, none being filled; the sequence counter runs on. Ready buffers are
  // the drawing side's: they are handed back as by HandBackReady.
  void Clear();

  ScopeBuffer& Buffer(int index) { return mBuffers[index]; }

 private:
  static_assert(std::atomic<std::int32_t>::is_always_lock_free);
  static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
  static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
  static_assert(std::atomic<float>::is_always_lock_free);

  ScopeBuffer mBuffers[kSize];
  std::atomic<int> mCurrent{-1};  // being filled; written by the audio thread and by Clear
  std::atomic<std::uint32_t> mNextSequence{0};
};
