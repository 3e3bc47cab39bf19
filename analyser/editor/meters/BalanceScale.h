#pragma once

#include <cmath>
#include <cstdint>

#include "framework/metering/Taper.h"

// The balance strip's mapping from dB to a pixel column: linear at 1/10 of the half width per dB,
// then a logarithmic taper that spreads small deviations; +-10 dB and beyond reach the ends.
class BalanceScale {
 public:
  static constexpr float kTaperCurve = 0.6f;

  explicit BalanceScale(std::int32_t width)
      : mWidth(width), mCentre(float(width / 2)), mPixelsPerDb(float(double(mCentre) * 0.1)) {}

  // NaN reads as 0 dB.
  std::int32_t Position(float db) const {
    const float v = std::isnan(db) ? 0.0f : db;
    float p = mCentre + v * mPixelsPerDb;
    if (p > mCentre)
      p = (TaperValueToPosition((p - mCentre) / mCentre, kTaperCurve) + 1.0f) * mCentre;
    else if (p < mCentre)
      p = mCentre - TaperValueToPosition((mCentre - p) / mCentre, kTaperCurve) * mCentre + 1.0f;
    if (!(p >= 0.0f)) return 0;
    if (p >= float(mWidth)) return mWidth - 1;
    return std::int32_t(p);
  }
  float GetCentre() const { return mCentre; }

 private:
  std::int32_t mWidth;
  float mCentre;
  float mPixelsPerDb;
};
