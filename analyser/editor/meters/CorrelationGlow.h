#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The correlation bar's state: a decaying histogram over 117 columns from -1 (left) to +1
// (right) that each tick lights the columns the correlation swept since the previous tick, the
// newest most, and the brightness levels of its smoothed copy that the bar shows. No pixels.
class CorrelationGlow {
 public:
  static constexpr std::int32_t kColumns = 117;
  static constexpr std::int32_t kLevels = 50;
  static constexpr float kDecay = 0.97f;
  static constexpr float kSmoothing = 0.1f;

  // trunc((r + 1) x 58) within the columns.
  static std::int32_t Segment(float correlation);

  // One tick with the service's current and average correlation. A NaN correlation counts as
  // the previous one; a NaN average as 1. True when a level or the average's column changed:
  // only then does the bar look different.
  bool Advance(float correlation, float average);

  // The brightness level of a column, 0 to kLevels - 1.
  std::int32_t Level(std::int32_t column) const { return mLevels[static_cast<std::size_t>(column)]; }
  std::int32_t GetAverageColumn() const { return mAverageColumn; }
  const std::array<float, kColumns>& GetGlow() const { return mGlow; }

 private:
  std::array<float, kColumns> mGlow{};
  std::array<std::int8_t, kColumns> mLevels{};
  float mLastCorrelation{1.0f};
  std::int32_t mAverageColumn{kColumns - 1};
};
