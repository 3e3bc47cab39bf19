#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "analyser/dsp/Fft.h"

namespace {

using Spectrum = std::vector<std::complex<double>>;

// Plain O(N^2) DFT in double; sign -1 forward, +1 inverse (unscaled).
Spectrum referenceDft(const Spectrum& x, int sign) {
  const size_t n = x.size();
  Spectrum w(n), out(n);
  for (size_t i = 0; i < n; ++i) w[i] = std::polar(1.0, sign * 2.0 * M_PI * double(i) / double(n));
  for (size_t k = 0; k < n; ++k) {
    std::complex<double> sum = 0.0;
    for (size_t j = 0; j < n; ++j) sum += x[j] * w[(k * j) % n];
    out[k] = sum;
  }
  return out;
}

std::vector<float> randomFloats(size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> v(count);
  for (float& f : v) f = dist(rng);
  return v;
}

Spectrum toComplex(const float* interleaved, size_t n) {
  Spectrum z(n);
  for (size_t i = 0; i < n; ++i) z[i] = {interleaved[2 * i], interleaved[2 * i + 1]};
  return z;
}

// Packed real spectrum [X0, X(N/2), Re X1, Im X1, ...] expanded to bins 0..N/2.
Spectrum unpackReal(const float* packed, size_t n) {
  Spectrum z(n / 2 + 1);
  z[0] = packed[0];
  z[n / 2] = packed[1];
  for (size_t k = 1; k < n / 2; ++k) z[k] = {packed[2 * k], packed[2 * k + 1]};
  return z;
}

// Relative L2 error of got against want over want's first got.size() bins.
double relativeError(const Spectrum& got, const Spectrum& want) {
  double err = 0.0, norm = 0.0;
  for (size_t i = 0; i < got.size(); ++i) {
    err += std::norm(got[i] - want[i]);
    norm += std::norm(want[i]);
  }
  return std::sqrt(err / norm);
}

constexpr double kTolerance = 2e-6;  // float FFT error is ~1e-7 relative; a wrong twiddle is ~1

struct Plan {
  int m = 0;
  std::vector<float> table;
};

Plan complexPlan(int n) {
  Plan p;
  p.table.assign(n / 4 + 1, 0.0f);
  EXPECT_EQ(fftSetupComplex(p.m, n, p.table.data()), 0) << n;
  return p;
}

Plan realPlan(int n) {
  Plan p;
  p.table.assign(n / 4 + 1, 0.0f);
  EXPECT_EQ(fftSetupReal(p.m, n, p.table.data()), 0) << n;
  return p;
}

TEST(FftSetup, AcceptsOnlyPowersOfTwoInRangeAndAlwaysWritesM) {
  struct Case {
    bool real;
    int n;
    int answer;
    int m;
  };
  const Case cases[] = {
      {false, 8, 0, 3},        {false, 1 << 19, 0, 19}, {false, 4, 1, 2},      {false, 1000, 1, 10},
      {false, 1 << 20, 1, 20}, {false, 1, 1, 0},        {false, 0, 1, 0},      {false, -8, 1, 0},
      {false, INT_MAX, 1, 31}, {false, 12, 1, 4},       {true, 16, 0, 4},      {true, 1 << 20, 0, 20},
      {true, 8, 1, 3},         {true, 1 << 21, 1, 21},  {true, INT_MIN, 1, 0}, {true, 1023, 1, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.real ? "real " : "complex ") << c.n);
    // Room for an accepted table plus a guard zone that nothing may touch.
    const size_t used = c.answer == 0 ? size_t(c.n) / 4 + 1 : 0;
    std::vector<float> table(used + 16, 42.0f);
    int m = -99;
    const int answer = c.real ? fftSetupReal(m, c.n, table.data()) : fftSetupComplex(m, c.n, table.data());
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(m, c.m);
    for (size_t i = used; i < table.size(); ++i) ASSERT_EQ(table[i], 42.0f) << "touched " << i;
  }
  int m = -99;
  EXPECT_EQ(fftSetupComplex(m, 16, nullptr), 1);
  EXPECT_EQ(m, 4);
}

TEST(FftSetup, CosineTableHoldsTheQuarterWave) {
  const Plan p = complexPlan(16);
  ASSERT_EQ(p.table.size(), 5u);
  EXPECT_EQ(p.table[0], 1.0f);
  EXPECT_EQ(p.table[1], float(std::cos(M_PI / 8)));
  EXPECT_EQ(p.table[2], float(std::cos(M_PI / 4)));
  EXPECT_EQ(p.table[3], float(std::cos(3 * M_PI / 8)));
  EXPECT_EQ(p.table[4], 0.0f);
}

TEST(FftComplex, MatchesReferenceDftForEverySizeUpTo4096) {
  for (int m = kFftComplexMinLog2; m <= 12; ++m) {
    SCOPED_TRACE(testing::Message() << "m = " << m);
    const int n = 1 << m;
    const Plan p = complexPlan(n);
    // Two consecutive blocks: the second must be transformed on its own.
    const std::vector<float> input = randomFloats(4 * size_t(n), unsigned(m));
    std::vector<float> data = input;
    fftComplexForward(data.data(), p.m, 2, p.table.data());
    for (int block = 0; block < 2; ++block) {
      const Spectrum want = referenceDft(toComplex(input.data() + 2 * n * block, n), -1);
      EXPECT_LT(relativeError(toComplex(data.data() + 2 * n * block, n), want), kTolerance);
    }
    std::vector<float> inv = input;
    fftComplexInverse(inv.data(), p.m, 1, p.table.data());
    Spectrum wantInv = referenceDft(toComplex(input.data(), n), +1);
    for (auto& v : wantInv) v /= n;
    EXPECT_LT(relativeError(toComplex(inv.data(), n), wantInv), kTolerance);
  }
}

TEST(FftReal, MatchesReferenceDftInPackedLayoutForEverySizeUpTo4096) {
  for (int m = kFftRealMinLog2; m <= 12; ++m) {
    SCOPED_TRACE(testing::Message() << "m = " << m);
    const int n = 1 << m;
    const Plan p = realPlan(n);
    const std::vector<float> input = randomFloats(2 * size_t(n), unsigned(100 + m));
    std::vector<float> data = input;
    fftRealForward(data.data(), p.m, 2, p.table.data());
    for (int block = 0; block < 2; ++block) {
      Spectrum x(n);
      for (int i = 0; i < n; ++i) x[i] = input[size_t(n * block + i)];
      const Spectrum want = referenceDft(x, -1);
      EXPECT_LT(relativeError(unpackReal(data.data() + n * block, n), want), kTolerance);
    }
  }
}

TEST(Fft, ForwardThenInverseGivesTheInputBackForEveryAcceptedSize) {
  for (int m = kFftComplexMinLog2; m <= kFftComplexMaxLog2; ++m) {
    SCOPED_TRACE(testing::Message() << "complex m = " << m);
    const Plan p = complexPlan(1 << m);
    const std::vector<float> input = randomFloats(size_t(2) << m, unsigned(200 + m));
    std::vector<float> data = input;
    fftComplexForward(data.data(), p.m, 1, p.table.data());
    fftComplexInverse(data.data(), p.m, 1, p.table.data());
    EXPECT_LT(relativeError(toComplex(data.data(), 1u << m), toComplex(input.data(), 1u << m)), kTolerance);
  }
  for (int m = kFftRealMinLog2; m <= kFftRealMaxLog2; ++m) {
    SCOPED_TRACE(testing::Message() << "real m = " << m);
    const Plan p = realPlan(1 << m);
    const std::vector<float> input = randomFloats(size_t(1) << m, unsigned(300 + m));
    std::vector<float> data = input;
    fftRealForward(data.data(), p.m, 1, p.table.data());
    fftRealInverse(data.data(), p.m, 1, p.table.data());
    // Real samples viewed as complex pairs: the same relative measure.
    EXPECT_LT(relativeError(toComplex(data.data(), 1u << (m - 1)), toComplex(input.data(), 1u << (m - 1))),
              kTolerance);
  }
}

TEST(FftComplex, ExactValues) {
  const int n = 16;
  const Plan p = complexPlan(n);
  std::vector<float> impulse(2 * n, 0.0f);
  impulse[0] = 1.0f;
  fftComplexForward(impulse.data(), p.m, 1, p.table.data());
  for (int k = 0; k < n; ++k) {
    EXPECT_EQ(impulse[2 * k], 1.0f) << k;
    EXPECT_EQ(impulse[2 * k + 1], 0.0f) << k;
  }

  std::vector<float> tone(2 * n);
  for (int i = 0; i < n; ++i) {
    tone[2 * i] = float(std::cos(2 * M_PI * i / n));
    tone[2 * i + 1] = float(std::sin(2 * M_PI * i / n));
  }
  std::vector<float> data = tone;
  fftComplexForward(data.data(), p.m, 1, p.table.data());
  for (int k = 0; k < n; ++k) {
    EXPECT_NEAR(data[2 * k], k == 1 ? n : 0.0f, 1e-5) << k;
    EXPECT_NEAR(data[2 * k + 1], 0.0f, 1e-5) << k;
  }
  fftComplexInverse(data.data(), p.m, 1, p.table.data());
  for (int i = 0; i < 2 * n; ++i) EXPECT_NEAR(data[i], tone[i], 1e-6) << i;
}

TEST(FftReal, ExactValues) {
  const int n = 16;
  const Plan p = realPlan(n);
  std::vector<float> ones(n, 1.0f);
  fftRealForward(ones.data(), p.m, 1, p.table.data());
  EXPECT_EQ(ones[0], 16.0f);
  for (int i = 1; i < n; ++i) EXPECT_EQ(ones[i], 0.0f) << i;

  std::vector<float> alternating(n);
  for (int i = 0; i < n; ++i) alternating[i] = i % 2 ? -1.0f : 1.0f;
  fftRealForward(alternating.data(), p.m, 1, p.table.data());
  EXPECT_EQ(alternating[0], 0.0f);
  EXPECT_EQ(alternating[1], 16.0f);
  for (int i = 2; i < n; ++i) EXPECT_EQ(alternating[i], 0.0f) << i;
}

TEST(Fft, UnusableArgumentsLeaveTheDataAlone) {
  const Plan cp = complexPlan(1 << kFftComplexMaxLog2);
  const Plan rp = realPlan(1 << kFftRealMaxLog2);
  using Transform = void (*)(float*, int, int, const float*);
  struct Case {
    const char* what;
    Transform transform;
    int m;
    int count;
    bool nullTable;
  };
  const Case cases[] = {
      {"complex count 0", fftComplexForward, 4, 0, false},
      {"complex count -1", fftComplexInverse, 4, -1, false},
      {"complex m 2", fftComplexForward, 2, 1, false},
      {"complex m 20", fftComplexInverse, 20, 1, false},
      {"complex m -1", fftComplexForward, -1, 1, false},
      {"complex no table", fftComplexForward, 4, 1, true},
      {"real count 0", fftRealForward, 4, 0, false},
      {"real m 3", fftRealForward, 3, 1, false},
      {"real m 21", fftRealInverse, 21, 1, false},
      {"real m INT_MAX", fftRealInverse, INT_MAX, 1, false},
      {"real no table", fftRealInverse, 4, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<float> input = randomFloats(64, 7);
    std::vector<float> data = input;
    const bool real = c.transform == fftRealForward || c.transform == fftRealInverse;
    const float* table = c.nullTable ? nullptr : (real ? rp : cp).table.data();
    c.transform(data.data(), c.m, c.count, table);
    EXPECT_EQ(data, input);
    c.transform(nullptr, 4, 1, table);
  }
}

TEST(IntegerPower, RepeatedSquaringAndReciprocals) {
  EXPECT_EQ(integerPower(2, 10), 1024.0f);
  EXPECT_EQ(integerPower(2, 20), 1048576.0f);
  EXPECT_EQ(integerPower(2, -2), 0.25f);
  EXPECT_EQ(integerPower(-3, 3), -27.0f);
  EXPECT_EQ(integerPower(7, 0), 1.0f);
  EXPECT_EQ(integerPower(1.5f, 2), 2.25f);
  EXPECT_EQ(integerPower(0.5f, -3), 8.0f);
  EXPECT_EQ(integerPower(2, INT_MIN), 0.0f);
  EXPECT_EQ(integerPower(1, INT_MIN), 1.0f);
}

}  // namespace
