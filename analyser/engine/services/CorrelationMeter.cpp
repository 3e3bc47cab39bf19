#include "analyser/engine/services/CorrelationMeter.h"

#include <algorithm>
#include <cmath>

#include "analyser/engine/services/AnalysisView.h"
#include "analyser/engine/services/SpanKernel.h"

namespace {

// value += (target - value) * coefficient, only when target is below it if onlyDown. A reset
// from the editor thread in between wins: the update is dropped rather than undoing it.
void Follow(std::atomic<float>& value, float target, float coefficient, bool onlyDown) {
  float current = value.load(std::memory_order_relaxed);
  if (onlyDown && !(target < current)) return;
  value.compare_exchange_strong(current, current + (target - current) * coefficient,
                                std::memory_order_relaxed);
}

}  // namespace

void CorrelationMeter::Configure(std::int32_t windowLength, float averageCoefficient, float holdCoefficient) {
  mWindowLength.store(std::max<std::int32_t>(1, windowLength), std::memory_order_relaxed);
  mAverageCoefficient.store(averageCoefficient, std::memory_order_relaxed);
  mHoldCoefficient.store(holdCoefficient, std::memory_order_relaxed);
}

CorrelationMeter::Pass::Pass(CorrelationMeter* meter) {
  if (meter == nullptr) return;
  mLength = meter->mWindowLength.load(std::memory_order_relaxed);
  if (mLength <= 0) return;
  mMeter = meter;
  mSums = meter->mSums;
}

// A window shortened by Configure while it ran closes at its next sample.
std::int32_t CorrelationMeter::Pass::Room() const { return std::max<std::int32_t>(1, mLength - mSums.count); }

void CorrelationMeter::Pass::Begin(float first, float second) {
  if (mSums.count != 0) return;
  mSums.firstA = FiniteOrZero(first);
  mSums.firstB = FiniteOrZero(second);
}

void CorrelationMeter::Pass::Add(const SpanSums& span, std::int32_t frames) {
  mSums.a += span.first;
  mSums.b += span.second;
  mSums.ab += span.product;
  mSums.aa += span.firstSquares;
  mSums.bb += span.secondSquares;
  mSums.count += frames;
  if (mSums.count < mLength) return;
  mMeter->CloseWindow(mSums, mLength);
  mSums = Sums{};
}

void CorrelationMeter::Pass::Finish() {
  if (mMeter != nullptr) mMeter->mSums = mSums;
}

void CorrelationMeter::CloseWindow(const Sums& s, std::int32_t windowLength) {
  const double n = s.count;
  const double numerator = n * s.ab - s.a * s.b;
  const double denominator = std::sqrt(n * s.bb - s.b * s.b) * std::sqrt(n * s.aa - s.a * s.a);
  float correlation = 0.0f;
  if (denominator > 0.0)
    correlation = static_cast<float>(std::clamp(numerator / denominator, -1.0, 1.0));
  else
    correlation = numerator == 0.0 ? 1.0f : 0.0f;  // silence, DC or one silent channel
  mCorrelation.store(correlation, std::memory_order_relaxed);

  Follow(mMinHold, correlation, mHoldCoefficient.load(std::memory_order_relaxed), true);
  // Only a first channel above -60 dB RMS and a second that is not silent move the average.
  // Raw sums of squares from the deviations: sum (d + x0)^2 = sum d^2 + 2 x0 sum d + n x0^2.
  const double rawAA = s.aa + 2.0 * s.firstA * s.a + n * s.firstA * s.firstA;
  const double rawBB = s.bb + 2.0 * s.firstB * s.b + n * s.firstB * s.firstB;
  if (rawAA / windowLength >= static_cast<double>(1e-6f) && rawBB / windowLength != 0.0)
    Follow(mAverage, correlation, mAverageCoefficient.load(std::memory_order_relaxed), false);
}
