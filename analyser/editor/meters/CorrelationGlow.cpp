#include "analyser/editor/meters/CorrelationGlow.h"

#include <algorithm>
#include <cmath>

std::int32_t CorrelationGlow::Segment(float correlation) {
  const float column = std::trunc((correlation + 1.0f) * 58.0f);
  if (!(column > 0.0f)) return 0;
  return column >= float(kColumns - 1) ? kColumns - 1 : std::int32_t(column);
}

bool CorrelationGlow::Advance(float correlation, float average) {
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
  std::array<float, kColumns> smoothed = mGlow;
  float g = smoothed[0];
  for (float& s : smoothed) s = g = g + (s - g) * kSmoothing;
  float h = smoothed[kColumns - 1];
  for (auto s = smoothed.rbegin(); s != smoothed.rend(); ++s) *s = h = h + (*s - h) * kSmoothing;
  for (float& glow : mGlow) glow *= kDecay;
  mLastCorrelation = r;
  bool changed = false;
  for (std::size_t k = 0; k < smoothed.size(); ++k) {
    const auto level = std::int8_t(std::clamp<std::int32_t>(std::int32_t(smoothed[k]), 0, kLevels - 1));
    changed |= level != mLevels[k];
    mLevels[k] = level;
  }
  const std::int32_t averageColumn = Segment(std::isnan(average) ? 1.0f : average);
  changed |= averageColumn != mAverageColumn;
  mAverageColumn = averageColumn;
  return changed;
}
