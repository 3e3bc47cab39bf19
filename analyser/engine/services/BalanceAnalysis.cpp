#include "analyser/engine/services/BalanceAnalysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analyser/engine/services/AnalysisView.h"
#include "framework/metering/Decibels.h"

BalanceAnalysis::BalanceAnalysis() { Reset(); }

void BalanceAnalysis::Configure(float sampleRate) {
  const std::int32_t window = static_cast<std::int32_t>(sampleRate * 0.05f);
  const std::int32_t segment = static_cast<std::int32_t>(static_cast<double>(sampleRate) * 0.1);
  mWindowLength.store(std::max<std::int32_t>(1, window), std::memory_order_relaxed);
  mSegmentLength.store(std::max<std::int32_t>(1, segment), std::memory_order_relaxed);
  const double updatesPerSecond = static_cast<double>(sampleRate) / std::max<std::int32_t>(1, segment);
  mSmoothing.store(static_cast<float>(SmoothingCoefficient(4.0, updatesPerSecond)),
                   std::memory_order_relaxed);
  mWindowCount.store(0, std::memory_order_relaxed);
  for (Channel& channel : mChannels) channel.sum.store(0.0f, std::memory_order_relaxed);
}

void BalanceAnalysis::Reset() {
  for (MeteringManager& meter : mChannelMeters) meter.Reset();
  mBalancePeak.store(0.0f, std::memory_order_relaxed);
  mMeanBalance.store(0.0f, std::memory_order_relaxed);
  for (Channel& channel : mChannels)
    for (std::atomic<float>& entry : channel.history) entry.store(0.0f, std::memory_order_relaxed);
  for (std::atomic<float>& entry : mEntryBalance) entry.store(0.0f, std::memory_order_relaxed);
  mSegmentCount.store(0, std::memory_order_relaxed);
  mSegmentMidMax.store(0.0f, std::memory_order_relaxed);
  mSegmentSideMax.store(0.0f, std::memory_order_relaxed);
  mMidAverageValue.store(0.0f, std::memory_order_relaxed);
  mSideAverageValue.store(0.0f, std::memory_order_relaxed);
}

void BalanceAnalysis::Process(const float* first, const float* second, std::int32_t frames) {
  const std::int32_t windowLength = mWindowLength.load(std::memory_order_relaxed);
  const std::int32_t segmentLength = mSegmentLength.load(std::memory_order_relaxed);
  if (first == nullptr || second == nullptr || frames <= 0 || windowLength <= 0) return;
  // One pass over the block, cut where an RMS window or a mid/side segment closes; the
  // results come out in the order channel 0, channel 1, mid, side.
  std::int32_t windowCount = mWindowCount.load(std::memory_order_relaxed);
  float sum0 = mChannels[0].sum.load(std::memory_order_relaxed);
  float sum1 = mChannels[1].sum.load(std::memory_order_relaxed);
  std::int32_t segmentCount = mSegmentCount.load(std::memory_order_relaxed);
  float segmentMid = mSegmentMidMax.load(std::memory_order_relaxed);
  float segmentSide = mSegmentSideMax.load(std::memory_order_relaxed);
  float blockMid = 0.0f, blockSide = 0.0f;
  bool historyChanged = false;
  std::int32_t i = 0;
  while (i < frames) {
    const std::int32_t todo = std::min({frames - i, std::max<std::int32_t>(1, windowLength - windowCount),
                                        std::max<std::int32_t>(1, segmentLength - segmentCount)});
    float mid = 0.0f, side = 0.0f;
    for (std::int32_t k = i; k < i + todo; ++k) {
      const float a = FiniteOrZero(first[k]);
      const float b = FiniteOrZero(second[k]);
      sum0 += a * a;
      sum1 += b * b;
      // Huge samples must not overflow into an average that then stays inf or NaN.
      mid = std::max(mid, std::min(std::fabs(a + b), std::numeric_limits<float>::max()));
      side = std::max(side, std::min(std::fabs(a - b), std::numeric_limits<float>::max()));
    }
    blockMid = std::max(blockMid, mid);
    blockSide = std::max(blockSide, side);
    segmentMid = std::max(segmentMid, mid);
    segmentSide = std::max(segmentSide, side);
    windowCount += todo;
    segmentCount += todo;
    i += todo;
    if (windowCount >= windowLength) {
      CloseWindows(sum0, sum1, windowLength);
      sum0 = sum1 = 0.0f;
      windowCount = 0;
      historyChanged = true;
    }
    if (segmentCount >= segmentLength) {
      CloseSegment(segmentMid, segmentSide);
      segmentMid = segmentSide = 0.0f;
      segmentCount = 0;
    }
  }
  mWindowCount.store(windowCount, std::memory_order_relaxed);
  mChannels[0].sum.store(sum0, std::memory_order_relaxed);
  mChannels[1].sum.store(sum1, std::memory_order_relaxed);
  mSegmentCount.store(segmentCount, std::memory_order_relaxed);
  mSegmentMidMax.store(segmentMid, std::memory_order_relaxed);
  mSegmentSideMax.store(segmentSide, std::memory_order_relaxed);
  mMidPeak.SubmitValue(blockMid);
  mSidePeak.SubmitValue(blockSide);

  // The mean changes only with the history.
  if (historyChanged) mMeanBalance.store(MeanBalance(), std::memory_order_relaxed);
  const float mean = mMeanBalance.load(std::memory_order_relaxed);
  float peak = mBalancePeak.load(std::memory_order_relaxed);
  if (std::fabs(mean) > std::fabs(peak))
    mBalancePeak.compare_exchange_strong(peak, mean, std::memory_order_relaxed);
}

void BalanceAnalysis::CloseWindows(float sum0, float sum1, std::int32_t length) {
  const float sums[kChannels] = {sum0, sum1};
  float rms[kChannels] = {};
  for (int index = 0; index < kChannels; ++index) {
    Channel& channel = mChannels[index];
    rms[index] = std::sqrt(sums[index] / static_cast<float>(length));
    mChannelMeters[index].SubmitValue(rms[index]);
    const std::int32_t position = channel.position.load(std::memory_order_relaxed);
    channel.history[position].store(rms[index], std::memory_order_relaxed);
    channel.position.store((position + 1) % kHistoryLength, std::memory_order_relaxed);
  }
  // Both channels' windows close together, so they share the history position.
  const std::int32_t written =
      (mChannels[0].position.load(std::memory_order_relaxed) + kHistoryLength - 1) % kHistoryLength;
  mEntryBalance[written].store(FastLinearToDb(rms[1]) - FastLinearToDb(rms[0]), std::memory_order_relaxed);
}

void BalanceAnalysis::CloseSegment(float segmentMid, float segmentSide) {
  const float smoothing = mSmoothing.load(std::memory_order_relaxed);
  float midAverage = mMidAverageValue.load(std::memory_order_relaxed);
  midAverage += (segmentMid - midAverage) * smoothing;
  mMidAverageValue.store(midAverage, std::memory_order_relaxed);
  float sideAverage = mSideAverageValue.load(std::memory_order_relaxed);
  sideAverage += (segmentSide - sideAverage) * smoothing;
  mSideAverageValue.store(sideAverage, std::memory_order_relaxed);
  mMidAverage.SubmitValue(midAverage);
  mSideAverage.SubmitValue(sideAverage);
}

float BalanceAnalysis::MeanBalance() const {
  float sum = 0.0f;
  for (const std::atomic<float>& entry : mEntryBalance) sum += entry.load(std::memory_order_relaxed);
  return sum / static_cast<float>(kHistoryLength);
}

float BalanceAnalysis::ReadBalanceHistory(std::vector<float>* entries) const {
  if (entries != nullptr && entries->size() != kHistoryLength) entries->resize(kHistoryLength);
  float sum = 0.0f;
  for (int i = 0; i < kHistoryLength; ++i) {
    const float balance = FastLinearToDb(mChannels[1].history[i].load(std::memory_order_relaxed)) -
                          FastLinearToDb(mChannels[0].history[i].load(std::memory_order_relaxed));
    if (entries != nullptr) (*entries)[i] = balance;
    sum += balance;
  }
  return sum / static_cast<float>(kHistoryLength);
}
