// The span kernels of every instruction set the processor has, for every combination of parts,
// against a plain one-frame-at-a-time reading of the same rules: NaN and infinities count as
// silence, subnormals and the largest floats pass as they are, with the host's flush-to-zero
// modes as well as without. Spans of every length around the vector widths, so whole vectors
// and the frames after them are both covered.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#include "Analysers.h"
#include "SpanVariantScope.h"
#include "analyser/engine/services/SpanKernel.h"
#include "tests/support/AllocationCounter.h"

namespace {

// Dyadic values whose float squares add up exactly in any order, and the awkward ones.
std::vector<float> Samples(std::mt19937& random, int frames) {
  const float kValues[] = {0.0f,
                           -0.0f,
                           0.5f,
                           -0.25f,
                           1.0f,
                           -1.0f,
                           0.75f,
                           0.0625f,
                           std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(),
                           1e-40f,
                           -3e-42f,
                           FLT_MAX,
                           -FLT_MAX};
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kValues)) - 1);
  std::vector<float> v(static_cast<std::size_t>(frames));
  for (float& x : v) x = kValues[pick(random)];
  return v;
}

float Counted(float x) { return std::fabs(x) <= FLT_MAX ? x : 0.0f; }

struct Reference {
  long double first = 0, second = 0, product = 0, firstSquares = 0, secondSquares = 0, scale = 0;
  float squares0 = 0, squares1 = 0, mid = 0, side = 0, peak = 0;
};

Reference Expected(const std::vector<float>& a, const std::vector<float>& b, double originA, double originB) {
  Reference r;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const float x = Counted(a[i]), y = Counted(b[i]);
    r.peak = std::max({r.peak, std::fabs(x), std::fabs(y)});
    r.squares0 += x * x;
    r.squares1 += y * y;
    r.mid = std::max(r.mid, std::min(std::fabs(x + y), FLT_MAX));
    r.side = std::max(r.side, std::min(std::fabs(x - y), FLT_MAX));
    const long double dx = static_cast<double>(x) - originA, dy = static_cast<double>(y) - originB;
    r.first += dx;
    r.second += dy;
    r.product += dx * dy;
    r.firstSquares += dx * dx;
    r.secondSquares += dy * dy;
    r.scale += dx * dx + dy * dy + std::fabs(dx) + std::fabs(dy);
  }
  return r;
}

void ExpectSpan(unsigned parts, const std::vector<float>& a, const std::vector<float>& b) {
  const int frames = static_cast<int>(a.size());
  const double originA = 0.25, originB = -0.5;
  // Room around the copies shows a write out of place.
  std::vector<float> copyA(a.size() + 2, 7.0f), copyB(a.size() + 2, 7.0f);
  SpanJob job;
  job.first = a.data();
  job.second = b.data();
  job.frames = frames;
  job.originFirst = originA;
  job.originSecond = originB;
  job.copyFirst = copyA.data() + 1;
  job.copySecond = copyB.data() + 1;
  SpanSums sums;
  SpanKernelFor(parts)(job, sums);
  const Reference r = Expected(a, b, originA, originB);
  const bool copy = parts & kSpanCopy, balance = parts & kSpanBalance, correlation = parts & kSpanCorrelation;

  EXPECT_EQ(sums.peak, copy ? r.peak : 0.0f);
  for (int i = 0; i < frames; ++i) {
    const float x = copy ? Counted(a[i]) : 7.0f, y = copy ? Counted(b[i]) : 7.0f;
    ASSERT_EQ(std::memcmp(&copyA[i + 1], &x, sizeof x), 0) << "frame " << i;
    ASSERT_EQ(std::memcmp(&copyB[i + 1], &y, sizeof y), 0) << "frame " << i;
  }
  EXPECT_EQ(copyA.front(), 7.0f);
  EXPECT_EQ(copyA.back(), 7.0f);
  EXPECT_EQ(copyB.back(), 7.0f);

  EXPECT_EQ(sums.squares0, balance ? r.squares0 : 0.0f);
  EXPECT_EQ(sums.squares1, balance ? r.squares1 : 0.0f);
  EXPECT_EQ(sums.mid, balance ? r.mid : 0.0f);
  EXPECT_EQ(sums.side, balance ? r.side : 0.0f);

  // The double sums differ from the reference only by the order of their additions.
  const double tolerance = static_cast<double>(r.scale) * 1e-12;
  EXPECT_NEAR(sums.first, correlation ? static_cast<double>(r.first) : 0.0, tolerance);
  EXPECT_NEAR(sums.second, correlation ? static_cast<double>(r.second) : 0.0, tolerance);
  EXPECT_NEAR(sums.product, correlation ? static_cast<double>(r.product) : 0.0, tolerance);
  EXPECT_NEAR(sums.firstSquares, correlation ? static_cast<double>(r.firstSquares) : 0.0, tolerance);
  EXPECT_NEAR(sums.secondSquares, correlation ? static_cast<double>(r.secondSquares) : 0.0, tolerance);
}

class SpanKernels : public ::testing::TestWithParam<SpanVariant> {};

TEST_P(SpanKernels, FollowTheOneFrameRulesForEveryPartAndLength) {
  const SpanVariantScope variant(GetParam());
  if (!variant.IsAvailable()) GTEST_SKIP() << "the processor lacks this instruction set";
  const unsigned csr = _mm_getcsr();
  for (const unsigned mode : {0u, 0x8040u /* flush to zero, denormals are zero */}) {
    _mm_setcsr((csr & ~0x8040u) | mode);
    std::mt19937 random(5);
    for (int frames : {0, 1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 2053}) {
      const std::vector<float> a = Samples(random, frames), b = Samples(random, frames);
      for (unsigned parts = 0; parts < kSpanPartCombinations; ++parts) {
        SCOPED_TRACE(::testing::Message() << "mode " << mode << ", " << frames << " frames, parts " << parts);
        ExpectSpan(parts, a, b);
      }
    }
  }
  _mm_setcsr(csr);
}

INSTANTIATE_TEST_SUITE_P(Variants, SpanKernels, ::testing::Values(SpanVariant::kSse2, SpanVariant::kAvx2),
                         [](const ::testing::TestParamInfo<SpanVariant>& info) {
                           return std::string(VariantName(info.param));
                         });

TEST(SpanKernels, Avx2IsChosenWhereverTheProcessorHasIt) {
  EXPECT_EQ(ActiveSpanVariant() == SpanVariant::kAvx2, IsSpanVariantAvailable(SpanVariant::kAvx2));
  EXPECT_TRUE(IsSpanVariantAvailable(SpanVariant::kSse2));
}

TEST(AnalysisPass, OnePassOverEveryPartAllocatesNothing) {
  Analysers analysers;
  analysers.Setup(44100.0f);
  std::mt19937 random(9);
  const std::vector<float> a = Samples(random, 4096), b = Samples(random, 4096);
  std::vector<ScopeBuffer*> ready;
  ready.reserve(ScopeBufferPool::kSize);
  for (SpanVariant v : {SpanVariant::kSse2, SpanVariant::kAvx2}) {
    const SpanVariantScope variant(v);
    const long before = gAllocations.load();
    for (int start = 0; start + 512 <= 4096; start += 512)
      analysers.ProcessInOnePass(&a[start], &b[start], 512);
    EXPECT_EQ(gAllocations.load() - before, 0) << VariantName(v);
    analysers.Phase().CollectReadyScopeBuffers(ready);
    for (ScopeBuffer* buffer : ready) buffer->Release();
  }
}

}  // namespace
