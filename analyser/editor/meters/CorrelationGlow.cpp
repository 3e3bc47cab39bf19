#include "analyser/editor/meters/CorrelationGlow.h"

#include <algorithm>
#include <cmath>

std::int32_t CorrelationGlow::Segment(float correlation) {
  const float column = std::trunc((correlation + 1.0f) * 58.0f);
  if (!(column > 0.0f)) return 0;
  return column >= float(kColumns - 1) ? kColumns - 1 : std::int32_t(column);
}

void CorrelationGlow::Advance(float correlation, float average) {
  const float r = std::isnan(correlation) ? mLastCorrelation : correlation;
  const std::int32_t from = Segment(mLastCorrelation), to = Segment(r);
  const std::int32_t step = to > from ? 1 : -1;
  float light = 1.0f / float(std::abs(to - from) + 1);
  for (std::int32_t k = from;; k += step) {
    mGlow[k] += light;
    if (mGlow[k] >= float(kLevels)) mGlow[k] = float(kLevels - 1);
    light *= 2.0f;
    if (k == to) break;
  }
  mSmoothed = mGlow;
  float g = mSmoothed[0];
  for (float& s : mSmoothed) s = g = g + (s - g) * kSmoothing;
  float h = mSmoothed[kColumns - 1];
  for (auto s = mSmoothed.rbegin(); s != mSmoothed.rend(); ++s) *s = h = h + (*s - h) * kSmoothing;
  for (float& glow : mGlow) glow *= kDecay;
  mAverageColumn = Segment(std::isnan(average) ? 1.0f : average);
  mLastCorrelation = r;
}

std::int32_t CorrelationGlow::Level(std::int32_t column) const {
  return std::clamp<std::int32_t>(std::int32_t(mSmoothed[column]), 0, kLevels - 1);
}
