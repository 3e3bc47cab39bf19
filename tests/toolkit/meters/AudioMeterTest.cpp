#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "tests/toolkit/support/TestRoot.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/meters/AudioMeter.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct MeterFixture : testing::Test {
  TestTick tick;
  TestRoot root{200, 120};
  // Each draw runs the ballistics at the current tick.
  void DrawAt(Frame* meter, std::int64_t t) {
    tick.Set(t);
    meter->Redraw(nullptr, true);
    root.Flush();
  }
};

TEST_F(MeterFixture, LevelToPixelTable) {
  // 100 pixels, floor -100 dB; linear and with the default curve 0.1.
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  struct Case {
    float curve, db;
    std::int32_t pixel;
  };
  const Case cases[] = {
      {0.0f, -100.0f, 0},    {0.0f, -50.0f, 50}, {0.0f, -6.0f, 94},   {0.0f, 0.0f, 100},
      {0.0f, -100.5f, 1100}, {0.0f, kNaN, 1100}, {0.1f, -100.0f, 0},  {0.1f, 0.0f, 100},
      {0.1f, -50.0f, 23},    {0.1f, -15.0f, 66}, {-2.0f, -25.0f, 75},
  };
  for (const Case& c : cases) {
    meter->SetScaleCurve(c.curve);
    EXPECT_EQ(meter->LevelToPixel(c.db), c.pixel) << c.curve << " " << c.db;
  }
  // A floor at or above 0 leaves no scale: no division by zero, the bar full or empty.
  meter->SetScaleCurve(0.0f);
  meter->SetFloorLevel(0.0f);
  EXPECT_EQ(meter->LevelToPixel(0.0f), 100);
  EXPECT_EQ(meter->LevelToPixel(-1.0f), 1100);
  meter->SetFloorLevel(3.0f);
  EXPECT_EQ(meter->LevelToPixel(6.0f), 100);
  // A bar without length: every level on the scale at pixel 0, whatever the curve.
  meter->SetFloorLevel(-100.0f);
  meter->SetBarRect(Rect{0, 50, 10, 50});
  for (float curve : {0.0f, 0.1f}) {
    meter->SetScaleCurve(curve);
    for (float db : {-100.0f, -50.0f, 0.0f, std::numeric_limits<float>::infinity()})
      EXPECT_EQ(meter->LevelToPixel(db), 0) << curve << " " << db;
  }
  meter->SetLevel(-20.0f);
  meter->Redraw(nullptr, true);
  root.Flush();
}

TEST_F(MeterFixture, FallsAt48DbPerSecondAndHoldsThePeakFor180Ticks) {
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  meter->SetLevel(0.0f);
  DrawAt(meter, 1000);
  EXPECT_EQ(meter->GetDisplayedLevel(), 0.0f);
  EXPECT_EQ(meter->GetPeak(), 0.0f);
  meter->SetLevel(-100.0f);
  std::vector<float> display, peak;
  for (std::int64_t t = 1015; t <= 1300; t += 15) {
    DrawAt(meter, t);
    display.push_back(meter->GetDisplayedLevel());
    peak.push_back(meter->GetPeak());
  }
  // 12 dB per 15 ticks, down to the floor after 125 ticks.
  const std::vector<float> expectedDisplay{-12,  -24,  -36,  -48,  -60,  -72,  -84,  -96,  -100, -100,
                                           -100, -100, -100, -100, -100, -100, -100, -100, -100, -100};
  EXPECT_EQ(display, expectedDisplay);
  // Held until tick 1180, then 4.5 dB per 15 ticks.
  for (std::size_t i = 0; i < peak.size(); ++i) {
    const std::int64_t t = 1015 + 15 * std::int64_t(i);
    const float expected = t < 1180 ? 0.0f : -4.5f * float((t - 1180) / 15 + 1) + 0.0f;
    EXPECT_NEAR(peak[i], std::max(expected, -100.0f), 1e-4) << t;
  }
}

TEST_F(MeterFixture, ANegativeHoldKeepsThePeakUntilReset) {
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  meter->SetPeakHoldTime(-1.0f);
  meter->SetLevel(-10.0f);
  DrawAt(meter, 1000);
  meter->SetLevel(-90.0f);
  DrawAt(meter, 100000);
  EXPECT_EQ(meter->GetPeak(), -10.0f);
  meter->ResetPeak();
  EXPECT_EQ(meter->GetPeak(), -100.0f);
}

TEST_F(MeterFixture, SettingsStayDefined) {
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  for (float seconds : {1e12f, -1e12f, kNaN, 3.0f}) meter->SetPeakHoldTime(seconds);
  EXPECT_EQ(meter->GetPeakHoldTicks(), 180);
  meter->SetPeakHoldTime(1e12f);
  EXPECT_EQ(meter->GetPeakHoldTicks(), INT32_MAX);
  meter->SetPeakHoldTime(kNaN);
  EXPECT_EQ(meter->GetPeakHoldTicks(), 0);
  meter->SetZoneThresholds(3.0f, -20.0f);
  EXPECT_EQ(meter->GetZone2Threshold(), -6.0f);
  EXPECT_EQ(meter->GetZone1Threshold(), -20.0f);
  meter->SetLevel(kNaN);
  EXPECT_EQ(meter->GetLevel(), -100.0f);
  meter->SetLevel(90.0f);
  EXPECT_EQ(meter->GetLevel(), 60.0f);
  DrawAt(meter, 5);
  DrawAt(meter, 5);  // no time passed: nothing moves, nothing divides
  EXPECT_EQ(meter->GetDisplayedLevel(), 60.0f);
}

// The bar of a vertical 10 x 100 meter by zone colour, read from the window.
std::vector<std::uint32_t> Column(TestRoot& root, std::int32_t x) {
  std::vector<std::uint32_t> column;
  for (std::int32_t y = 99; y >= 0; --y) column.push_back(root.WindowPixel(x, y));
  return column;
}

TEST_F(MeterFixture, ZonesAndPeakMarker) {
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  meter->SetScaleCurve(0.0f);
  meter->SetPeakHoldTime(-1.0f);
  meter->SetLevel(-3.0f);
  DrawAt(meter, 1000);
  meter->SetLevel(-40.0f);
  meter->SetFallRate(1e6f);
  DrawAt(meter, 1001);
  auto column = Column(root, 5);
  // Zone 0 green up to pixel 60 (-40 dB); the peak marker at -3 dB (pixel 97) in zone 2 red.
  for (std::int32_t p = 0; p < 60; ++p) EXPECT_EQ(column[p], 0x00FF00u) << p;
  for (std::int32_t p = 60; p < 96; ++p) EXPECT_EQ(column[p], 0u) << p;
  EXPECT_EQ(column[96], 0xFF0000u);  // 97 pixels up: the strip just below that edge
  EXPECT_EQ(column[97], 0u);
  meter->SetLevel(-3.0f);
  DrawAt(meter, 1002);
  column = Column(root, 5);
  EXPECT_EQ(column[10], 0x00FF00u);
  EXPECT_EQ(column[90], 0xFFFF00u);
  EXPECT_EQ(column[95], 0xFF0000u);
}

TEST_F(MeterFixture, ZoneImagesAndMirroring) {
  // Zone images side by side: zone 0 = cell 1, zone 1 = cell 2, zone 2 = cell 3; background cell 0.
  auto images = MakeCellStrip(4, 10, 100);
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  meter->SetPixMap(images.get(), Point{0, 0}, Point{10, 0}, Point{20, 0}, Point{30, 0});
  meter->SetScaleCurve(0.0f);
  meter->SetPeakHold(false);
  meter->SetLevel(-50.0f);
  DrawAt(meter, 1000);
  EXPECT_EQ(FromPixel(root.WindowPixel(5, 99)), CellColor(1));  // the bar from the bottom
  EXPECT_EQ(FromPixel(root.WindowPixel(5, 40)), CellColor(0));
  meter->SetMirrored(true);
  DrawAt(meter, 1001);
  EXPECT_EQ(FromPixel(root.WindowPixel(5, 0)), CellColor(1));  // reflected: from the top
  EXPECT_EQ(FromPixel(root.WindowPixel(5, 49)), CellColor(1));
  EXPECT_EQ(FromPixel(root.WindowPixel(5, 50)), CellColor(0));
}

TEST_F(MeterFixture, TicksAcrossTheBarLessTheOffset) {
  auto* meter = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  meter->SetScaleCurve(0.0f);
  meter->SetPeakHold(false);
  meter->SetLevelOffset(10.0f);
  meter->SetTicks({-30.0f}, Color{0, 0, 0xFFFF});  // -40 on the scale: pixel 60
  DrawAt(meter, 1000);
  for (std::int32_t x = 0; x < 10; ++x) EXPECT_EQ(root.WindowPixel(x, 40), 0x0000FFu) << x;
  meter->SetTicksOff();
  DrawAt(meter, 1001);
  EXPECT_EQ(root.WindowPixel(5, 40), 0u);
}

TEST_F(MeterFixture, GainReductionBarsBothWays) {
  auto* vertical = new GainReductionMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1);
  auto* horizontal = new GainReductionMeter(root.GetRootFrame(), 20, 0, 100, 6, 0, 2);
  for (GainReductionMeter* m : {vertical, horizontal}) {
    m->SetFloorLevel(-40.0f);
    m->SetScaleCurve(0.0f);
    m->SetPeakHold(false);
    m->SetFallRate(1e6f);
  }
  auto barPixels = [&] {
    std::int32_t v = 0, h = 0;
    for (std::int32_t y = 0; y < 100; ++y) v += root.WindowPixel(5, y) != 0;
    for (std::int32_t x = 20; x < 120; ++x) h += root.WindowPixel(x, 3) != 0;
    return std::pair{v, h};
  };
  struct Case {
    float db;
    std::int32_t bar;
  };
  // 0 dB: nothing; the floor and below: the whole bar, vertical as horizontal.
  const Case cases[] = {{0.0f, 0}, {-10.0f, 25}, {-40.0f, 100}, {-60.0f, 100}, {kNaN, 0}};
  std::int64_t t = 1000;
  for (const Case& c : cases) {
    vertical->SetLevel(c.db);
    horizontal->SetLevel(c.db);
    DrawAt(vertical, ++t);
    DrawAt(horizontal, t);
    EXPECT_EQ(barPixels(), (std::pair{c.bar, c.bar})) << c.db;
  }
}

TEST_F(MeterFixture, GainReductionPeakFollowsTheLowestThenRises) {
  auto* meter = new GainReductionMeter(root.GetRootFrame(), 0, 0, 100, 6, 0, 1);
  meter->SetLevel(-20.0f);
  DrawAt(meter, 1000);
  meter->SetLevel(-5.0f);
  std::vector<float> peaks;
  for (std::int64_t t = 1170; t <= 1230; t += 10) {
    DrawAt(meter, t);
    peaks.push_back(meter->GetPeak());
  }
  // Held until 1180, then 3 dB per 10 ticks up to the level.
  EXPECT_EQ(peaks, (std::vector<float>{-20, -17, -14, -11, -8, -5, -5}));
}

}  // namespace

namespace {

// A new level asks for a redraw only when it moves the bar's pixels, on every kind of meter.
TEST_F(MeterFixture, ALevelAsksForARedrawOnlyWhenItMovesThePixels) {
  auto* plain = new AudioMeter(root.GetRootFrame(), 0, 0, 10, 100, 0, 1, -100.0f);
  AudioMeter* reduction = new GainReductionMeter(root.GetRootFrame(), 20, 0, 100, 6, 0, 2);
  for (AudioMeter* m : {plain, reduction}) {
    m->SetScaleCurve(0.0f);
    m->SetFallRate(1e6f);
  }
  reduction->SetFloorLevel(-100.0f);
  struct Case {
    AudioMeter* meter;
    float from, to;
    bool asks;
  };
  // One pixel a dB on both; the peak of the plain meter follows its rises.
  const Case cases[] = {
      {plain, -50.0f, -50.0f, false}, {plain, -50.0f, -49.5f, false},       {plain, -50.0f, -49.0f, true},
      {plain, -50.0f, -51.0f, true},  {plain, -50.0f, -50.6f, true},        {plain, -120.0f, -130.0f, false},
      {plain, -10.0f, -5.0f, true},   {reduction, -30.0f, -29.6f, false},   {reduction, -30.0f, -31.0f, true},
      {reduction, 0.0f, 5.0f, false}, {reduction, -150.0f, -180.0f, false},
  };
  std::int64_t t = 1000;
  for (const Case& c : cases) {
    c.meter->SetLevel(c.from);
    DrawAt(c.meter, ++t);
    c.meter->SetPeakHold(true);  // the peak starts again from this level
    DrawAt(c.meter, ++t);
    tick.Set(++t);
    c.meter->SetLevel(c.to);
    const std::vector<Frame*>& set = root.GetUpdateSet();
    EXPECT_EQ(std::find(set.begin(), set.end(), c.meter) != set.end(), c.asks) << c.from << " to " << c.to;
    root.Flush();
  }
  // A look changed without a redraw shows with the next level, even one on the same pixels.
  plain->SetLevel(-50.0f);
  DrawAt(plain, ++t);
  plain->SetMirrored(true);
  plain->SetLevel(-50.0f);
  EXPECT_FALSE(root.GetUpdateSet().empty());
}

}  // namespace
