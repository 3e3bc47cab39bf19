#pragma once

#include <atomic>
#include <cstdint>

struct SpanSums;

// Correlation of two channels over consecutive windows, with a minimum hold and a long-term
// average of the per-window results. Passes run on the audio thread; the getters and resets on
// the editor thread; Configure behind the plug-in's suspend-and-wait.
class CorrelationMeter {
  // Sums of one window, taken as deviations from its first sample pair so that a DC offset
  // costs no precision.
  struct Sums {
    double a = 0.0, b = 0.0, ab = 0.0, aa = 0.0, bb = 0.0;
    float firstA = 0.0f, firstB = 0.0f;
    std::int32_t count = 0;
  };

 public:
  static constexpr float kWindowSeconds = 0.05f;

  // One block's part of an analysis pass (AnalysisPass.h): spans that never cross the end of a
  // window. A pass over no meter, or over one never configured, is inactive.
  class Pass {
   public:
    explicit Pass(CorrelationMeter* meter);
    bool IsActive() const { return mMeter != nullptr; }
    // Frames up to the end of the running window.
    std::int32_t Room() const;
    // Before each span: a window that starts here takes the span's first pair as its origin.
    void Begin(float first, float second);
    double OriginFirst() const { return mSums.firstA; }
    double OriginSecond() const { return mSums.firstB; }
    void Add(const SpanSums& span, std::int32_t frames);
    // Keeps the running window for the next block.
    void Finish();

   private:
    CorrelationMeter* mMeter = nullptr;
    std::int32_t mLength = 0;
    Sums mSums{};
  };

  // Window of `windowLength` samples (at least 1); the running window is kept.
  void Configure(std::int32_t windowLength, float averageCoefficient, float holdCoefficient);

  float GetCorrelation() const { return mCorrelation.load(std::memory_order_relaxed); }
  float GetMinHold() const { return mMinHold.load(std::memory_order_relaxed); }
  float GetAverage() const { return mAverage.load(std::memory_order_relaxed); }
  void ResetCorrelation() { mCorrelation.store(1.0f, std::memory_order_relaxed); }
  void ResetMinHold() { mMinHold.store(1.0f, std::memory_order_relaxed); }
  void ResetAverage() { mAverage.store(1.0f, std::memory_order_relaxed); }
  std::int32_t GetWindowLength() const { return mWindowLength.load(std::memory_order_relaxed); }

 private:
  void CloseWindow(const Sums& sums, std::int32_t windowLength);

  std::atomic<float> mCorrelation{1.0f};
  std::atomic<float> mMinHold{1.0f};
  std::atomic<float> mAverage{1.0f};
  std::atomic<float> mAverageCoefficient{0.0f};
  std::atomic<float> mHoldCoefficient{0.0f};
  std::atomic<std::int32_t> mWindowLength{0};
  static_assert(std::atomic<float>::is_always_lock_free);
  static_assert(std::atomic<std::int32_t>::is_always_lock_free);

  Sums mSums{};  // audio thread only
};
