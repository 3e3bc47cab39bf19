#include "analyser/engine/services/BalanceAnalysis.h"

#include <algorithm>
#include <cmath>

#include "analyser/engine/services/SpanKernel.h"
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

BalanceAnalysis::Pass::Pass(BalanceAnalysis* analysis) {
  if (analysis == nullptr) return;
  mWindowLength = analysis->mWindowLength.load(std::memory_order_relaxed);
  mSegmentLength = analysis->mSegmentLength.load(std::memory_order_relaxed);
  if (mWindowLength <= 0 || mSegmentLength <= 0) return;
  mAnalysis = analysis;
  mWindowCount = analysis->mWindowCount.load(std::memory_order_relaxed);
  mSum0 = analysis->mChannels[0].sum.load(std::memory_order_relaxed);
  mSum1 = analysis->mChannels[1].sum.load(std::memory_order_relaxed);
  mSegmentCount = analysis->mSegmentCount.load(std::memory_order_relaxed);
  mSegmentMid = analysis->mSegmentMidMax.load(std::memory_order_relaxed);
  mSegmentSide = analysis->mSegmentSideMax.load(std::memory_order_relaxed);
}

std::int32_t BalanceAnalysis::Pass::Room() const {
  return std::min(std::max<std::int32_t>(1, mWindowLength - mWindowCount),
                  std::max<std::int32_t>(1, mSegmentLength - mSegmentCount));
}

void BalanceAnalysis::Pass::Add(const SpanSums& span, std::int32_t frames) {
  mSum0 += span.squares0;
  mSum1 += span.squares1;
  mBlockMid = std::max(mBlockMid, span.mid);
  mBlockSide = std::max(mBlockSide, span.side);
  mSegmentMid = std::max(mSegmentMid, span.mid);
  mSegmentSide = std::max(mSegmentSide, span.side);
  mWindowCount += frames;
  mSegmentCount += frames;
  if (mWindowCount >= mWindowLength) {
    mAnalysis->CloseWindows(mSum0, mSum1, mWindowLength);
    mSum0 = mSum1 = 0.0f;
    mWindowCount = 0;
    mHistoryChanged = true;
  }
  if (mSegmentCount >= mSegmentLength) {
    mAnalysis->CloseSegment(mSegmentMid, mSegmentSide);
    mSegmentMid = mSegmentSide = 0.0f;
    mSegmentCount = 0;
  }
}

void BalanceAnalysis::Pass::Finish() {
  if (mAnalysis == nullptr) return;
  BalanceAnalysis& a = *mAnalysis;
  a.mWindowCount.store(mWindowCount, std::memory_order_relaxed);
  a.mChannels[0].sum.store(mSum0, std::memory_order_relaxed);
  a.mChannels[1].sum.store(mSum1, std::memory_order_relaxed);
  a.mSegmentCount.store(mSegmentCount, std::memory_order_relaxed);
  a.mSegmentMidMax.store(mSegmentMid, std::memory_order_relaxed);
  a.mSegmentSideMax.store(mSegmentSide, std::memory_order_relaxed);
  a.mMidPeak.SubmitValue(mBlockMid);
  a.mSidePeak.SubmitValue(mBlockSide);

  // The mean changes only with the history.
  if (mHistoryChanged) a.mMeanBalance.store(a.MeanBalance(), std::memory_order_relaxed);
  const float mean = a.mMeanBalance.load(std::memory_order_relaxed);
  float peak = a.mBalancePeak.load(std::memory_order_relaxed);
  if (std::fabs(mean) > std::fabs(peak))
    a.mBalancePeak.compare_exchange_strong(peak, mean, std::memory_order_relaxed);
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
