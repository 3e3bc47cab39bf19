#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "framework/metering/NumericTools.h"

namespace {

TEST(NumericTools, IsPowerOfTwo) {
  struct Case {
    std::uint32_t n;
    bool expected;
  };
  for (const Case& c : {Case{0, false}, Case{1, true}, Case{2, true}, Case{3, false}, Case{0x80000000u, true},
                        Case{0x80000001u, false}, Case{0xFFFFFFFFu, false}})
    EXPECT_EQ(IsPowerOfTwo(c.n), c.expected) << c.n;
}

TEST(NumericTools, NextNoiseIsTinyWithBothSigns) {
  int negatives = 0;
  for (int i = 0; i < 1000; ++i) {
    const float noise = NextNoise();
    EXPECT_NE(noise, 0.0f);
    EXPECT_LT(std::fabs(noise), 1e-15f);
    EXPECT_EQ(FlushDenormal(noise), noise);  // normal, never itself a denormal
    negatives += noise < 0.0f;
  }
  EXPECT_GT(negatives, 100);
  EXPECT_LT(negatives, 900);
}

TEST(NumericTools, FlushDenormal) {
  const float denormal = std::numeric_limits<float>::denorm_min() * 7.0f;
  EXPECT_EQ(FlushDenormal(denormal), 0.0f);
  EXPECT_EQ(FlushDenormal(-denormal), 0.0f);
  EXPECT_EQ(FlushDenormal(0.0f), 0.0f);
  EXPECT_EQ(FlushDenormal(std::numeric_limits<float>::min()), std::numeric_limits<float>::min());
  EXPECT_EQ(FlushDenormal(-2.5f), -2.5f);
}

TEST(NumericTools, IsNaNBits) {
  EXPECT_TRUE(IsNaNBits(std::numeric_limits<float>::quiet_NaN()));
  EXPECT_TRUE(IsNaNBits(std::numeric_limits<float>::signaling_NaN()));
  EXPECT_TRUE(IsNaNBits(-std::numeric_limits<float>::quiet_NaN()));
  for (float x :
       {0.0f, -0.0f, 1.0f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min()}) {
    EXPECT_FALSE(IsNaNBits(x)) << x;
  }
}

TEST(NumericTools, IntegerPower) {
  EXPECT_EQ(IntegerPower(3.0, 0), 1.0);
  EXPECT_EQ(IntegerPower(3.0, 5), 243.0);
  EXPECT_EQ(IntegerPower(2.0, -3), 0.125);
  EXPECT_EQ(IntegerPower(-2.0, 3), -8.0);
  EXPECT_EQ(IntegerPower(1.0, INT_MIN), 1.0);  // returns at once
  EXPECT_EQ(IntegerPower(2.0, INT_MIN), 0.0);
}

TEST(NumericTools, EvaluatePolynomial) {
  const double c[] = {1.0, -2.0, 3.0};
  EXPECT_DOUBLE_EQ(EvaluatePolynomial(2.0, c, 2), 1.0 - 4.0 + 12.0);
  const float f[] = {0.5f, 1.0f};
  EXPECT_FLOAT_EQ(EvaluatePolynomial(3.0f, f, 1), 3.5f);
  EXPECT_DOUBLE_EQ(EvaluatePolynomial(7.0, c, 0), 1.0);
}

TEST(NumericTools, LUSolvesPivotingSystem) {
  // The zero in the corner forces a row swap.
  double a[] = {0.0, 2.0, 1.0, 1.0, 1.0, 1.0, 2.0, 1.0, 3.0};
  int permutation[3] = {};
  double sign = 0.0;
  ASSERT_TRUE(LUDecompose(a, 3, permutation, &sign));
  EXPECT_TRUE(sign == 1.0 || sign == -1.0);
  // x = (1, 2, 3)
  double b[] = {2.0 * 2 + 3, 1.0 + 2 + 3, 2.0 + 2 + 9};
  LUBackSubstitute(a, 3, permutation, b);
  EXPECT_NEAR(b[0], 1.0, 1e-12);
  EXPECT_NEAR(b[1], 2.0, 1e-12);
  EXPECT_NEAR(b[2], 3.0, 1e-12);
}

TEST(NumericTools, LUDecomposeRefusesZeroRowUntouched) {
  double a[] = {1.0, 2.0, 0.0, 0.0};
  const double original[] = {1.0, 2.0, 0.0, 0.0};
  int permutation[2] = {};
  double sign = 0.0;
  EXPECT_FALSE(LUDecompose(a, 2, permutation, &sign));
  EXPECT_EQ(std::memcmp(a, original, sizeof a), 0);
}

TEST(NumericTools, FitPolynomialRecoversQuadratic) {
  double xs[6], ys[6];
  for (int i = 0; i < 6; ++i) {
    xs[i] = i - 2.0;
    ys[i] = 0.5 - 1.5 * xs[i] + 2.0 * xs[i] * xs[i];
  }
  double sums[5] = {};
  double c[3] = {};
  ASSERT_TRUE(FitPolynomial(sums, xs, ys, 6, 2, c));
  EXPECT_NEAR(c[0], 0.5, 1e-9);
  EXPECT_NEAR(c[1], -1.5, 1e-9);
  EXPECT_NEAR(c[2], 2.0, 1e-9);
  EXPECT_EQ(sums[0], 6.0);
  EXPECT_FALSE(FitPolynomial(sums, xs, ys, 6, kMaxFitDegree + 1, c));
}

TEST(NumericTools, Lines) {
  const double xs[] = {1.0, 3.0, 5.0};
  const double ys[] = {3.0, 7.0, 11.0};
  double line[2] = {};
  LineThroughPoints(xs, ys, line);
  EXPECT_DOUBLE_EQ(line[0], 1.0);
  EXPECT_DOUBLE_EQ(line[1], 2.0);
  double intercept = 0.0, slope = 0.0;
  EXPECT_DOUBLE_EQ(FitLine(3, xs, ys, &intercept, &slope), 3.0 * 35.0 - 81.0);
  EXPECT_NEAR(intercept, 1.0, 1e-12);
  EXPECT_NEAR(slope, 2.0, 1e-12);
  // All x equal: no line, outputs untouched.
  const double same[] = {2.0, 2.0};
  intercept = slope = 9.0;
  EXPECT_EQ(FitLine(2, same, ys, &intercept, &slope), 0.0);
  EXPECT_EQ(slope, 9.0);
}

}  // namespace
