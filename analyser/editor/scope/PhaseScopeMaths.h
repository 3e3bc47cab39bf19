#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "toolkit/drawing/Color.h"
#include "toolkit/drawing/Geometry.h"

// The phase scope's arithmetic, free of frames and pixels.
namespace phasescope {

constexpr std::int32_t kFrames = 2048;  // samples per channel of a scope buffer
constexpr std::int32_t kMaxLayers = 10;
constexpr std::int32_t kMaxBins = 360;
constexpr float kFullLength = 0.73f;  // a full-scale sample reaches this much of the radius inward
constexpr float kGateLevel = 0.001f;

// Single-precision angles, as the folding and the sectors use them.
constexpr float kPi = 3.14159274f;
constexpr float k5PiBy4 = 3.92699099f;
constexpr float k3PiBy2 = 4.71238899f;
constexpr float k7PiBy4 = 5.49778748f;
constexpr float k2Pi = 6.28318548f;

// Density and decay as the scope uses them: stored values outside 1..10 (older or edited
// settings) take the nearest end, so no table is read outside its range.
inline std::int32_t Effective(std::int32_t setting) { return std::clamp<std::int32_t>(setting, 1, 10); }

// Samples per layer for a density of 1..10: 204 up to all 2048.
inline std::int32_t PointsPerLayer(std::int32_t density) { return kFrames / (11 - Effective(density)); }

// Angular bins of the polar plot for a density of 1..10.
inline std::int32_t BinCount(std::int32_t density) {
  static constexpr std::int32_t kBins[10] = {36, 40, 60, 72, 80, 120, 144, 180, 220, 360};
  return kBins[Effective(density) - 1];
}

// The polar plot leaves the sector between 5pi/4 and 7pi/4 empty: bins after `first` up to
// `last` are skipped. Integer arithmetic, so a bin lying exactly on a sector edge is that edge.
struct SectorJump {
  std::int32_t first{0};  // the last bin before the gap
  std::int32_t last{0};   // the first bin after it
};
inline SectorJump Jump(std::int32_t bins) { return SectorJump{bins * 5 / 8, bins * 7 / 8}; }

// Scope radius in pixels: 97 for the 200 x 200 scope.
inline std::int32_t Radius(std::int32_t width, std::int32_t height) {
  return std::min(width, height) / 2 - (height > 150 ? 3 : 1);
}

// The centre of the polar plot sits below the middle, where the empty sector is.
inline Point PolarCentre(std::int32_t width, std::int32_t height) {
  return Point{width / 2, height / 2 + (height >= 150 ? 14 : 9)};
}

// Brightness of the layer drawn k-th of `layers` (k = 1 the oldest, k = layers the newest).
inline Color LayerColour(Color colour, std::int32_t k, std::int32_t layers) {
  const double f = (std::pow(1.1, double(k) / double(layers)) - 1.0) / (1.1 - 1.0);
  auto scale = [f](std::uint16_t c) { return std::uint16_t(std::min(65535.0, double(c) * f)); };
  return Color{scale(colour.red), scale(colour.green), scale(colour.blue)};
}

// Squeezes the out-of-phase half of the circle into (pi, 5pi/4] and (7pi/4, 2pi).
inline float Fold(float a) {
  if (a > kPi && a <= k3PiBy2) return kPi + (a - kPi) * 0.5f;
  if (a > k3PiBy2) return k2Pi - (k2Pi - a) * 0.5f;
  return a;
}

// left / right, with the right channel silent giving the steepest slope of the left's sign.
inline float Ratio(float left, float right) {
  static const float kSteepUp = float(std::tan(1.5707963705062866));
  static const float kSteepDown = float(std::tan(-1.5707963705062866));
  if (right == 0.0f) return left >= 0.0f ? kSteepUp : kSteepDown;
  if (left == 0.0f) return right < 0.0f ? -1.000000045813705e-18f : 0.0f;
  return left / right;
}

// Unfolded angle of a ratio: right-only at 0, mono at pi/2, left-only at pi.
inline float Angle(float ratio) {
  float a = std::atan(ratio);
  if (ratio < 0.0f) a += kPi;
  a *= 2.0f;
  if (a < 0.0f) a += k2Pi;
  return a;
}

// Pixel of an XY sample: right across, left up; the centred plot turns it by 45 degrees.
inline Point MapPoint(float left, float right, bool centred, std::int32_t width, std::int32_t height) {
  float x = right, y = left;
  if (centred) {
    const float c = std::cos(-kPi / 4.0f), s = std::sin(-kPi / 4.0f);
    x = (right * c + left * s) * 0.70710677f;
    y = (left * c - right * s) * 0.70710677f;
  }
  x = std::clamp(x, -1.0f, 1.0f);
  y = std::clamp(y, -1.0f, 1.0f);
  return Point{std::int32_t((x + 1.0f) * float(width - 3) * 0.5f + 1.0f) + 1,
               std::int32_t((1.0f - y) * float(height - 3) * 0.5f + 1.0f) + 1};
}

}  // namespace phasescope
