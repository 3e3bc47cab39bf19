#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "analyser/dsp/IirFilter.h"

namespace {

using FilterPtr = std::unique_ptr<IirFilter>;

// The filter only points at its coefficients, so the test keeps them alive beside it.
struct Filter {
  std::vector<double> b;
  std::vector<double> a;
  FilterPtr filter{createIirFilter(b.data(), a.data(), std::int16_t(b.size() - 1))};
  IirFilter* get() const { return filter.get(); }
};

Filter make(std::vector<double> b, std::vector<double> a) { return Filter{std::move(b), std::move(a)}; }

std::vector<float> run(IirFilter* f, const std::vector<float>& in) {
  std::vector<float> out(in.size(), -99.0f);
  runIirFilter(f, in.data(), out.data(), int(in.size()));
  return out;
}

TEST(IirFilter, CreateRefusesBadOrdersAndMissingCoefficients) {
  const std::vector<double> c(16, 0.0);
  EXPECT_EQ(createIirFilter(c.data(), c.data(), 15), nullptr);
  EXPECT_EQ(createIirFilter(c.data(), c.data(), -1), nullptr);
  EXPECT_EQ(createIirFilter(nullptr, c.data(), 2), nullptr);
  EXPECT_EQ(createIirFilter(c.data(), nullptr, 2), nullptr);
  for (std::int16_t order : {0, 6, 7, 14}) {
    FilterPtr f(createIirFilter(c.data(), c.data(), order));
    ASSERT_NE(f, nullptr) << order;
    EXPECT_EQ(f->coefficientCount, order + 1);
    EXPECT_EQ(f->routine != nullptr, order >= 1 && order <= 6) << order;
  }
}

TEST(IirFilter, FirstOrderExamples) {
  auto average = make({0.5, 0.5}, {1, 0});
  resetIirFilter(average.get(), 0.0f);
  EXPECT_EQ(run(average.get(), {1, 1, 1}), (std::vector<float>{0.5f, 1, 1}));

  auto decay = make({1, 0}, {1, -0.5});
  resetIirFilter(decay.get(), 0.0f);
  EXPECT_EQ(run(decay.get(), {1, 0, 0}), (std::vector<float>{1, 0.5f, 0.25f}));

  auto gain = make({3}, {1});
  EXPECT_EQ(run(gain.get(), {1, -2}), (std::vector<float>{3, -6})) << "order 0 scales by b0";
}

TEST(IirFilter, ResonatorImpulseResponse) {
  // y = x - a1 y1 - a2 y2 with a1 = -2 r cos w, a2 = r^2: h[n] = r^n sin((n+1) w) / sin w.
  const double r = 0.9, w = 0.3;
  auto f = make({1, 0, 0}, {1, -2 * r * std::cos(w), r * r});
  std::vector<float> impulse(40, 0.0f);
  impulse[0] = 1.0f;
  const std::vector<float> h = run(f.get(), impulse);
  for (size_t n = 0; n < h.size(); ++n)
    EXPECT_NEAR(h[n], std::pow(r, n) * std::sin((n + 1) * w) / std::sin(w), 1e-6) << n;
}

// Direct double-precision evaluation of the difference equation.
std::vector<double> reference(const std::vector<double>& b, const std::vector<double>& a,
                              const std::vector<float>& x) {
  std::vector<double> y(x.size());
  for (size_t n = 0; n < x.size(); ++n) {
    double acc = b[0] * x[n];
    for (size_t k = 1; k < b.size() && k <= n; ++k) acc += b[k] * double(x[n - k]) - a[k] * y[n - k];
    y[n] = acc;
  }
  return y;
}

TEST(IirFilter, EveryOrderMatchesTheDifferenceEquationAcrossCalls) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> coef(-0.3, 0.3);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  std::vector<float> x(200);
  for (float& v : x) v = sample(rng);
  for (int order = 0; order <= IirFilter::kMaxOrder; ++order) {
    SCOPED_TRACE(testing::Message() << "order " << order);
    std::vector<double> b(order + 1), a(order + 1, 0.0);
    for (double& v : b) v = coef(rng);
    a[0] = 99.0;                                                // never used
    for (int k = 1; k <= order; ++k) a[k] = coef(rng) / order;  // small poles: stable
    auto f = make(b, a);
    ASSERT_NE(f.get(), nullptr);
    // Split into calls of 1, 63 and the rest: the histories carry over.
    std::vector<float> y(x.size());
    runIirFilter(f.get(), x.data(), y.data(), 1);
    runIirFilter(f.get(), x.data() + 1, y.data() + 1, 63);
    runIirFilter(f.get(), x.data() + 64, y.data() + 64, int(x.size()) - 64);
    const std::vector<double> want = reference(b, a, x);
    for (size_t n = 0; n < x.size(); ++n) ASSERT_NEAR(y[n], want[n], 1e-6) << n;
  }
}

TEST(IirFilter, GenericRoutineHonoursStridesAndMatchesTheUnrolledOne) {
  const std::vector<double> b{0.2, 0.3, -0.1}, a{1, -0.5, 0.1};
  std::vector<float> mono(50);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = float(std::sin(0.7 * double(i)));
  std::vector<float> stereo(2 * mono.size(), 7.0f);
  for (size_t i = 0; i < mono.size(); ++i) stereo[2 * i] = mono[i];

  auto unrolled = make(b, a);
  auto generic = make(b, a);
  const std::vector<float> want = run(unrolled.get(), mono);
  std::vector<float> out(stereo.size(), 7.0f);
  runIirFilterGeneric(generic.get(), stereo.data(), 2, out.data() + 1, 2, int(mono.size()));
  for (size_t i = 0; i < mono.size(); ++i) {
    EXPECT_NEAR(out[2 * i + 1], want[i], 1e-6) << i;
    EXPECT_EQ(out[2 * i], 7.0f) << "other channel untouched at " << i;
  }
}

TEST(IirFilter, ResetFillsBothHistories) {
  // A DC gain 1 filter reset to 2 is already settled on an input of 2.
  auto f = make({0.25, 0.25}, {1, -0.5});
  resetIirFilter(f.get(), 2.0f);
  EXPECT_EQ(run(f.get(), {2, 2, 2}), (std::vector<float>{2, 2, 2}));
  resetIirFilter(f.get(), 0.0f);
  EXPECT_EQ(run(f.get(), {0, 0}), (std::vector<float>{0, 0}));
}

TEST(IirFilter, BadCallsAreNoOps) {
  auto f = make({1, 1}, {1, 0});
  std::vector<float> in{1, 2}, out{-1, -1};
  resetIirFilter(nullptr, 1.0f);
  runIirFilter(nullptr, in.data(), out.data(), 2);
  runIirFilter(f.get(), nullptr, out.data(), 2);
  runIirFilter(f.get(), in.data(), nullptr, 2);
  runIirFilter(f.get(), in.data(), out.data(), 0);
  runIirFilter(f.get(), in.data(), out.data(), -3);
  runIirFilterGeneric(nullptr, in.data(), 1, out.data(), 1, 2);
  EXPECT_EQ(out, (std::vector<float>{-1, -1}));
  // The history was not disturbed by the refused calls.
  EXPECT_EQ(run(f.get(), {1, 2}), (std::vector<float>{1, 3}));

  IirFilter handMade;  // no coefficients
  runIirFilter(&handMade, in.data(), out.data(), 2);
  const std::vector<double> ones(20, 1.0);
  handMade.b = handMade.a = ones.data();
  handMade.coefficientCount = 40;  // more than the histories hold
  runIirFilterGeneric(&handMade, in.data(), 1, out.data(), 1, 2);
  EXPECT_EQ(out, (std::vector<float>{-1, -1}));
}

}  // namespace

namespace {

// After an impulse a decaying filter must come to rest at zero: rounding in the subnormal range
// would hold y = 0.9 y1 at the smallest subnormal for ever, and every later sample would pay
// for subnormal arithmetic.
TEST(IirFilter, AnImpulseDecaysToZeroNotToASubnormalLimitCycle) {
  for (int order : {1, 2, 7}) {
    SCOPED_TRACE(order);
    std::vector<double> b(order + 1, 0.0), a(order + 1, 0.0);
    b[0] = a[0] = 1.0;
    a[order] = order == 2 ? 0.81 : -0.9;  // a decay, a damped oscillation, a slow comb
    Filter f{b, a};
    std::vector<float> signal(100000, 0.0f);
    signal[0] = 1.0f;
    for (bool generic : {false, true}) {
      resetIirFilter(f.get(), 0.0f);
      std::vector<float> out(signal.size());
      if (generic)
        runIirFilterGeneric(f.get(), signal.data(), 1, out.data(), 1, int(signal.size()));
      else
        runIirFilter(f.get(), signal.data(), out.data(), int(signal.size()));
      for (int k = 0; k < order; ++k) {
        EXPECT_EQ(f.get()->outputHistory[k], 0.0) << "generic " << generic << " y[n-" << k + 1 << "]";
      }
      EXPECT_EQ(out.back(), 0.0f);
    }
  }
}

}  // namespace
