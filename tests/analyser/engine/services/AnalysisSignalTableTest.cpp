// The two analyses measured against an independent reference, for concrete signals, sample
// rates and block sizes, with the span kernels of every instruction set the processor has, each
// service in its own pass and all in the plug-in's one pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "Analysers.h"
#include "SignalTable.h"
#include "SpanVariantScope.h"
#include "framework/metering/Decibels.h"

namespace {

using signals::Kind;

// Correlation results are floats; the reference is exact to far better than this.
constexpr double kCorrelationTolerance = 2e-6;
constexpr double kSmoothedTolerance = 1e-5;   // hold and average after many float updates
constexpr double kBalanceToleranceDb = 1e-3;  // float RMS sums against long double
constexpr double kLevelTolerance = 1e-6;

struct Expected {
  std::vector<double> correlations;  // per window
  double hold = 1.0;
  double average = 1.0;
  std::vector<double> entryBalance;  // per history slot
  double balancePeak = 0.0;
};

Expected Reference(const signals::Stereo& s, double rate, std::int64_t frames, int blockSize) {
  Expected e;
  const std::int64_t window = static_cast<std::int64_t>(static_cast<float>(rate) * 0.05f);
  const float holdK = static_cast<float>(SmoothingCoefficient(1.0, 1.0 / static_cast<double>(0.05f)));
  const float averageK = static_cast<float>(SmoothingCoefficient(5.0, 1.0 / static_cast<double>(0.05f)));
  float hold = 1.0f, average = 1.0f;
  e.entryBalance.assign(59, 0.0);
  std::vector<double> db0(59, -120.0), db1(59, -120.0);
  int position = 0;
  double peak = 0.0;
  std::int64_t nextWindowEnd = window;
  for (std::int64_t blockStart = 0; blockStart < frames; blockStart += blockSize) {
    const std::int64_t blockEnd = std::min<std::int64_t>(frames, blockStart + blockSize);
    for (; nextWindowEnd <= blockEnd; nextWindowEnd += window) {
      const float* a = s.first.data() + nextWindowEnd - window;
      const float* b = s.second.data() + nextWindowEnd - window;
      const double r = signals::WindowCorrelation(a, b, window);
      e.correlations.push_back(r);
      const float rf = static_cast<float>(r);
      if (rf < hold) hold += (rf - hold) * holdK;
      if (signals::MeanSquare(a, window) >= 1e-6f && signals::MeanSquare(b, window) != 0.0)
        average += (rf - average) * averageK;
      db0[position] = FastLinearToDb(static_cast<float>(signals::WindowRms(a, window)));
      db1[position] = FastLinearToDb(static_cast<float>(signals::WindowRms(b, window)));
      e.entryBalance[position] = db1[position] - db0[position];
      position = (position + 1) % 59;
    }
    double mean = 0.0;
    for (double v : e.entryBalance) mean += v;
    mean /= 59.0;
    if (std::fabs(mean) > std::fabs(peak)) peak = mean;
  }
  e.hold = hold;
  e.average = average;
  e.balancePeak = peak;
  return e;
}

struct Case {
  Kind kind;
  double rate;
  int blockSize;
  SpanVariant variant;
  bool onePass;
};

class SignalTable : public ::testing::TestWithParam<Case> {};

TEST_P(SignalTable, CorrelationBalanceAndMidSideFollowTheReference) {
  const Case c = GetParam();
  const SpanVariantScope variant(c.variant);
  if (!variant.IsAvailable()) GTEST_SKIP() << "the processor lacks this instruction set";
  const std::int64_t frames = static_cast<std::int64_t>(c.rate * 3.2);  // 59 windows and more
  const signals::Stereo s = signals::Make(c.kind, c.rate, frames);
  const Expected e = Reference(s, c.rate, frames, c.blockSize);

  Analysers analysers;
  analysers.Setup(static_cast<float>(c.rate));
  auto midPeak = analysers.Balance().GetMidPeakMeter().AddReader();
  auto sidePeak = analysers.Balance().GetSidePeakMeter().AddReader();
  auto midAverage = analysers.Balance().GetMidAverageMeter().AddReader();
  auto sideAverage = analysers.Balance().GetSideAverageMeter().AddReader();

  const std::int64_t window = static_cast<std::int64_t>(static_cast<float>(c.rate) * 0.05f);
  const std::int64_t segment = static_cast<std::int64_t>(c.rate * 0.1);
  const float segmentK = static_cast<float>(SmoothingCoefficient(4.0, c.rate / segment));
  float midAverageRef = 0.0f, sideAverageRef = 0.0f, segmentMid = 0.0f, segmentSide = 0.0f;
  std::size_t windowsSeen = 0;
  for (std::int64_t start = 0; start < frames; start += c.blockSize) {
    const int n = static_cast<int>(std::min<std::int64_t>(c.blockSize, frames - start));
    if (c.onePass)
      analysers.ProcessInOnePass(s.first.data() + start, s.second.data() + start, n);
    else
      analysers.Process(s.first.data() + start, s.second.data() + start, n);

    float blockMid = 0.0f, blockSide = 0.0f;
    for (std::int64_t k = start; k < start + n; ++k) {
      const float mid = std::fabs(s.first[k] + s.second[k]);
      const float side = std::fabs(s.first[k] - s.second[k]);
      blockMid = std::max(blockMid, mid);
      blockSide = std::max(blockSide, side);
      segmentMid = std::max(segmentMid, mid);
      segmentSide = std::max(segmentSide, side);
      if ((k + 1) % segment == 0) {
        midAverageRef += (segmentMid - midAverageRef) * segmentK;
        sideAverageRef += (segmentSide - sideAverageRef) * segmentK;
        segmentMid = segmentSide = 0.0f;
      }
    }
    ASSERT_NEAR(midPeak->ReadRaw(), blockMid, kLevelTolerance) << start;
    ASSERT_NEAR(sidePeak->ReadRaw(), blockSide, kLevelTolerance) << start;
    ASSERT_NEAR(midAverage->ReadRaw(), midAverageRef, kLevelTolerance) << start;
    ASSERT_NEAR(sideAverage->ReadRaw(), sideAverageRef, kLevelTolerance) << start;

    const std::size_t windowsDone = static_cast<std::size_t>((start + n) / window);
    if (windowsDone > windowsSeen) {
      ASSERT_LT(windowsDone - 1, e.correlations.size());
      ASSERT_NEAR(analysers.Correlation(), e.correlations[windowsDone - 1], kCorrelationTolerance)
          << "window " << windowsDone - 1;
      windowsSeen = windowsDone;
    }
  }
  EXPECT_EQ(windowsSeen, e.correlations.size());
  EXPECT_NEAR(analysers.Hold(), e.hold, kSmoothedTolerance);
  EXPECT_NEAR(analysers.Average(), e.average, kSmoothedTolerance);

  std::vector<float> entries;
  const float mean = analysers.Balance().ReadBalanceHistory(&entries);
  ASSERT_EQ(entries.size(), 59u);
  double expectedMean = 0.0;
  for (int i = 0; i < 59; ++i) {
    EXPECT_NEAR(entries[i], e.entryBalance[i], kBalanceToleranceDb) << i;
    expectedMean += e.entryBalance[i];
  }
  EXPECT_NEAR(mean, expectedMean / 59.0, kBalanceToleranceDb);
  EXPECT_NEAR(analysers.Balance().GetBalancePeak(), e.balancePeak, kBalanceToleranceDb);
}

// The values the reference must give for the plain signals, so that a wrong reference cannot
// hide a wrong analysis.
TEST(SignalTableReference, NamedValues) {
  struct Named {
    Kind kind;
    double correlation;
    double entryBalance;
  };
  const double plus6 =
      FastLinearToDb(0.125f * 1.9952623f / std::sqrt(2.0f)) - FastLinearToDb(0.125f / std::sqrt(2.0f));
  for (const Named& n :
       {Named{Kind::Identical, 1.0, 0.0}, Named{Kind::Inverted, -1.0, 0.0}, Named{Kind::Silence, 1.0, 0.0},
        Named{Kind::LeftOnly, 1.0, -120.0 - FastLinearToDb(0.35355339f)}, Named{Kind::Quadrature, 0.0, 0.0},
        Named{Kind::RightPlus6Db, 1.0, plus6}, Named{Kind::DcOffset, 1.0, 0.0},
        Named{Kind::DcOffsetInverted, -1.0, 0.0},
        Named{Kind::PureDc, 1.0, FastLinearToDb(0.25f) - FastLinearToDb(0.5f)}}) {
    const double rate = 48000.0;
    const signals::Stereo s = signals::Make(n.kind, rate, 48000);
    const Expected e = Reference(s, rate, 48000, 480);
    ASSERT_EQ(e.correlations.size(), 20u);
    for (double r : e.correlations) EXPECT_NEAR(r, n.correlation, 0.01) << signals::Name(n.kind);
    EXPECT_NEAR(e.entryBalance[0], n.entryBalance, 0.05) << signals::Name(n.kind);
  }
  EXPECT_NEAR(plus6, 6.0, 0.05);
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (Kind kind :
       {Kind::Identical, Kind::Inverted, Kind::LeftOnly, Kind::RightOnly, Kind::Silence, Kind::Quadrature,
        Kind::RightPlus6Db, Kind::DcOffset, Kind::DcOffsetInverted, Kind::PureDc})
    for (double rate : {44100.0, 48000.0})
      for (int block : {480, 127, 2205})
        for (SpanVariant variant : {SpanVariant::kSse2, SpanVariant::kAvx2})
          for (bool onePass : {false, true}) cases.push_back({kind, rate, block, variant, onePass});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalTable, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = signals::Name(info.param.kind);
                           std::replace(name.begin(), name.end(), '-', '_');
                           std::replace(name.begin(), name.end(), '+', 'p');
                           return name + "_" + std::to_string(static_cast<int>(info.param.rate)) + "_" +
                                  std::to_string(info.param.blockSize) + "_" +
                                  VariantName(info.param.variant) + (info.param.onePass ? "_onepass" : "");
                         });

}  // namespace
