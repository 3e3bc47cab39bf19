#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "framework/metering/Decibels.h"
#include "framework/metering/Taper.h"

namespace {

TEST(Decibels, ExactConversions) {
  EXPECT_DOUBLE_EQ(DbToLinear(0.0), 1.0);
  EXPECT_NEAR(DbToLinear(-6.0), 0.501187, 1e-6);
  EXPECT_DOUBLE_EQ(LinearToDbFloor(1e-7, 1e-6), -1000.0);
  EXPECT_NEAR(LinearToDbFloor(0.5, 1e-6), -6.0206, 1e-4);
}

TEST(Decibels, FastLinearToDbNamedPoints) {
  EXPECT_NEAR(FastLinearToDb(1.0f), 0.014f, 0.005f);
  EXPECT_FLOAT_EQ(FastLinearToDb(2.0f), -FastLinearToDb(0.5f));
  EXPECT_NEAR(FastLinearToDb(2.0f), 6.014f, 0.02f);
  EXPECT_EQ(FastLinearToDb(1e-7f), -120.0f);
  EXPECT_EQ(FastLinearToDb(1e7f), 120.0f);
  EXPECT_EQ(FastLinearToDb(0.0f), -120.0f);
  EXPECT_EQ(FastLinearToDb(-1.0f), -120.0f);
  EXPECT_EQ(FastLinearToDb(std::numeric_limits<float>::infinity()), 120.0f);
}

TEST(Decibels, FastLinearToDbFollowsExactCurve) {
  // The polynomial's error band; a mistyped coefficient leaves it by far.
  for (double x = 1e-6; x < 1e6; x *= 1.07) {
    const double exact = 20.0 * std::log10(x);
    EXPECT_NEAR(FastLinearToDb(static_cast<float>(x)), exact, 0.1) << x;
  }
}

TEST(Decibels, FastDbToLinearFollowsExactCurveWellPastTheShiftRange) {
  for (double db = -700.0; db <= 700.0; db += 0.37) {
    const double exact = std::pow(10.0, db / 20.0);
    const double fast = FastDbToLinear(static_cast<float>(db));
    if (exact > std::numeric_limits<float>::max()) {
      EXPECT_TRUE(std::isinf(fast)) << db;
    } else if (exact < 1e-38) {
      EXPECT_NEAR(fast, 0.0, 1e-38) << db;
    } else {
      EXPECT_NEAR(fast / exact, 1.0, 1e-3) << db;
    }
  }
}

TEST(Decibels, FastDbToLinearNonFinite) {
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_TRUE(std::isnan(FastDbToLinear(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_TRUE(std::isinf(FastDbToLinear(inf)));
  EXPECT_EQ(FastDbToLinear(-inf), 0.0f);
  EXPECT_EQ(FastDbToLinear(0.0f), 1.0f);
}

TEST(Decibels, Taper) {
  for (float c : {0.01f, 0.6f, 1.0f, 10.0f}) {
    EXPECT_NEAR(TaperPositionToValue(0.0f, c), 0.0f, 1e-6f) << c;
    EXPECT_EQ(TaperPositionToValue(1.0f, c), 1.0f) << c;
    for (float p = 0.0f; p <= 1.0f; p += 0.125f)
      EXPECT_NEAR(TaperValueToPosition(TaperPositionToValue(p, c), c), p, 1e-5f) << c;
  }
  // Curve 1: c * 2^t - c.
  EXPECT_NEAR(TaperPositionToValue(0.5f, 1.0f), std::sqrt(2.0f) - 1.0f, 1e-6f);
}

TEST(Decibels, SmoothingCoefficient) {
  EXPECT_NEAR(SmoothingCoefficient(1.0, 60.0), 1.0 / (1.0 + 60.0 * 0.5 * 0.6321206 / 0.95), 1e-6);
  EXPECT_NEAR(SmoothingCoefficient(1.0, 60.0), 0.0477, 1e-4);
  EXPECT_EQ(SmoothingCoefficient(0.0, 60.0), 1.0);
  EXPECT_LT(SmoothingCoefficient(2.0, 60.0), SmoothingCoefficient(1.0, 60.0));
  EXPECT_LT(SmoothingCoefficient(1.0, 120.0), SmoothingCoefficient(1.0, 60.0));
}

}  // namespace
