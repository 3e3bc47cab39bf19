#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "framework/metering/MeteringManager.h"

struct SpanSums;

// Per-channel RMS windows with their history and the balance derived from it, and the mid
// (sum) and side (difference) signals as block peaks and smoothed segment maxima. Passes run
// on the audio thread; the readers on the editor thread; Configure and Reset behind the
// plug-in's suspend-and-wait.
class BalanceAnalysis {
 public:
  static constexpr int kChannels = 2;
  static constexpr int kHistoryLength = 59;

  // One block's part of an analysis pass (AnalysisPass.h): spans that never cross the end of an
  // RMS window or a mid/side segment. A pass over no analysis, or over one never configured,
  // is inactive. The results come out in the order channel 0, channel 1, mid, side.
  class Pass {
   public:
    explicit Pass(BalanceAnalysis* analysis);
    bool IsActive() const { return mAnalysis != nullptr; }
    // Frames up to the next end of a window or a segment.
    std::int32_t Room() const;
    void Add(const SpanSums& span, std::int32_t frames);
    // Keeps the running window and segment, submits the block's peaks and the balance peak.
    void Finish();

   private:
    BalanceAnalysis* mAnalysis = nullptr;
    std::int32_t mWindowLength = 0;
    std::int32_t mSegmentLength = 0;
    std::int32_t mWindowCount = 0;
    float mSum0 = 0.0f;
    float mSum1 = 0.0f;
    std::int32_t mSegmentCount = 0;
    float mSegmentMid = 0.0f;
    float mSegmentSide = 0.0f;
    float mBlockMid = 0.0f;
    float mBlockSide = 0.0f;
    bool mHistoryChanged = false;
  };

  BalanceAnalysis();

  // The rate must be usable (IsUsableSampleRate); running windows start again.
  void Configure(float sampleRate);
  void Reset();

  float GetBalancePeak() const { return mBalancePeak.load(std::memory_order_relaxed); }
  void ResetBalancePeak() { mBalancePeak.store(0.0f, std::memory_order_relaxed); }
  // Fills `entries` (when given) with the balance of every history entry; answers their mean.
  float ReadBalanceHistory(std::vector<float>* entries) const;

  MeteringManager& GetMidPeakMeter() { return mMidPeak; }
  MeteringManager& GetSidePeakMeter() { return mSidePeak; }
  MeteringManager& GetMidAverageMeter() { return mMidAverage; }
  MeteringManager& GetSideAverageMeter() { return mSideAverage; }
  MeteringManager& GetSpareMeter() { return mSpare; }

  std::int32_t GetWindowLength() const { return mWindowLength.load(std::memory_order_relaxed); }
  std::int32_t GetSegmentLength() const { return mSegmentLength.load(std::memory_order_relaxed); }

 private:
  struct Channel {
    std::array<std::atomic<float>, kHistoryLength> history{};  // window RMS, a ring
    std::atomic<std::int32_t> position{0};
    std::atomic<float> sum{0.0f};  // squares of the running window
  };
  void CloseWindows(float sum0, float sum1, std::int32_t length);
  void CloseSegment(float segmentMid, float segmentSide);
  float MeanBalance() const;

  static_assert(std::atomic<float>::is_always_lock_free);
  static_assert(std::atomic<std::int32_t>::is_always_lock_free);

  std::array<Channel, kChannels> mChannels{};
  std::array<std::atomic<float>, kHistoryLength> mEntryBalance{};  // of the history, for Process
  std::atomic<float> mBalancePeak{0.0f};
  std::atomic<float> mMeanBalance{0.0f};  // of mEntryBalance
  std::atomic<std::int32_t> mWindowLength{0};
  std::atomic<std::int32_t> mWindowCount{0};  // both channels' windows run in step

  std::array<MeteringManager, kChannels> mChannelMeters{{MeteringManager(true), MeteringManager(true)}};
  MeteringManager mMidPeak{true};
  MeteringManager mSidePeak{true};
  MeteringManager mMidAverage{true};
  MeteringManager mSideAverage{true};
  MeteringManager mSpare{true};

  std::atomic<float> mMidAverageValue{0.0f};
  std::atomic<float> mSideAverageValue{0.0f};
  std::atomic<float> mSegmentMidMax{0.0f};
  std::atomic<float> mSegmentSideMax{0.0f};
  std::atomic<std::int32_t> mSegmentLength{0};
  std::atomic<std::int32_t> mSegmentCount{0};
  std::atomic<float> mSmoothing{0.0f};
};
