#include "framework/metering/Decibels.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

double DbToLinear(double db) { return std::pow(10.0, db / 20.0); }

double LinearToDbFloor(double a, double floor) {
  if (a < floor) return -1000.0;
  return 20.0 * std::log10(a);
}

float FastLinearToDb(float x) {
  float sign = 1.0f;
  if (x > 1.0f) {
    sign = -1.0f;
    x = 1.0f / x;
  }
  if (x < 1e-6f) return sign * -120.0f;
  float offset = 0.0f;
  while (x < 0.1f) {
    x = x * 10.0f;
    offset = offset - 20.0f;
  }
  float p = 400.306061f;
  p = p * x - 1743.14062f;
  p = p * x + 3180.64648f;
  p = p * x - 3168.16162f;
  p = p * x + 1888.08032f;
  p = p * x - 702.777466f;
  p = p * x + 177.331924f;
  p = p * x - 32.271431f;
  return sign * (offset + p);
}

namespace {

// 2^n for 0 <= n <= 127, built from the exponent bits so that no shift overflows.
float PowerOfTwo(int n) {
  const std::uint32_t bits = static_cast<std::uint32_t>(n + 127) << 23;
  float result = 0.0f;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

}  // namespace

float FastDbToLinear(float db) {
  if (std::isnan(db)) return db;
  const float b = std::fabs(db) * 0.166096404f;
  // Past 2^127 the float range ends: +inf, or 0 for the reciprocal.
  if (!(b < 128.0f)) return db < 0.0f ? 0.0f : std::numeric_limits<float>::infinity();
  const int n = static_cast<int>(b);
  const float f = b - static_cast<float>(n);
  float p = 0.0135557568f;
  p = p * f + 0.0520323515f;
  p = p * f + 0.241379768f;
  p = p * f + 0.693032146f;
  p = p * f + 1.0f;
  const float r = PowerOfTwo(n) * p;
  return db < 0.0f ? 1.0f / r : r;
}

double SmoothingCoefficient(double seconds, double ratePerSecond) {
  const double e = 2.718281828459045;
  const double c = seconds * 0.5 * (1.0 - 1.0 / e) / 0.95;
  return 1.0 - c / (c + 1.0 / ratePerSecond);
}
