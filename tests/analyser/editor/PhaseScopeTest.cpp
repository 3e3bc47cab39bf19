// The phase scope in the editor's coordinates: the panel at (0, 24), the scope at (9, 88) in it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analyser/editor/main/KorvaneGenericDrawFrame.h"
#include "analyser/editor/scope/KorvanePhaseFrame.h"
#include "analyser/resources/BitmapInventory.h"
#include "tests/analyser/editor/support/EditorFixture.h"
#include "tests/support/TreeArchive.h"

namespace {

constexpr std::uint32_t kGreen = 0x00FF00;

struct ScopeFixture : EditorFixture {
  ScopeFixture() {
    Config().SetPlotType(KVNPhaseConfig::typeXY, true);
    Config().SetAutoGain(false, true);
    Config().SetGainDb(0.0f, true);
  }
  Frame* panel{new KorvaneGenericDrawFrame(root.GetRootFrame(), 0, 24, 399, 369, 0, 0, bitmaps::kPanel)};
  KorvanePhaseFrame* scope{new KorvanePhaseFrame(&plugin, panel, 9, 88, 200, 200, bitmaps::kPanel, 9, 88)};

  void Tick() {
    scope->OnTimer();
    root.Flush();
  }
  // One whole scope buffer of constant samples, ready for the scope.
  void FeedBuffer(float left, float right) { Feed(left, right, ScopeBuffer::kFrames); }
  std::vector<float> ReadyFirstSamples() {
    std::vector<ScopeBuffer*> ready;
    Phase().CollectReadyScopeBuffers(ready);
    std::vector<float> firsts;
    for (ScopeBuffer* b : ready) firsts.push_back(b->first[0]);
    return firsts;
  }
  std::uint32_t Green(std::int32_t x, std::int32_t y) { return (root.Pixel(x, y) >> 8) & 0xFF; }
};

void LoadAttributes(KVNPhaseConfig& config, std::vector<std::pair<std::string, std::string>> attributes) {
  LoadFromAttributes(config, "KVNPhaseConfig", "QMR_KVNPhaseConfig", std::move(attributes));
}

TEST(PhaseScope, KnownSignalsLandOnKnownPixels) {
  {
    // XY: right across, left up.
    ScopeFixture f;
    f.FeedBuffer(0.5f, 0.25f);
    f.Tick();
    EXPECT_EQ(f.root.Pixel(134, 163), kGreen);
    EXPECT_NE(f.root.Pixel(133, 163), kGreen);
    EXPECT_NE(f.root.Pixel(134, 162), kGreen);
    f.root.SavePicture("scope-xy-point");
  }
  {
    // Polar points: the right channel alone lies at angle 0, a full-scale sample 0.73 of the
    // radius in from the rim.
    ScopeFixture f;
    f.Config().SetPlotType(KVNPhaseConfig::typePolar, true);
    f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsPoints, true);
    f.FeedBuffer(0.0f, 1.0f);
    f.Tick();
    EXPECT_EQ(f.root.Pixel(135, 226), kGreen);
  }
  {
    // Silence sits on the rim at angle pi.
    ScopeFixture f;
    f.Config().SetPlotType(KVNPhaseConfig::typePolar, true);
    f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsPoints, true);
    f.Tick();
    EXPECT_EQ(f.root.Pixel(12, 226), kGreen);
    f.root.SavePicture("scope-polar-silence");
  }
}

TEST(PhaseScope, LayersFadeFromOldestToNewest) {
  const struct {
    std::int32_t decay;
    std::vector<std::uint32_t> greens;
  } cases[] = {
      {10, {24, 49, 74, 99, 124, 150, 176, 202, 229, 255}},
      {2, {124, 255}},
  };
  for (const auto& c : cases) {
    ScopeFixture f;
    f.Config().SetPlotDecay(c.decay, true);
    const std::int32_t n = static_cast<std::int32_t>(c.greens.size());
    std::vector<Point> where;
    for (std::int32_t i = 0; i < n; ++i) {
      const float left = -0.9f + 0.18f * float(i);
      f.FeedBuffer(left, 0.5f);
      f.Tick();
      where.push_back(phasescope::MapPoint(left, 0.5f, false, 200, 200));
    }
    for (std::int32_t i = 0; i < n; ++i)
      EXPECT_EQ(f.Green(9 + where[i].x, 112 + where[i].y), c.greens[i])
          << "decay " << c.decay << " layer " << i;
    if (c.decay == 10) f.root.SavePicture("scope-fade-decay-10");
  }
}

TEST(PhaseScope, EachTickTakesTheOldestReadyBuffer) {
  ScopeFixture f;
  f.Config().SetLowLevelGate(false, true);
  for (float v : {0.1f, 0.2f, 0.3f}) f.FeedBuffer(v, v);
  f.Tick();
  EXPECT_EQ(f.ReadyFirstSamples(), (std::vector<float>{0.2f, 0.3f}));
  const Point oldest = phasescope::MapPoint(0.1f, 0.1f, false, 200, 200);
  EXPECT_EQ(f.root.Pixel(9 + oldest.x, 112 + oldest.y), kGreen);
  f.Tick();
  EXPECT_EQ(f.ReadyFirstSamples(), (std::vector<float>{0.3f}));
}

TEST(PhaseScope, TheGateThrowsQuietBuffersAway) {
  ScopeFixture f;
  f.FeedBuffer(0.0009f, 0.0f);
  f.FeedBuffer(0.5f, 0.5f);
  f.FeedBuffer(0.0009f, 0.0f);
  f.Tick();
  // The quiet first one went back unread, the loud one was shown; the last waits its turn.
  EXPECT_EQ(f.ReadyFirstSamples(), (std::vector<float>{0.0009f}));
  const Point loud = phasescope::MapPoint(0.5f, 0.5f, false, 200, 200);
  EXPECT_EQ(f.root.Pixel(9 + loud.x, 112 + loud.y), kGreen);
  f.FeedBuffer(0.0009f, 0.0f);
  f.Tick();
  EXPECT_TRUE(f.ReadyFirstSamples().empty()) << "all quiet: all released, silence shown";
  const Point centre = phasescope::MapPoint(0.0f, 0.0f, false, 200, 200);
  EXPECT_EQ(f.root.Pixel(9 + centre.x, 112 + centre.y), kGreen);
}

TEST(PhaseScope, SwitchedOffItReleasesEverythingAndFreezes) {
  ScopeFixture f;
  f.FeedBuffer(0.5f, 0.25f);
  f.Tick();
  for (float v : {0.1f, 0.2f, 0.3f}) f.FeedBuffer(v, v);
  f.Config().SetPhaseScopeEnabled(false, true);
  const std::vector<std::uint32_t> before(f.root.Window().GetSurface().pixels,
                                          f.root.Window().GetSurface().pixels + 399 * 470);
  f.Tick();
  EXPECT_TRUE(f.ReadyFirstSamples().empty());
  EXPECT_EQ(std::vector<std::uint32_t>(f.root.Window().GetSurface().pixels,
                                       f.root.Window().GetSurface().pixels + 399 * 470),
            before);
  f.Config().SetPhaseScopeEnabled(true, true);
  f.FeedBuffer(0.3f, 0.3f);
  f.Tick();
  const Point next = phasescope::MapPoint(0.3f, 0.3f, false, 200, 200);
  EXPECT_EQ(f.root.Pixel(9 + next.x, 112 + next.y), kGreen);
}

TEST(PhaseScope, ARedrawWithoutATickChangesNothing) {
  ScopeFixture f;
  f.Config().SetPlotDecay(10, true);
  for (float v : {0.1f, 0.2f, 0.3f}) f.FeedBuffer(v, -v);
  f.Tick();
  const std::vector<std::uint32_t> before(f.root.Window().GetSurface().pixels,
                                          f.root.Window().GetSurface().pixels + 399 * 470);
  for (int i = 0; i < 3; ++i) {
    f.root.GetRootFrame()->Invalidate();
    f.root.Flush();
  }
  EXPECT_EQ(std::vector<std::uint32_t>(f.root.Window().GetSurface().pixels,
                                       f.root.Window().GetSurface().pixels + 399 * 470),
            before);
  EXPECT_EQ(f.ReadyFirstSamples().size(), 2u);
}

TEST(PhaseScope, LayersNeverMadeAreNotDrawn) {
  // No dot at the layers' initial (0, 0) nor at the rim's angle 0, before or after switching on.
  for (bool startOff : {false, true}) {
    ScopeFixture f;
    f.Config().SetPlotType(KVNPhaseConfig::typePolar, true);
    f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsPoints, true);
    f.Config().SetPhaseScopeEnabled(!startOff, true);
    f.Tick();
    f.root.GetRootFrame()->Invalidate();
    f.root.Flush();
    EXPECT_NE(f.root.Pixel(9, 112), kGreen);
    EXPECT_NE(f.root.Pixel(9 + 100 + 97, 112 + 114), kGreen) << "rim at angle 0";
    EXPECT_EQ(f.root.Pixel(12, 226) == kGreen, !startOff);
  }
}

TEST(PhaseScope, ClickStepsThePlotType) {
  ScopeFixture f;
  std::vector<std::int32_t> seen;
  for (int i = 0; i < 3; ++i) {
    f.scope->Mouse(Frame::kMouseDown, 5, 5);
    seen.push_back(f.Config().GetPlotType());
  }
  f.scope->Mouse(Frame::kMouseUp, 5, 5);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 0}));
  EXPECT_EQ(f.Config().GetPlotType(), 0);
}

TEST(PhaseScope, TheFirstPictureBeforeAnyTickIsOfTheConfiguredMode) {
  struct Case {
    std::int32_t type, style;
    PhaseScopeModel::DrawMode mode;
  };
  const Case cases[] = {
      {KVNPhaseConfig::typeXY, KVNPhaseConfig::xysPoints, PhaseScopeModel::kXYPoints},
      {KVNPhaseConfig::typeXYCentered, KVNPhaseConfig::xysLines, PhaseScopeModel::kXYLines},
      {KVNPhaseConfig::typePolar, KVNPhaseConfig::ppsPoints, PhaseScopeModel::kPolarPoints},
      {KVNPhaseConfig::typePolar, KVNPhaseConfig::ppsBars, PhaseScopeModel::kPolarRays},
      {KVNPhaseConfig::typePolar, KVNPhaseConfig::ppsLines, PhaseScopeModel::kPolarLines},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EditorFixture f;
    f.Config().SetPlotType(c.type, true);
    f.Config().SetXYPlotStyle(c.style == KVNPhaseConfig::xysLines, true);
    f.Config().SetPolarPlotStyle(c.style, true);
    Frame* panel = new KorvaneGenericDrawFrame(f.root.GetRootFrame(), 0, 24, 399, 369, 0, 0, bitmaps::kPanel);
    auto* scope = new KorvanePhaseFrame(&f.plugin, panel, 9, 88, 200, 200, bitmaps::kPanel, 9, 88);
    EXPECT_EQ(scope->GetModel().GetDrawMode(), c.mode);
    f.root.Flush();
    // Only the lines outline silence on the rim.
    EXPECT_EQ(f.root.Pixel(9 + 3, 112 + 114) == kGreen, c.mode == PhaseScopeModel::kPolarLines);
  }
}

TEST(PhaseScope, APaintAfterAChangeOfTypeOrStyleIsOfTheNewModeBeforeTheNextTick) {
  ScopeFixture f;
  f.Tick();
  f.Config().SetPlotType(KVNPhaseConfig::typePolar, true);
  f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsLines, true);
  EXPECT_EQ(f.scope->GetModel().GetDrawMode(), PhaseScopeModel::kPolarLines);
  f.root.Flush();
  EXPECT_EQ(f.root.Pixel(9 + 3, 112 + 114), kGreen) << "the lines outline silence on the rim";
  f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsPoints, true);
  EXPECT_EQ(f.scope->GetModel().GetDrawMode(), PhaseScopeModel::kPolarPoints);
  // A settings load sends 'gain' among its items, and 'gain' redraws.
  LoadAttributes(f.Config(), {{"mPlotType", "typeXY"}, {"mXYPlotStyle", "xysLines"}});
  EXPECT_EQ(f.scope->GetModel().GetDrawMode(), PhaseScopeModel::kXYLines);
  f.root.Flush();
  EXPECT_EQ(f.root.Pixel(9 + 100, 112 + 150), 0x7F7F7Fu) << "the XY cross";
}

TEST(PhaseScope, PolarSectorEdgesPerBinCount) {
  const std::pair<std::int32_t, phasescope::SectorJump> cases[] = {
      {36, {22, 31}},   {40, {25, 35}},   {60, {37, 52}},    {72, {45, 63}},    {80, {50, 70}},
      {120, {75, 105}}, {144, {90, 126}}, {180, {112, 157}}, {220, {137, 192}}, {360, {225, 315}},
  };
  for (std::int32_t density = 1; density <= 10; ++density) {
    const auto& [bins, jump] = cases[density - 1];
    EXPECT_EQ(phasescope::BinCount(density), bins);
    EXPECT_EQ(phasescope::Jump(bins).first, jump.first) << bins;
    EXPECT_EQ(phasescope::Jump(bins).last, jump.last) << bins;
    // Both edges are the bins holding 5pi/4 and 7pi/4; both are drawn.
    const double step = 2 * M_PI / bins;
    for (const auto& [bin, edge] :
         {std::pair{jump.first, 5 * M_PI / 4}, std::pair{jump.last, 7 * M_PI / 4}}) {
      EXPECT_LE(bin * step, edge + 1e-9) << bins;
      EXPECT_GT((bin + 1) * step, edge + 1e-9) << bins;
    }
  }
}

TEST(PhaseScope, PolarRaysDrawTheBinAfterTheGap) {
  // A signal whose folded angle lies in the first bin after the gap must show its ray.
  ScopeFixture f;
  f.Config().SetPlotType(KVNPhaseConfig::typePolar, true);
  f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsBars, true);
  f.Config().SetPlotDensity(1, true);  // 36 bins of 10 degrees; bin 31 starts at 310 degrees
  // Folded at 317.5 degrees, inside bin 31 and past the gap: unfolded 275 degrees, which is
  // twice the angle of the ratio plus pi.
  const double folded = 2 * M_PI * 31.75 / 36;
  const double unfolded = 2 * M_PI - (2 * M_PI - folded) * 2;
  const double t = std::tan(unfolded / 2 - M_PI);
  f.FeedBuffer(static_cast<float>(t), 1.0f);
  f.Tick();
  EXPECT_GT(f.scope->GetModel().GetBinHold()[31], 0.9f);
  // The ray of bin 31 runs inward from the rim at 310 degrees.
  const double b = 2 * M_PI * 31 / 36;
  const std::int32_t x = 9 + 100 + static_cast<std::int32_t>(90 * std::cos(b));
  const std::int32_t y = 112 + 114 - static_cast<std::int32_t>(90 * std::sin(b));
  bool lit = false;
  for (std::int32_t dy = -1; dy <= 1; ++dy)
    for (std::int32_t dx = -1; dx <= 1; ++dx) lit |= f.root.Pixel(x + dx, y + dy) == kGreen;
  EXPECT_TRUE(lit);
  f.root.SavePicture("scope-polar-rays");
}

TEST(PhaseScope, OddSettingsAndSamplesDrawSafely) {
  const float kHuge = 1e38f, kSubnormal = std::numeric_limits<float>::denorm_min() * 4;
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> settings;
    float left, right;
  } cases[] = {
      {"1e38 at 25 dB", {{"mAutoGain", "false"}, {"mGainDb", "25"}}, kHuge, -kHuge},
      {"subnormal peak, auto gain", {{"mAutoGain", "true"}}, kSubnormal, kSubnormal},
      {"density 0", {{"mPlotDensity[typeXY]", "0"}, {"mPlotType", "typeXY"}}, 0.5f, 0.5f},
      {"density 11", {{"mPlotDensity[typePolar]", "11"}}, 0.5f, -0.5f},
      {"density 50", {{"mPlotDensity[typePolar]", "50"}, {"mPolarPlotStyle", "ppsLines"}}, 0.5f, 0.1f},
      {"decay 50", {{"mPlotDecay[typeXY]", "50"}, {"mPlotType", "typeXY"}}, 0.5f, 0.1f},
      {"decay 0", {{"mPlotDecay[typePolar]", "0"}, {"mPolarPlotStyle", "ppsPoints"}}, 0.5f, 0.1f},
  };
  for (const auto& c : cases) {
    ScopeFixture f;
    LoadAttributes(f.Config(), c.settings);
    for (int i = 0; i < 12; ++i) {
      f.FeedBuffer(c.left, c.right);
      f.Tick();
    }
    if (std::string(c.name) == "subnormal peak, auto gain") {
      EXPECT_EQ(f.scope->GetModel().GetLastGain(), 1.0f);
    }
    if (std::string(c.name) == "density 50") {
      EXPECT_EQ(f.Config().GetPlotDensity(), 50) << "the stored value is kept, so files round-trip";
    }
  }
}

}  // namespace

namespace {

TEST(PhaseScope, PolarLinesOutlineSilenceOnTheRimAndJumpTheEmptySector) {
  ScopeFixture f;
  f.Config().SetPlotType(KVNPhaseConfig::typePolar, true);
  f.Config().SetPolarPlotStyle(KVNPhaseConfig::ppsLines, true);
  f.Tick();
  f.root.SavePicture("scope-polar-lines-silence");
  EXPECT_EQ(f.root.Pixel(9 + 3, 112 + 114), kGreen) << "the rim at pi";
  EXPECT_EQ(f.root.Pixel(9 + 100, 112 + 114 - 97), kGreen) << "the rim at pi/2";
  EXPECT_EQ(f.root.Pixel(9 + 100 - 68, 112 + 114 + 68), kGreen) << "the rim at 5pi/4";
  EXPECT_EQ(f.root.Pixel(9 + 100 + 68, 112 + 114 + 68), kGreen) << "the rim at 7pi/4";
  for (std::int32_t x = 100 - 60; x <= 100 + 60; x += 10)
    EXPECT_NE(f.root.Pixel(9 + x, 112 + 114 + 68), kGreen) << "no line across the gap at x " << x;
}

}  // namespace

namespace {

TEST(PhaseScope, TheSwitchMeansOnAtOneAndFollowsTheConfiguration) {
  ScopeFixture f;
  BooleanController& power = f.scope->GetEnableController();
  EXPECT_TRUE(power.IsOn()) << "taken from the configuration at construction";
  power.SetValue(0);
  EXPECT_FALSE(f.Config().IsPhaseScopeEnabled());
  power.SetValue(1);
  EXPECT_TRUE(f.Config().IsPhaseScopeEnabled());
  f.Config().SetPhaseScopeEnabled(false, true);
  EXPECT_FALSE(power.IsOn()) << "'psEn'";
  // A settings load sends no 'psEn', but 'gain'.
  LoadAttributes(f.Config(), {{"mPhaseScopeEnabled", "true"}});
  EXPECT_TRUE(power.IsOn());
  EXPECT_TRUE(f.Config().IsPhaseScopeEnabled());
}

}  // namespace

namespace {

// In every mode a tick of silence once the picture settled asks for no redraw, a new buffer does,
// and so does a look changed meanwhile; a scope switched off asks for nothing.
TEST(PhaseScope, ATickAsksForARedrawOnlyWhenThePictureChanges) {
  const struct {
    std::int32_t type, xyStyle, polarStyle;
  } modes[] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 0, 0}, {2, 0, 1}, {2, 0, 2}};
  for (const auto& mode : modes) {
    SCOPED_TRACE(testing::Message() << "mode " << mode.type << mode.xyStyle << mode.polarStyle);
    ScopeFixture f;
    f.Config().SetPlotType(mode.type, true);
    f.Config().SetXYPlotStyle(mode.xyStyle, true);
    f.Config().SetPolarPlotStyle(mode.polarStyle, true);
    auto asks = [&f] {
      f.scope->OnTimer();
      const bool asked = !f.root.GetUpdateSet().empty();
      f.root.Flush();
      return asked;
    };
    f.FeedBuffer(0.5f, -0.25f);
    EXPECT_TRUE(asks());
    for (int i = 0; i < 300; ++i) asks();  // the bins' hold fades out
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(asks()) << i;
    f.FeedBuffer(0.5f, -0.25f);
    EXPECT_TRUE(asks());
    for (int i = 0; i < 300; ++i) asks();
    f.Config().SetPhaseColor({0xFFFF, 0, 0}, true);
    EXPECT_TRUE(asks());
    EXPECT_FALSE(asks());
    f.Config().SetPhaseScopeEnabled(false, true);
    f.root.Flush();
    f.FeedBuffer(0.5f, -0.25f);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(asks()) << i;
  }
}

}  // namespace
