// The correlation and balance meters: their state alone, and their pixels in the editor's
// coordinates (the panel at (0, 24); the balance strip at (14, 39) and the correlation bar at
// (245, 39) in it).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "analyser/editor/main/KorvaneGenericDrawFrame.h"
#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"
#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"
#include "analyser/editor/scope/KorvanePhaseFrame.h"
#include "analyser/resources/BitmapInventory.h"
#include "tests/analyser/editor/support/EditorFixture.h"
#include "toolkit/drawing/BitmapStore.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::uint32_t BitmapPixel(std::int32_t id, std::int32_t x, std::int32_t y) {
  const BitmapResource* b = FindBitmapResource(id);
  return b->pixels[y * b->width + x];
}

TEST(CorrelationGlow, ColumnsOfCorrelations) {
  EXPECT_EQ(CorrelationGlow::Segment(1.0f), 116);
  EXPECT_EQ(CorrelationGlow::Segment(-1.0f), 0);
  EXPECT_EQ(CorrelationGlow::Segment(0.0f), 58);
  EXPECT_EQ(CorrelationGlow::Segment(5.0f), 116);
  EXPECT_EQ(CorrelationGlow::Segment(-5.0f), 0);
}

TEST(CorrelationGlow, AJumpAcrossTheBarLightsEveryColumnTheNewestMost) {
  CorrelationGlow glow;
  glow.Advance(-1.0f, 1.0f);  // from the initial +1
  for (std::int32_t k = 0; k < CorrelationGlow::kColumns; ++k) EXPECT_GT(glow.GetGlow()[k], 0.0f) << k;
  EXPECT_FLOAT_EQ(glow.GetGlow()[0], 49.0f * 0.97f) << "capped at 49, then decayed";
  EXPECT_LT(glow.GetGlow()[116], glow.GetGlow()[58]);
}

TEST(CorrelationGlow, ASteadyCorrelationSettlesBelowTheCap) {
  CorrelationGlow glow;
  for (int i = 0; i < 1000; ++i) glow.Advance(0.0f, 0.0f);
  // One added per tick against 3 % lost: 1 / 0.03 before the decay.
  EXPECT_NEAR(glow.GetGlow()[58] / 0.97f, 33.3f, 0.1f);
  EXPECT_EQ(glow.GetAverageColumn(), 58);
}

TEST(CorrelationGlow, NotANumberKeepsTheLastColumnAndTheAverageReadsOne) {
  CorrelationGlow glow;
  glow.Advance(0.0f, kNaN);
  EXPECT_EQ(glow.GetAverageColumn(), 116);
  const auto before = glow.GetGlow();
  glow.Advance(kNaN, 0.0f);
  for (std::int32_t k = 0; k < CorrelationGlow::kColumns; ++k)
    EXPECT_FLOAT_EQ(glow.GetGlow()[k], (before[k] + (k == 58 ? 1.0f : 0.0f)) * 0.97f) << k;
}

TEST(BalanceScale, ColumnsOfBalances) {
  const BalanceScale scale(189);
  const struct {
    float db;
    std::int32_t column;
  } cases[] = {{-20, 0}, {-10, 1}, {-5, 36}, {-1, 80}, {0, 94}, {1, 108}, {5, 152}, {10, 188}, {20, 188}};
  for (const auto& c : cases) EXPECT_EQ(scale.Position(c.db), c.column) << c.db << " dB";
  EXPECT_EQ(scale.Position(kNaN), 94);
  EXPECT_EQ(scale.Position(std::numeric_limits<float>::infinity()), 188);
  EXPECT_EQ(scale.Position(-std::numeric_limits<float>::infinity()), 0);
}

struct MeterFixture : EditorFixture {
  Frame* panel{new KorvaneGenericDrawFrame(root.GetRootFrame(), 0, 24, 399, 369, 0, 0, bitmaps::kPanel)};
  KVNPhaseCorrelationMeterFrame* correlation{new KVNPhaseCorrelationMeterFrame(&plugin, panel, 245, 39)};
  KorvaneBalanceMeterFrame* balance{new KorvaneBalanceMeterFrame(&plugin, panel, 14, 39)};

  void Tick() {
    correlation->OnTimer();
    balance->OnTimer();
    root.Flush();
  }
  // Whole 50 ms windows of a 1 kHz tone, the right channel `gain` times the left.
  void FeedWindows(std::int32_t windows, float gain) {
    const std::int32_t n = 2205 * windows;
    std::vector<float> left(n), right(n);
    for (std::int32_t i = 0; i < n; ++i) {
      left[i] = 0.25f * std::sin(2.0f * 3.14159265f * 1000.0f * float(i) / 44100.0f);
      right[i] = gain * left[i];
    }
    Feed(left, right);
  }
};

TEST(CorrelationMeterFrame, SteadyAntiPhaseGlowsAtTheLeftWithTheAverageMarker) {
  MeterFixture f;
  for (int i = 0; i < 40; ++i) {
    f.FeedWindows(1, -1.0f);
    f.Tick();
  }
  const std::int32_t level = f.correlation->GetGlow().Level(0);
  EXPECT_GE(level, 15);
  EXPECT_EQ(f.root.Pixel(245, 63), BitmapPixel(bitmaps::kMeterScales, 0, 26 + 49 - level));
  EXPECT_EQ(f.root.Pixel(245, 68), BitmapPixel(bitmaps::kMeterScales, 0, 26 + 49 - level));
  const std::int32_t o = f.correlation->GetGlow().GetAverageColumn();
  EXPECT_LT(o, 116) << "the average has moved towards -1";
  EXPECT_GT(o, 1) << "but slowly";
  for (std::int32_t x = o - 1; x <= o + 1; ++x) EXPECT_EQ(f.root.Pixel(245 + x, 63), 0xFFFFFFu) << x;
  f.root.SavePicture("meters-anti-phase");
}

TEST(BalanceMeterFrame, HistoryMarksInTheirSideColoursAndTheMeanMarker) {
  MeterFixture f;
  f.FeedWindows(59, 2.0f);  // right 6 dB louder in every entry
  f.Tick();
  f.FeedWindows(20, 0.5f);  // then 20 entries left 6 dB louder
  f.Tick();
  const BalanceScale& scale = f.balance->GetScale();
  std::vector<float> history;
  const float mean = f.Balance().ReadBalanceHistory(&history);
  EXPECT_EQ(f.root.Pixel(14 + scale.Position(6.02f), 63), bitmaps::chips::kBalanceRight[0]);
  EXPECT_EQ(f.root.Pixel(14 + scale.Position(-6.02f), 63), bitmaps::chips::kBalanceLeft[0]);
  const std::int32_t m = scale.Position(mean);
  for (std::int32_t x = m - 1; x <= m + 1; ++x) EXPECT_EQ(f.root.Pixel(14 + x, 63), 0xFFFFFFu) << x;
  f.root.SavePicture("meters-balance");
}

TEST(BalanceMeterFrame, TrailsFadeTickByTick) {
  MeterFixture f;
  f.FeedWindows(59, 2.0f);
  f.Tick();
  // The whole history moves to -6 dB; the +6 dB marks stay behind as trails, one step darker a tick.
  f.FeedWindows(59, 0.5f);
  const std::int32_t x = 14 + f.balance->GetScale().Position(6.02f);
  for (std::int32_t age = 1; age <= KorvaneBalanceMeterFrame::kTrails; ++age) {
    f.Tick();
    EXPECT_EQ(f.root.Pixel(x, 63), bitmaps::chips::kBalanceRight[age]) << age;
  }
  f.Tick();
  EXPECT_EQ(f.root.Pixel(x, 63), BitmapPixel(bitmaps::kMeterScales, 3 + x - 14, 86)) << "gone after five";
}

}  // namespace

namespace {

TEST(MeterFrames, KeepFlag0x200AndAreBuffered) {
  MeterFixture f;
  auto* scope = new KorvanePhaseFrame(&f.plugin, f.panel, 9, 88, 200, 200, bitmaps::kPanel, 9, 88);
  for (const Frame* frame : {static_cast<const Frame*>(f.correlation), static_cast<const Frame*>(f.balance),
                             static_cast<const Frame*>(scope)})
    EXPECT_EQ(frame->GetFlags(), 0x300u);
}

}  // namespace
