#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/editor/panel/SideToMidRatio.h"
#include "analyser/editor/values/KVNValueIncDecFrame.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/config/KVNPhaseConfig.h"
#include "analyser/engine/services/KorvanePhaseService.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "tests/analyser/editor/support/PanelFixture.h"
#include "toolkit/controls/ColorFrames.h"
#include "toolkit/controls/ControlContainer.h"
#include "toolkit/controls/GenericControl.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/meters/AudioMeter.h"
#include "toolkit/meters/DualLevelAudioMeter.h"

using namespace MeasurementIds;

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct PanelAccess : PanelFixture {
  KorvanePhaseAndBalanceMeterFrame& Panel() { return *Find<KorvanePhaseAndBalanceMeterFrame>(); }
  KVNPhaseConfig& Config() { return *plugin.GetServiceList().GetPhaseService().GetPhaseConfig(); }
  GenericControl& Control(std::int32_t id) { return *Panel().FindControl(id); }
  Frame& ControlFrame(std::int32_t id) { return dynamic_cast<Frame&>(Control(id)); }
};
}  // namespace

TEST(SideToMidRatio, FollowsWithAThreeSecondTimeConstantAndStaysANumber) {
  SideToMidRatio first;
  EXPECT_NEAR(first.Update(1000, -30.0f, -10.0f), -20.0f, 1.2f) << "the first update counts from tick 0";
  EXPECT_EQ(first.Update(1000, 0.0f, 0.0f), first.Get()) << "no time passed";
  const float before = first.Get();
  EXPECT_EQ(first.Update(900, 0.0f, 0.0f), before) << "time ran back";
  EXPECT_EQ(first.GetLastTick(), 900);
  EXPECT_EQ(first.Update(901, kNaN, -10.0f), before) << "not a number is skipped";
  EXPECT_EQ(first.GetLastTick(), 901);

  SideToMidRatio silentSide;
  for (std::int64_t tick = 2; tick < 2000; tick += 2) silentSide.Update(tick, -kInf, -20.0f);
  EXPECT_TRUE(std::isfinite(silentSide.Get()));
  EXPECT_LT(silentSide.Get(), -500.0f);
  for (std::int64_t tick = 2000; tick < 4000; tick += 2) silentSide.Update(tick, -20.0f, -20.0f);
  EXPECT_NEAR(silentSide.Get(), 0.0f, 0.01f) << "and recovers";

  // The weight of an update is the smoothing coefficient of the time since the last one.
  SideToMidRatio ratio;
  ratio.Update(1, 0.0f, 0.0f);
  ratio.Update(61, -10.0f, 0.0f);
  EXPECT_FLOAT_EQ(ratio.Get(), float(-10.0 * SmoothingCoefficient(3.0, 1.0)));
}

TEST(Panel, ConfigurationChangesSetTheControlsQuietly) {
  PanelAccess f;
  f.Config().SetGainDb(12.5f, true);
  EXPECT_EQ(f.Control(KorvanePhaseAndBalanceMeterFrame::kGain).GetValue(), 12);
  EXPECT_EQ(f.Config().GetGainDb(), 12.5f) << "not rewritten as 12";
  EXPECT_EQ(f.Panel().GetReadout(KorvanePhaseAndBalanceMeterFrame::kGainText)->GetText(), "12");

  f.Config().SetPlotDensity(8, true);
  EXPECT_EQ(f.Control(KorvanePhaseAndBalanceMeterFrame::kDensity).GetValue(), 8);
  EXPECT_EQ(f.Panel().GetReadout(KorvanePhaseAndBalanceMeterFrame::kDensityText)->GetText(), "8");

  f.Control(KorvanePhaseAndBalanceMeterFrame::kDecay).SetValue(3);
  EXPECT_EQ(f.Config().GetPlotDecay(), 3) << "a control change goes to the configuration";
  f.Control(KorvanePhaseAndBalanceMeterFrame::kAutoGain).SetValue(1);
  EXPECT_TRUE(f.Config().GetAutoGain());
  EXPECT_FALSE(f.ControlFrame(KorvanePhaseAndBalanceMeterFrame::kGain).IsEnabled());
}

TEST(Panel, PlotTypeAndStyleStepWrapAndPolarDisablesTheGain) {
  PanelAccess f;
  f.Config().SetPlotType(2, true);
  f.Panel().ControlValueChanged(KorvanePhaseAndBalanceMeterFrame::kPlotTypeNext, 1, nullptr);
  EXPECT_EQ(f.Config().GetPlotType(), 0);
  const std::int32_t xyStyle = f.Config().GetXYPlotStyle();
  const std::int32_t polarStyle = f.Config().GetPolarPlotStyle();
  f.Panel().ControlValueChanged(KorvanePhaseAndBalanceMeterFrame::kStyleNext, 1, nullptr);
  EXPECT_EQ(f.Config().GetXYPlotStyle(), xyStyle);
  EXPECT_EQ(f.Config().GetPolarPlotStyle(), polarStyle) << "styles step only in the polar type";
  EXPECT_TRUE(f.ControlFrame(KorvanePhaseAndBalanceMeterFrame::kAutoGain).IsEnabled());

  f.Panel().ControlValueChanged(KorvanePhaseAndBalanceMeterFrame::kPlotTypePrevious, 1, nullptr);
  EXPECT_EQ(f.Config().GetPlotType(), 2);
  EXPECT_FALSE(f.ControlFrame(KorvanePhaseAndBalanceMeterFrame::kAutoGain).IsEnabled());
  EXPECT_FALSE(f.ControlFrame(KorvanePhaseAndBalanceMeterFrame::kGain).IsEnabled());
  EXPECT_FALSE(f.Panel().GetReadout(KorvanePhaseAndBalanceMeterFrame::kGainText)->IsEnabled());
  f.Config().SetPolarPlotStyle(2, true);
  f.Panel().ControlValueChanged(KorvanePhaseAndBalanceMeterFrame::kStyleNext, 1, nullptr);
  EXPECT_EQ(f.Config().GetPolarPlotStyle(), 0);
  f.Panel().ControlValueChanged(KorvanePhaseAndBalanceMeterFrame::kStylePrevious, 1, nullptr);
  EXPECT_EQ(f.Config().GetPolarPlotStyle(), 2);
}

TEST(Panel, TheRatioBarStopsAtMinusFiftyWhileTheAlarmGetsTheTrueValue) {
  PanelAccess f;
  f.Play(Sine(0.5f), Sine(0.5f), 400);
  EXPECT_LT(f.Alarms().GetValueByName(kSideToMidRatio), -50.0f);
  EXPECT_EQ(f.Panel().GetRatioMeter().GetLevel(), -50.0f);
  EXPECT_GT(f.Panel().GetMidMeter().GetDisplayLevel(0), -20.0f);
}

TEST(Panel, ActivatingOrClearingTheCorrelationAlarmResetsTheMinimumHold) {
  PanelAccess f;
  f.Play(Sine(0.5f), Sine(-0.5f), 60);
  KorvanePhaseService& phase = f.plugin.GetServiceList().GetPhaseService();
  ASSERT_LT(phase.GetCorrelationMinHold(), 0.0f);
  f.Alarms().ClearAlarm(kCorrelationInst);
  EXPECT_EQ(phase.GetCorrelationMinHold(), 1.0f);
  EXPECT_EQ(f.Alarms().GetValueByName(kCorrelationInst), 100.0f);
}

TEST(Panel, LoadsThePhaseConfigurationOfASettingsFileAndIgnoresEveryFailure) {
  PanelAccess f;
  f.Config().SetPlotType(1, true);
  const std::string saved = f.plugin.LiveSettingsText();
  f.Config().SetPlotType(2, true);
  for (const std::optional<std::string>& bad :
       {std::optional<std::string>{}, std::optional<std::string>{""},
        std::optional<std::string>{"<obj_archive"}, std::optional<std::string>{"not xml at all"}}) {
    f.Panel().LoadPhaseConfig(bad);
    EXPECT_EQ(f.Config().GetPlotType(), 2);
  }
  f.Panel().LoadPhaseConfig(saved);
  EXPECT_EQ(f.Config().GetPlotType(), 1);
}

TEST(Panel, TheSteppersStepThePlotTypeAndOnlyThePolarStyle) {
  PanelAccess f;
  f.Config().SetPlotType(2, true);
  KVNValueIncDecFrame& style = f.Panel().GetStyleStepper();
  EXPECT_TRUE(style.GetRightButton()->IsEnabled());
  EXPECT_EQ(f.Panel().GetReadout(KorvanePhaseAndBalanceMeterFrame::kPlotTypeText)->GetText(), "Polar");
  auto* type = dynamic_cast<InstantActionButton*>(
      f.Panel().FindControl(KorvanePhaseAndBalanceMeterFrame::kPlotTypeNext));
  ASSERT_NE(type, nullptr);
  type->Mouse(Frame::kMouseDown, 2, 2);
  type->Mouse(Frame::kMouseUp, 2, 2);
  EXPECT_EQ(f.Config().GetPlotType(), 0) << "next from Polar is XY";
  EXPECT_EQ(f.Panel().GetReadout(KorvanePhaseAndBalanceMeterFrame::kPlotTypeText)->GetText(), "XY");
  EXPECT_FALSE(style.GetRightButton()->IsEnabled());
  const std::int32_t xyStyle = f.Config().GetXYPlotStyle();
  style.GetRightButton()->Mouse(Frame::kMouseDown, 2, 2);
  style.GetRightButton()->Mouse(Frame::kMouseUp, 2, 2);
  EXPECT_EQ(f.Config().GetXYPlotStyle(), xyStyle);

  // The scope's switch drives the configuration through the scope's controller.
  BooleanButton& scopeSwitch = f.Panel().GetScopeSwitch();
  EXPECT_EQ(scopeSwitch.GetValue(), f.Config().IsPhaseScopeEnabled() ? 1 : 0);
  const bool wasOn = f.Config().IsPhaseScopeEnabled();
  scopeSwitch.Mouse(Frame::kMouseDown, 2, 2);
  scopeSwitch.Mouse(Frame::kMouseUp, 2, 2);
  EXPECT_EQ(f.Config().IsPhaseScopeEnabled(), !wasOn);
  f.Config().SetPhaseScopeEnabled(wasOn, true);
  EXPECT_EQ(scopeSwitch.GetValue(), wasOn ? 1 : 0) << "the switch follows the configuration";
  EXPECT_EQ(f.Config().IsPhaseScopeEnabled(), wasOn);
}

namespace {

// One state of every setting the panel shows, and how the panel shows it.
struct PanelState {
  std::int32_t plotType, style;
  bool autoGain;
  float gainDb;
  bool gate;
  std::int32_t density, decay;
  Color colour;
  bool scopeOn;
  const char *typeText, *styleText, *gainText, *densityText, *decayText;

  void SetInto(KVNPhaseConfig& config) const {
    config.SetPlotType(plotType, true);
    if (plotType == KVNPhaseConfig::typePolar)
      config.SetPolarPlotStyle(style, true);
    else
      config.SetXYPlotStyle(style, true);
    config.SetAutoGain(autoGain, true);
    config.SetGainDb(gainDb, true);
    config.SetLowLevelGate(gate, true);
    config.SetPlotDensity(density, true);
    config.SetPlotDecay(decay, true);
    config.SetPhaseColor(ZEBCanvas::SerializableColorSpec(colour.red, colour.green, colour.blue), true);
    config.SetPhaseScopeEnabled(scopeOn, true);
  }
};

void ExpectPanelShows(PanelAccess& f, const PanelState& s) {
  using P = KorvanePhaseAndBalanceMeterFrame;
  const bool polar = s.plotType == KVNPhaseConfig::typePolar;
  EXPECT_EQ(f.Control(P::kAutoGain).GetValue(), s.autoGain ? 1 : 0);
  EXPECT_EQ(f.Control(P::kLowLevelGate).GetValue(), s.gate ? 1 : 0);
  EXPECT_EQ(f.Control(P::kGain).GetValue(), std::int32_t(s.gainDb));
  EXPECT_EQ(f.Control(P::kDensity).GetValue(), s.density);
  EXPECT_EQ(f.Control(P::kDecay).GetValue(), s.decay);
  EXPECT_EQ(f.Panel().GetScopeSwitch().GetValue(), s.scopeOn ? 1 : 0);
  EXPECT_EQ(*f.Panel().GetColourFill().GetColor(), s.colour);
  EXPECT_EQ(f.Panel().GetReadout(P::kPlotTypeText)->GetText(), s.typeText);
  EXPECT_EQ(f.Panel().GetReadout(P::kStyleText)->GetText(), s.styleText);
  EXPECT_EQ(f.Panel().GetReadout(P::kGainText)->GetText(), s.gainText);
  EXPECT_EQ(f.Panel().GetReadout(P::kDensityText)->GetText(), s.densityText);
  EXPECT_EQ(f.Panel().GetReadout(P::kDecayText)->GetText(), s.decayText);
  EXPECT_EQ(f.ControlFrame(P::kAutoGain).IsEnabled(), !polar);
  EXPECT_EQ(f.ControlFrame(P::kGain).IsEnabled(), !polar && !s.autoGain);
  EXPECT_EQ(f.Panel().GetStyleStepper().GetRightButton()->IsEnabled(), polar);
  // The swatch, in the editor's coordinates.
  f.root.Flush();
  EXPECT_EQ(f.root.Pixel(369, 24 + 273), ToPixel(s.colour));
}

}  // namespace

TEST(Panel, AfterALoadEveryControlShowsTheLoadedSettings) {
  const PanelState a{KVNPhaseConfig::typeXY,
                     KVNPhaseConfig::xysLines,
                     false,
                     7.0f,
                     false,
                     3,
                     9,
                     Color{0x1212, 0x3434, 0x5656},
                     false,
                     "XY",
                     "Lines",
                     "7",
                     "3",
                     "9"};
  const PanelState b{KVNPhaseConfig::typePolar,
                     KVNPhaseConfig::ppsPoints,
                     true,
                     12.0f,
                     true,
                     8,
                     2,
                     Color{0xFFFF, 0x8080, 0x0101},
                     true,
                     "Polar",
                     "Points",
                     "12",
                     "8",
                     "2"};
  PanelAccess f;
  a.SetInto(f.Config());
  const std::string savedA = f.plugin.LiveSettingsText();
  b.SetInto(f.Config());
  const std::string savedB = f.plugin.LiveSettingsText();
  ExpectPanelShows(f, b);

  // The settings load of the header, the default settings and a host chunk; the panel's own.
  for (const bool whole : {true, false}) {
    SCOPED_TRACE(whole ? "settings" : "phase configuration");
    for (const auto& [text, state] : {std::pair{&savedA, &a}, std::pair{&savedB, &b}}) {
      if (whole)
        ASSERT_TRUE(f.plugin.ApplySettingsText(*text));
      else
        f.Panel().LoadPhaseConfig(*text);
      ExpectPanelShows(f, *state);
    }
  }
  f.root.SavePicture("panel-after-load");
}

// A slip in the layout puts a widget over another or off the panel, where it hides or is hidden.
TEST(Panel, EveryWidgetLiesInsideThePanelAndOverlapsNoOther) {
  PanelAccess f;
  KorvanePhaseAndBalanceMeterFrame& panel = f.Panel();
  const std::vector<Frame*>& widgets = panel.GetChildren();
  ASSERT_EQ(widgets.size(), 33u);
  const auto bounds = [](const Frame& frame) {
    return Rect{frame.GetX(), frame.GetY(), frame.GetX() + frame.GetWidth(),
                frame.GetY() + frame.GetHeight()};
  };
  const Rect inside{0, 0, panel.GetWidth(), panel.GetHeight()};
  for (std::size_t i = 0; i < widgets.size(); ++i) {
    const Rect a = bounds(*widgets[i]);
    EXPECT_TRUE(a.left >= inside.left && a.top >= inside.top && a.right <= inside.right &&
                a.bottom <= inside.bottom)
        << "widget " << i << " at (" << a.left << ", " << a.top << ")";
    for (std::size_t j = i + 1; j < widgets.size(); ++j) {
      const Rect b = bounds(*widgets[j]);
      EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
          << "widgets " << i << " and " << j << " at (" << a.left << ", " << a.top << ") and (" << b.left
          << ", " << b.top << ")";
    }
  }
}
