#include "framework/metering/Taper.h"

#include <cmath>

float TaperPositionToValue(float position, float curve) {
  if (position == 1.0f) return 1.0f;
  const float logCurve = std::log10(curve);
  return std::pow(10.0f, (std::log10(curve + 1.0f) - logCurve) * position + logCurve) - curve;
}

float TaperValueToPosition(float value, float curve) {
  const float logCurve = std::log10(curve);
  return (std::log10(curve + value) - logCurve) / (std::log10(curve + 1.0f) - logCurve);
}
