#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "framework/metering/Decibels.h"

// The side-to-mid ratio in dB, smoothed with a 3-second time constant whatever the period of its
// updates: each update weighs the new side-minus-mid value by the time passed since the last one.
// Ticks are 17 ms and 64-bit; an update in the same tick or from an earlier one changes nothing,
// and a value that is not a number is skipped, so the ratio always stays a number.
class SideToMidRatio {
 public:
  static constexpr double kTimeConstantSeconds = 3.0;
  static constexpr double kTicksPerSecond = 60.0;
  // Silence reads as this level, so a silent side gives a very low but finite ratio.
  static constexpr float kLowestDb = -1000.0f;

  // sideDb, midDb: the two averages.
  float Update(std::int64_t tick, float sideDb, float midDb) {
    const std::int64_t elapsed = tick - mLastTick;
    if (elapsed <= 0) {
      if (elapsed < 0) mLastTick = tick;
      return mRatio;
    }
    mLastTick = tick;
    const float target = Level(sideDb) - Level(midDb);
    if (std::isnan(target)) return mRatio;
    const double k =
        std::clamp(SmoothingCoefficient(kTimeConstantSeconds, kTicksPerSecond / double(elapsed)), 0.0, 1.0);
    if (std::isnan(k)) return mRatio;
    mRatio = float(mRatio + k * (double(target) - mRatio));
    return mRatio;
  }

  float Get() const { return mRatio; }
  std::int64_t GetLastTick() const { return mLastTick; }

 private:
  static float Level(float db) { return std::isnan(db) ? db : std::clamp(db, kLowestDb, -kLowestDb); }

  float mRatio{0.0f};
  std::int64_t mLastTick{0};
};
