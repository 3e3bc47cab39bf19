#pragma once

#include <atomic>
#include <cstdint>

// Correlation of two channels over consecutive windows, with a minimum hold and a long-term
// average of the per-window results. Process runs on the audio thread; the getters and resets
// on the editor thread; Configure behind the plug-in's suspend-and-wait.
class CorrelationMeter {
 public:
  static constexpr float kWindowSeconds = 0.05f;

  // Window of `windowLength` samples (at least 1); the running window is kept.
  void Configure(std::int32_t windowLength, float averageCoefficient, float holdCoefficient);
  void Process(const float* first, const float* second, std::int32_t frames);

  float GetCorrelation() const { return mCorrelation.load(std::memory_order_relaxed); }
  float GetMinHold() const { return mMinHold.load(std::memory_order_relaxed); }
  float GetAverage() const { return mAverage.load(std::memory_order_relaxed); }
  void ResetCorrelation() { mCorrelation.store(1.0f, std::memory_order_relaxed); }
  void ResetMinHold() { mMinHold.store(1.0f, std::memory_order_relaxed); }
  void ResetAverage() { mAverage.store(1.0f, std::memory_order_relaxed); }
  std::int32_t GetWindowLength() const { return mWindowLength.load(std::memory_order_relaxed); }

 private:
  // Sums of one window, taken as deviations from its first sample pair so that a DC offset
  // costs no precision.
  struct Sums {
    double a = 0.0, b = 0.0, ab = 0.0, aa = 0.0, bb = 0.0;
    float firstA = 0.0f, firstB = 0.0f;
    std::int32_t count = 0;
  };
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
