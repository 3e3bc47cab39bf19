#include "host/audio/SampleMath.h"

#include <cmath>

namespace tolvaran {

// Clamped by comparison: the closed form (|a+b| - |a-b|) / 2 loses small samples to rounding
// and turns samples beyond 2^24 times the bound into 0.
float limit(float a, float b) {
  if (std::isnan(b)) return b;
  const float bound = std::fabs(b);
  const float clamped = a > bound ? bound : (a < -bound ? -bound : a);
  return b < 0.0f ? -clamped : clamped;
}

void copy_clipped(const float* values, int frames, float* out) {
  if (!values) return;
  for (int i = 0; i < frames; ++i) out[i] = limit(values[i], 1.0f);
}

float sign(float x) {
  if (x > 0.0f) return 1.0f;
  if (x < 0.0f) return -1.0f;
  return x;
}

float soft_limiter(float a, float b) {
  static float average = 0.0f;
  const float sum = a + b;
  // A non-finite sample would poison the average for good; it only passes through.
  if (std::isfinite(sum)) average = (average * 99.0f + std::fabs(sum)) / 100.0f;
  const float half = std::fabs(average) / 2.0f;
  return sum / (half * half + 1.1f);
}

}  // namespace tolvaran
