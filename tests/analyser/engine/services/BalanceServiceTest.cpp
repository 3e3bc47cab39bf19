#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Analysers.h"
#include "framework/metering/Decibels.h"

namespace {

class BalanceService : public ::testing::Test {
 protected:
  void SetUp() override { analysers.Setup(44100.0f); }
  // `windows` RMS windows with the second channel `db` louder than the first.
  void Windows(int windows, float db) {
    const int frames = 2205 * windows;
    std::vector<float> a(static_cast<std::size_t>(frames)), b(a.size());
    const float gain = static_cast<float>(DbToLinear(db));
    for (int i = 0; i < frames; ++i) {
      a[static_cast<std::size_t>(i)] = 0.2f * std::sin(0.031f * static_cast<float>(i));
      b[static_cast<std::size_t>(i)] = gain * a[static_cast<std::size_t>(i)];
    }
    analysers.Process(a.data(), b.data(), frames);
  }
  KorvaneBalanceService& balance() { return analysers.Balance(); }
  Analysers analysers;
};

TEST_F(BalanceService, PeakKeepsLargestMagnitudeWithItsSign) {
  Windows(59, -4.0f);
  EXPECT_NEAR(balance().GetBalancePeak(), -4.0f, 0.05f);
  Windows(59, 5.0f);
  EXPECT_NEAR(balance().GetBalancePeak(), 5.0f, 0.05f);
  EXPECT_NEAR(balance().ReadBalanceHistory(), 5.0f, 0.05f);
  Windows(59, -3.0f);
  EXPECT_NEAR(balance().ReadBalanceHistory(), -3.0f, 0.05f);
  EXPECT_NEAR(balance().GetBalancePeak(), 5.0f, 0.05f);
  balance().ResetBalancePeak();
  EXPECT_EQ(balance().GetBalancePeak(), 0.0f);
}

TEST_F(BalanceService, BalanceGrowsWithTheWrittenEntries) {
  Windows(20, 6.0f);
  std::vector<float> entries(3, 99.0f);
  const float mean = balance().ReadBalanceHistory(&entries);
  ASSERT_EQ(entries.size(), 59u);
  EXPECT_NEAR(entries[0], 6.0f, 0.05f);
  EXPECT_NEAR(entries[19], 6.0f, 0.05f);
  EXPECT_EQ(entries[20], 0.0f);
  EXPECT_NEAR(mean, 6.0f * 20.0f / 59.0f, 0.02f);
}

TEST_F(BalanceService, WindowOf2205FramesAt44100) {
  std::vector<float> a(2205, 0.25f), silent(2205, 0.0f);
  analysers.Process(a.data(), silent.data(), 2204);
  EXPECT_EQ(balance().ReadBalanceHistory(), 0.0f);
  analysers.Process(a.data(), silent.data(), 1);
  std::vector<float> entries;
  balance().ReadBalanceHistory(&entries);
  EXPECT_NEAR(entries[0], -120.0f - FastLinearToDb(0.25f), 1e-4f);
  EXPECT_EQ(entries[1], 0.0f);
}

TEST_F(BalanceService, SegmentOf4410FramesKeepsItsMaximumAcrossBlocks) {
  auto midAverage = balance().GetMidAverageMeter().AddReader();
  auto sideAverage = balance().GetSideAverageMeter().AddReader();
  std::vector<float> loud(2205, 0.25f), quiet(2205, 0.125f), silent(2205, 0.0f);
  analysers.Process(loud.data(), silent.data(), 2205);
  analysers.Process(quiet.data(), quiet.data(), 2204);
  EXPECT_EQ(midAverage->ReadRaw(), 0.0f);
  analysers.Process(quiet.data(), quiet.data(), 1);
  const float k = static_cast<float>(SmoothingCoefficient(4.0, 10.0));
  // The loud first block counts although the segment ended in a quiet one.
  EXPECT_FLOAT_EQ(midAverage->ReadRaw(), 0.25f * k);
  EXPECT_FLOAT_EQ(sideAverage->ReadRaw(), 0.25f * k);
}

TEST_F(BalanceService, IdenticalChannelsHaveNoSideAndTwiceTheMid) {
  auto mid = balance().GetMidPeakMeter().AddReader();
  auto side = balance().GetSidePeakMeter().AddReader();
  auto spare = balance().GetSpareMeter().AddReader();
  Windows(3, 0.0f);
  EXPECT_EQ(side->ReadRaw(), 0.0f);
  EXPECT_NEAR(mid->ReadRaw(), 0.4f, 1e-3f);
  EXPECT_EQ(spare->ReadRaw(), 0.0f);
  EXPECT_EQ(balance().ReadBalanceHistory(), 0.0f);
}

TEST_F(BalanceService, ResetClearsHistoryPeakAndAverages) {
  auto midAverage = balance().GetMidAverageMeter().AddReader();
  Windows(30, 6.0f);
  ASSERT_GT(balance().GetBalancePeak(), 1.0f);
  balance().Reset();
  EXPECT_EQ(balance().GetBalancePeak(), 0.0f);
  EXPECT_EQ(balance().ReadBalanceHistory(), 0.0f);
  midAverage->ReadRaw();
  std::vector<float> a(4410, 0.25f);
  analysers.Process(a.data(), a.data(), 4410);
  // The average starts again from 0.
  EXPECT_FLOAT_EQ(midAverage->ReadRaw(), 0.5f * static_cast<float>(SmoothingCoefficient(4.0, 10.0)));
}

}  // namespace
