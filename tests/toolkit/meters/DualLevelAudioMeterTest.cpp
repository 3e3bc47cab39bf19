#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "tests/toolkit/support/TestRoot.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/meters/DualLevelAudioMeter.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The smoothing coefficient of a time constant at updates per 60 ticks, as the meters define it.
double Coefficient(double seconds, double rate) {
  return 1.0 / (1.0 + seconds * rate * 0.5 * (1.0 - 1.0 / std::exp(1.0)) / 0.95);
}

struct DualFixture : testing::Test {
  TestTick tick;
  TestRoot root{200, 60};
  DualLevelAudioMeter* meter = MakePanelMeter(10, 10, 0x3FB6FF);

  // The analyser panel's mid meter: 137 x 7, zones at -60 and -10, knee -26 over 100 pixels,
  // instant attack, releases of 3 s (main) and 10 s, no peaks.
  DualLevelAudioMeter* MakePanelMeter(std::int32_t x, std::int32_t y, std::uint32_t bar) {
    auto* m = new DualLevelAudioMeter(root.GetRootFrame(), x, y, 137, 7, 2, 0x100, 0);
    for (auto [zone, db] : {std::pair{0, -60.0f}, std::pair{1, -10.0f}}) {
      m->SetZoneThreshold(zone, db, false);
      m->SetZoneColors(zone, FromPixel(bar), kWhite, nullptr);
    }
    m->SetMainChannel(0);
    m->SetShowSecondary(true);
    m->SetPeakHold(false, 0);
    m->SetPeakHold(false, 1);
    m->SetScaleKneeLevel(-26.0f);
    m->SetScaleKneeLength(100);
    m->SetAttackTime(0.0f, 0);
    m->SetReleaseTime(3.0f, 0);
    m->SetAttackTime(0.0f, 1);
    m->SetReleaseTime(10.0f, 1);
    m->SetFallAcceleration(-0.5f);
    return m;
  }
};

TEST_F(DualFixture, PanelScaleTable) {
  struct Case {
    float db;
    std::int32_t pixel;
  };
  // 37 logarithmic pixels up to the knee, 100 linear ones above it.
  const Case cases[] = {{-70.0f, -1}, {-60.0f, 0},  {-43.0f, 15}, {-26.0f, 37},
                        {-10.0f, 98}, {-3.0f, 125}, {0.0f, 137},  {kNaN, -1}};
  for (const Case& c : cases) EXPECT_EQ(meter->LevelToPixel(c.db), c.pixel) << c.db;
  meter->SetLinearScale(true);
  EXPECT_EQ(meter->LevelToPixel(-30.0f), 68);
  EXPECT_EQ(meter->LevelToPixel(6.0f), 137);
  meter->SetZoneThreshold(0, 0.0f, false);  // a floor at 0: no division by zero
  EXPECT_EQ(meter->LevelToPixel(0.0f), 137);
}

TEST_F(DualFixture, ReleasesOf3And10SecondsAt2TickUpdates) {
  tick.Set(1000);
  meter->SetLevels(0.0f, 0.0f);
  EXPECT_EQ(meter->GetDisplayLevel(0), 0.0f);  // attack 0: at once
  EXPECT_EQ(meter->GetDisplayLevel(1), 0.0f);
  const double k3 = Coefficient(3.0, 30.0), k10 = Coefficient(10.0, 30.0);
  double d3 = 0.0, d10 = 0.0;
  // Silence: the level is raised to the floor less 2 dB.
  for (int update = 1; update <= 90; ++update) {
    tick.Advance(2);
    meter->SetLevels(-100.0f, -100.0f);
    d3 += (-62.0 - d3) * k3;
    d10 += (-62.0 - d10) * k10;
    ASSERT_NEAR(meter->GetDisplayLevel(0), d3, 1e-3) << update;
    ASSERT_NEAR(meter->GetDisplayLevel(1), d10, 1e-3) << update;
  }
  // After 3 seconds (180 ticks) the 3-second display has covered about 95 % of the way.
  EXPECT_NEAR(meter->GetDisplayLevel(0), -62.0 * (1.0 - std::pow(1.0 - k3, 90)), 1e-3);
  EXPECT_LT(meter->GetDisplayLevel(0), -58.0f);
  EXPECT_GT(meter->GetDisplayLevel(1), -40.0f);
}

TEST_F(DualFixture, AttackAndLinearFall) {
  meter->SetAttackTime(0.6f, 0);
  tick.Set(1000);
  meter->SetLevels(-60.0f, -60.0f);
  const float before = meter->GetDisplayLevel(0);
  tick.Advance(1);  // 60 updates per 60 ticks
  meter->SetLevels(-20.0f, -20.0f);
  EXPECT_NEAR(meter->GetDisplayLevel(0) - before, (-20.0 - before) / (1.0 + 0.6 * 60 * 0.33270), 1e-3);

  // Release -1, acceleration 0.2: linear, at least 3 dB per 60 ticks, never below the level.
  meter->SetAttackTime(0.0f, 0);
  meter->SetReleaseTime(-1.0f, 0);
  meter->SetFallAcceleration(0.2f);
  meter->SetLevels(0.0f, 0.0f);
  float previous = meter->GetDisplayLevel(0);
  for (int i = 0; i < 400; ++i) {
    tick.Advance(2);
    meter->SetLevels(-30.0f, -30.0f);
    const float d = meter->GetDisplayLevel(0);
    EXPECT_GE(d, -30.0f);
    // At least 0.1 dB per 2 ticks while above the level.
    if (previous > -30.0f) {
      EXPECT_LE(d - previous, std::max(-0.1f, -30.0f - previous) + 1e-5f);
    }
    previous = d;
  }
  EXPECT_EQ(previous, -30.0f);
}

TEST_F(DualFixture, PeakHeld180TicksThenDecaysWith2Seconds) {
  meter->SetPeakHold(true, 0);
  tick.Set(1000);
  meter->SetLevels(-6.0f, -6.0f);
  root.Flush();
  EXPECT_EQ(meter->GetPeak(0), -6.0f);
  meter->SetReleaseTime(0.0f, 0);  // the display drops at once
  double peak = -6.0;
  for (std::int64_t t = 1010; t <= 1400; t += 10) {
    tick.Set(t);
    meter->SetLevels(-50.0f, -50.0f);
    root.Flush();
    if (t >= 1180) peak += (-50.0 - peak) * Coefficient(2.0, 6.0);
    ASSERT_NEAR(meter->GetPeak(0), peak, 1e-3) << t;
  }
}

TEST_F(DualFixture, ANewFloorMovesWhatSatAtTheOldOne) {
  meter->SetZoneThreshold(0, -50.0f, false);
  EXPECT_EQ(meter->GetDisplayLevel(0), -52.0f);
  EXPECT_EQ(meter->GetDisplayLevel(1), -52.0f);
  tick.Set(1000);
  meter->SetLevels(-100.0f, kNaN);  // below the floor and NaN both sit under it
  EXPECT_EQ(meter->GetDisplayLevel(0), -52.0f);
  EXPECT_EQ(meter->GetDisplayLevel(1), -52.0f);
  meter->SetLevels(90.0f, -20.0f);  // same tick: the usual rate, nothing divides by zero
  EXPECT_EQ(meter->GetDisplayLevel(0), 60.0f);
}

TEST_F(DualFixture, IndicesOutOfRangeAreIgnored) {
  auto* none = new DualLevelAudioMeter(root.GetRootFrame(), 0, 30, 50, 5, 0, 0, 0);
  EXPECT_EQ(none->GetZoneCount(), 1);
  none->SetZoneThreshold(1, -3.0f, true);
  none->SetZoneColors(-1, kWhite, kWhite, nullptr);
  none->SetZoneImages(5, Point{}, Point{});
  none->SetMainChannel(2);
  none->SetAttackTime(1.0f, 2);
  none->SetReleaseTime(1.0f, -1);
  none->SetPeakHold(false, 7);
  none->SetHoldTime(1e20f, 0);
  EXPECT_EQ(none->GetMainChannel(), 0);
  EXPECT_EQ(none->GetHoldTicks(0), INT32_MAX);
  EXPECT_EQ(none->GetDisplayLevel(3), -1000.0f);
  root.Flush();
}

TEST_F(DualFixture, UndefinedScaleSettingsGiveDefinedPixels) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  meter->SetScaleKneeLevel(kNaN);
  meter->SetZoneThreshold(0, kNaN, false);
  EXPECT_EQ(meter->GetScaleKneeLevel(), -26.0f) << "NaN is refused";
  EXPECT_EQ(meter->GetZone(0).threshold, -60.0f);
  EXPECT_EQ(meter->LevelToPixel(-43.0f), 15);
  // Infinite knees and floors leave no scale to map onto.
  for (const auto& [knee, floor] : {std::pair{kInf, -60.0f}, std::pair{-kInf, -60.0f},
                                    std::pair{-26.0f, -kInf}, std::pair{kInf, -kInf}}) {
    SCOPED_TRACE(testing::Message() << knee << " " << floor);
    meter->SetScaleKneeLevel(knee);
    meter->SetZoneThreshold(0, floor, false);
    for (float db : {-kInf, -70.0f, -43.0f, 0.0f, kInf}) {
      const std::int32_t pixel = meter->LevelToPixel(db);
      EXPECT_GE(pixel, -1) << db;
      EXPECT_LE(pixel, 2 * 137) << db;
    }
    meter->SetLevels(-20.0f, -5.0f);
    root.Flush();
  }
}

TEST_F(DualFixture, EverySettingReadsBack) {
  const OGWorld picture(Rect{0, 0, 4, 4});
  const OGWorld* world = &picture;
  meter->SetShowMain(false);
  meter->SetShowSecondary(false);
  meter->SetShowPeaksAlways(true);
  meter->SetPeakHold(true, 1);
  meter->SetPeakReleaseTime(4.5f, 1);
  meter->SetPeakMarkerThickness(3);
  meter->SetSecondaryThickness(5);
  meter->SetPixMap(world);
  meter->SetBackground(Point{7, 8});
  meter->SetBackground(Color{1, 2, 3});
  meter->SetBarInsets(Rect{1, 2, 3, 4});
  meter->SetScaleMarks({-20.0f, -6.0f}, Color{4, 5, 6});
  EXPECT_FALSE(meter->GetShowMain());
  EXPECT_FALSE(meter->GetShowSecondary());
  EXPECT_TRUE(meter->GetShowPeaksAlways());
  EXPECT_FALSE(meter->GetPeakHold(0));
  EXPECT_TRUE(meter->GetPeakHold(1));
  EXPECT_FALSE(meter->GetPeakHold(2));
  EXPECT_EQ(meter->GetPeakReleaseTime(0), 2.0f);
  EXPECT_EQ(meter->GetPeakReleaseTime(1), 4.5f);
  EXPECT_EQ(meter->GetPeakMarkerThickness(), 3);
  EXPECT_EQ(meter->GetSecondaryThickness(), 5);
  EXPECT_EQ(meter->GetPixMap(), world);
  EXPECT_EQ(meter->GetBackgroundSource(), (Point{7, 8}));
  EXPECT_EQ(meter->GetBackgroundColor(), (Color{1, 2, 3}));
  EXPECT_EQ(meter->GetBarInsets(), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(meter->GetScaleMarks(), (std::vector<float>{-20.0f, -6.0f}));
  EXPECT_EQ(meter->GetScaleMarkColor(), (Color{4, 5, 6}));
  EXPECT_TRUE(meter->AreScaleMarksOn());
  meter->SetScaleMarksOff();
  EXPECT_FALSE(meter->AreScaleMarksOn());
  meter->SetPixMap(nullptr);
}

TEST_F(DualFixture, DrawsTheMainBarAndTheSecondaryMarker) {
  tick.Set(1000);
  meter->SetLevels(-10.0f, -3.0f);
  root.Flush();
  // Bar from x 10 to 10 + 98; the secondary marker of 2 pixels ends at pixel 125, in white.
  EXPECT_EQ(root.WindowPixel(10, 13), 0x3FB6FFu);
  EXPECT_EQ(root.WindowPixel(10 + 97, 13), 0x3FB6FFu);
  EXPECT_EQ(root.WindowPixel(10 + 98, 13), 0u);
  EXPECT_EQ(root.WindowPixel(10 + 123, 13), 0xFFFFFFu);
  EXPECT_EQ(root.WindowPixel(10 + 124, 13), 0xFFFFFFu);
  EXPECT_EQ(root.WindowPixel(10 + 125, 13), 0u);
}

TEST_F(DualFixture, ScaleMarksAndRepeatedDrawsInOneTick) {
  meter->SetPeakHold(true, 0);
  meter->SetScaleMarks({-26.0f, -10.0f}, Color{0xFFFF, 0, 0});
  tick.Set(1000);
  meter->SetLevels(-70.0f, -70.0f);
  root.Flush();
  // Half the meter's height from its top edge at each mark's pixel.
  EXPECT_EQ(root.WindowPixel(10 + 37, 10), 0xFF0000u);
  EXPECT_EQ(root.WindowPixel(10 + 37, 12), 0xFF0000u);
  EXPECT_EQ(root.WindowPixel(10 + 37, 13), 0u);
  EXPECT_EQ(root.WindowPixel(10 + 98, 11), 0xFF0000u);
  const float peak = meter->GetPeak(0);
  meter->Redraw(nullptr, true);
  root.Flush();
  meter->Redraw(nullptr, true);
  root.Flush();  // no tick between the draws: the peak stays, nothing divides by zero
  EXPECT_EQ(meter->GetPeak(0), peak);
}

}  // namespace

namespace {

// New levels ask for a redraw only when they move the bar's or a marker's pixels.
TEST_F(DualFixture, LevelsAskForARedrawOnlyWhenTheyMoveThePixels) {
  struct Case {
    float from0, from1, to0, to1;
    bool asks;
  };
  // Attack 0: a rise shows at once. -20 dB lies at pixel 60.1, -19.9 at 60.5, -19.5 at 62.
  const Case cases[] = {
      {-20.0f, -20.0f, -20.0f, -20.0f, false}, {-20.0f, -20.0f, -19.9f, -20.0f, false},
      {-20.0f, -20.0f, -19.5f, -20.0f, true},  {-20.0f, -20.0f, -20.0f, -19.9f, false},
      {-20.0f, -20.0f, -20.0f, -19.5f, true},  {-80.0f, -80.0f, -90.0f, kNaN, false},
      {-80.0f, -80.0f, -30.0f, -80.0f, true},
  };
  tick.Set(1000);
  for (const Case& c : cases) {
    meter->ResetLevels();
    tick.Advance(2);
    meter->SetLevels(c.from0, c.from1);
    root.Flush();
    meter->SetLevels(c.to0, c.to1);  // the same tick: no release moves the displays
    const std::vector<Frame*>& set = root.GetUpdateSet();
    EXPECT_EQ(std::find(set.begin(), set.end(), meter) != set.end(), c.asks)
        << c.from0 << " " << c.from1 << " to " << c.to0 << " " << c.to1;
    root.Flush();
  }
  // A look changed without a redraw shows with the next levels, even ones on the same pixels.
  meter->SetLevels(-20.0f, -20.0f);
  root.Flush();
  meter->SetShowSecondary(false);
  meter->SetLevels(-20.0f, -20.0f);
  EXPECT_FALSE(root.GetUpdateSet().empty());
}

}  // namespace
