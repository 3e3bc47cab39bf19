// One NaN or inf in the input must neither leak into the measurements nor stick in them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "Analysers.h"

namespace {

TEST(NonFiniteSamples, CountAsSilenceEverywhere) {
  const float rate = 48000.0f;
  const int frames = 48000;
  std::vector<float> a(frames), b(frames);
  for (int i = 0; i < frames; ++i) {
    a[i] = 0.5f * std::sin(0.13f * static_cast<float>(i));
    b[i] = 0.3f * std::sin(0.13f * static_cast<float>(i) + 0.4f);
  }
  std::vector<float> clean0 = a, clean1 = b;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (int i : {100, 5000, 30001}) {
    a[i] = nan;
    b[i + 1] = inf;
    a[i + 2] = -inf;
    clean0[i] = clean1[i + 1] = clean0[i + 2] = 0.0f;
  }
  const std::vector<float> input0 = a, input1 = b;

  Analysers dirty, clean;
  dirty.Setup(rate);
  clean.Setup(rate);
  auto dirtyMid = dirty.Balance().GetMidAverageMeter().AddReader();
  auto cleanMid = clean.Balance().GetMidAverageMeter().AddReader();
  for (int start = 0; start < frames; start += 480) {
    dirty.Process(a.data() + start, b.data() + start, 480);
    clean.Process(clean0.data() + start, clean1.data() + start, 480);
  }
  EXPECT_EQ(dirty.Correlation(), clean.Correlation());
  EXPECT_EQ(dirty.Hold(), clean.Hold());
  EXPECT_EQ(dirty.Average(), clean.Average());
  EXPECT_TRUE(std::isfinite(dirty.Average()));
  EXPECT_EQ(dirty.Balance().GetBalancePeak(), clean.Balance().GetBalancePeak());
  EXPECT_EQ(dirty.Balance().ReadBalanceHistory(nullptr), clean.Balance().ReadBalanceHistory(nullptr));
  EXPECT_EQ(dirtyMid->ReadRaw(), cleanMid->ReadRaw());
  // The input is left as it was, NaNs included (compared bitwise: NaN != NaN).
  EXPECT_EQ(std::memcmp(a.data(), input0.data(), a.size() * sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(b.data(), input1.data(), b.size() * sizeof(float)), 0);
}

TEST(NonFiniteSamples, HugeFiniteSamplesDoNotPoisonTheMidSideAverages) {
  Analysers analysers;
  analysers.Setup(44100.0f);
  auto mid = analysers.Balance().GetMidAverageMeter().AddReader();
  std::vector<float> huge(4410, std::numeric_limits<float>::max());
  analysers.Process(huge.data(), huge.data(), 4410);
  EXPECT_TRUE(std::isfinite(mid->ReadRaw()));
  std::vector<float> quiet(4410 * 50, 0.1f);
  analysers.Process(quiet.data(), quiet.data(), static_cast<int>(quiet.size()));
  const float after = mid->ReadRaw();
  EXPECT_TRUE(std::isfinite(after));
  EXPECT_TRUE(std::isfinite(analysers.Average()));
}

}  // namespace
