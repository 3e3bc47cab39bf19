#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"
#include "analyser/editor/alarms/KVNAlarmSeverityButton.h"
#include "analyser/editor/alarms/KVNAlarmTHDispFrame.h"
#include "analyser/editor/alarms/KVNAlarmedValueDispFrame.h"
#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"
#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"
#include "analyser/editor/scope/KorvanePhaseFrame.h"
#include "analyser/editor/values/KVNTextConvertor.h"
#include "analyser/editor/values/KVNValueIncDecFrame.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "analyser/engine/config/KVNPhaseConfig.h"
#include "analyser/engine/services/KorvaneBalanceService.h"
#include "analyser/engine/services/KorvanePhaseService.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "analyser/resources/BitmapInventory.h"
#include "framework/archive/XMLArchive.h"
#include "framework/metering/MeteringManager.h"
#include "platform/Clock.h"
#include "toolkit/controls/ColorFrames.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/PixMapSlider.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/meters/AudioMeter.h"
#include "toolkit/meters/DualLevelAudioMeter.h"

using ZEBCanvas::ColorFillFrame;
using ZEBCanvas::ColorPickerFrame;

namespace {

constexpr std::int32_t kPolar = 2;
constexpr std::int32_t kPlotTypes = 3;
constexpr std::int32_t kPolarStyles = 3;
constexpr std::int32_t kReaderHoldTicks = 15;

// Slider pictures in the sprites.
constexpr Point kDensitySlider{140, 114};
constexpr Point kDecaySlider{140, 127};
constexpr Point kGainSlider{140, 140};
constexpr Point kSliderThumb{210, 114};
constexpr std::int32_t kThumbWidth = 7;

std::string Whole(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, static_cast<long long>(std::trunc(value)));
  return std::string(text, result.ptr);
}

std::int32_t Wrap(std::int32_t value, std::int32_t count) { return ((value % count) + count) % count; }

std::int32_t WholeGain(float db) { return std::isfinite(db) ? static_cast<std::int32_t>(db) : 0; }

}  // namespace

KorvanePhaseAndBalanceMeterFrame::KorvanePhaseAndBalanceMeterFrame(Korvane* plugin, Frame* parent,
                                                                   std::int32_t x, std::int32_t y)
    : PixMapDrawFrame(parent, x, y, kWidth, kHeight, 0, 0, nullptr, 0, 0),
      TimerClient<KorvanePhaseAndBalanceMeterFrame>(plugin, this),
      MessageSubscriber<KorvanePhaseAndBalanceMeterFrame>(plugin),
      ControlContainer(plugin, 0),
      mBackground(GetRoot(), bitmaps::kPanel),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPixMap(mBackground.Get(), 0, 0, false);
  mAlarmManager = &plugin->GetAlarmManager();
  mPhaseService = &plugin->GetServiceList().GetPhaseService();
  mBalanceService = &plugin->GetServiceList().GetBalanceService();
  mConfig = mPhaseService->GetPhaseConfig();
  RegisterPhaseAndBalanceAlarms(*mAlarmManager);
  mAlarmNames = PhaseAndBalanceAlarmNames();

  new KorvaneBalanceMeterFrame(plugin, this, 14, 39);
  mScope = new KorvanePhaseFrame(plugin, this, bitmaps::kScopeX, bitmaps::kScopeY, bitmaps::kScopeSize,
                                 bitmaps::kScopeSize, bitmaps::kPanel, bitmaps::kScopeX, bitmaps::kScopeY);
  mSidePeak = mBalanceService->GetSidePeakMeter().AddReader();
  mMidPeak = mBalanceService->GetMidPeakMeter().AddReader();
  mSideAverage = mBalanceService->GetSideAverageMeter().AddReader();
  mMidAverage = mBalanceService->GetMidAverageMeter().AddReader();
  mSpare = mBalanceService->GetSpareMeter().AddReader();
  for (MeteringReader* reader :
       {mSidePeak.get(), mMidPeak.get(), mSideAverage.get(), mMidAverage.get(), mSpare.get()})
    reader->SetHoldTicks(kReaderHoldTicks);
  BuildMeters();
  BuildAlarmWidgets(plugin);
  BuildControls();
  new KVNPhaseCorrelationMeterFrame(plugin, this, 245, 39);
  // Image 0 off, image 1 on; the scope's own controller, no control of the panel.
  mScopeSwitch = new BooleanButton(this, 375, 125, 11, 11, 12, 0, 32, 241, mSprites.Get(), 0, 0, 0,
                                   &mScope->GetEnableController());

  mStyleStepper->SetEnabled(mConfig->GetPlotType() == kPolar);
  UpdateControlEnables();
  AddTimer(TimerManager::kPeriodic, kAlarmTimerTicks, &KorvanePhaseAndBalanceMeterFrame::PushAlarmValues, 0);
  AddTimer(TimerManager::kPeriodic, kMidSideTimerTicks,
           &KorvanePhaseAndBalanceMeterFrame::UpdateMidSideMeters, 1);
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kAlarmMessageClass), 0,
            &KorvanePhaseAndBalanceMeterFrame::OnAlarmMessage);
  Subscribe(mConfig->GetMessageClass(KVNPhaseConfig::kMessageClass), 1,
            &KorvanePhaseAndBalanceMeterFrame::OnPhaseConfigMessage);
  Subscribe(mPicker->GetMsgClass(), 2, &KorvanePhaseAndBalanceMeterFrame::OnColorPicked);
  Subscribe(mColourFill->GetMsgClass(), 3, &KorvanePhaseAndBalanceMeterFrame::IgnoreMessage);
}

KorvanePhaseAndBalanceMeterFrame::~KorvanePhaseAndBalanceMeterFrame() { StopSubscriptions(); }

void KorvanePhaseAndBalanceMeterFrame::BuildMeters() {
  OGWorld* panel = mBackground.Get();
  const auto setUp = [&](DualLevelAudioMeter* meter, float zone1Db, Point colourAt) {
    const Color bar = panel->GetPixelColor(colourAt);
    const Color white{0xFFFF, 0xFFFF, 0xFFFF};
    meter->SetZoneThreshold(0, -60.0f, false);
    meter->SetZoneColors(0, bar, white, nullptr);
    meter->SetZoneThreshold(1, zone1Db, false);
    meter->SetZoneColors(1, bar, white, nullptr);
    meter->SetMainChannel(0);
    meter->SetShowSecondary(true);
    meter->SetPeakHold(false, 0);
    meter->SetPeakHold(false, 1);
    meter->SetScaleKneeLevel(-26.0f);
    meter->SetScaleKneeLength(100);
    meter->SetAttackTime(0.0f, 0);
    meter->SetReleaseTime(3.0f, 0);
    meter->SetAttackTime(0.0f, 1);
    meter->SetReleaseTime(10.0f, 1);
    meter->SetFallAcceleration(-0.5f);
  };
  mMidMeter = new DualLevelAudioMeter(this, 48, 331, 137, 7, 2, kBuffered, 0);
  setUp(mMidMeter, -10.0f, Point{380, 383});
  mSideMeter = new DualLevelAudioMeter(this, 48, 345, 137, 7, 2, kBuffered, 0);
  setUp(mSideMeter, -20.0f, Point{380, 398});

  mRatioMeter = new GainReductionMeter(this, 236, 331, 137, 3, kBuffered, 0);
  const Color ratio = panel->GetPixelColor(Point{380, 412});
  mRatioMeter->SetFloorLevel(-40.0f);
  mRatioMeter->SetScaleCurve(0.5f);
  mRatioMeter->SetColors(Color{0, 0, 0}, ratio, ratio, ratio, ratio, true);
  mRatioMeter->SetFallRate(9.0f);
  mRatioMeter->SetPeakHold(false);
  mRatioMeter->SetPeakMarkerThickness(2);
  mRatioMeter->SetPeakFallRate(6.0f);
}

void KorvanePhaseAndBalanceMeterFrame::BuildAlarmWidgets(Korvane* plugin) {
  using namespace MeasurementIds;
  // The clear lists are empty: a press clears the display's own alarm, with or without Shift.
  new KVNAlarmedValueDispFrame(plugin, this, 234, 342, kSideToMidRatio, {}, &kSideMidRatioDbConvertor);
  new KVNAlarmTHDispFrame(plugin, this, 318, 342, {kSideToMidRatio}, 1, 1.0f);
  new KVNAlarmSeverityButton(plugin, this, 284, 343, {kSideToMidRatio}, false, 0);
  new KVNAlarmedValueDispFrame(plugin, this, 245, 61, kCorrelationAvg, {}, &kCorrConvertor);
  new KVNAlarmTHDispFrame(plugin, this, 329, 61, {kCorrelationAvg}, 0, 5.0f);
  new KVNAlarmSeverityButton(plugin, this, 295, 62, {kCorrelationAvg}, true, 0);
  new KVNAlarmedValueDispFrame(plugin, this, 245, 80, kCorrelationInst, {}, &kCorrConvertor);
  new KVNAlarmTHDispFrame(plugin, this, 329, 80, {kCorrelationInst}, 0, 5.0f);
  new KVNAlarmSeverityButton(plugin, this, 295, 81, {kCorrelationInst}, true, 0);
  new KVNAlarmSeverityButton(plugin, this, 376, 12, {kAntiphaseSummary}, false, 1);
  new KVNAlarmGroupNotificationFrame(plugin, this, 267, 102, 72, 9, 94, 421, mBackground.Get(), 0, 10,
                                     kAntiphaseSummary);
  new KVNAlarmedValueDispFrame(plugin, this, 49, 61, kBalanceLevel, {}, &kBalanceLevelConvertor);
  new KVNAlarmTHDispFrame(plugin, this, 133, 61, {kBalanceLevel}, 1, 0.1f);
  new KVNAlarmSeverityButton(plugin, this, 100, 62, {kBalanceLevel}, false, 0);
}

StaticTextPMFrame* KorvanePhaseAndBalanceMeterFrame::NewReadout(std::int32_t x, std::int32_t y) {
  auto* readout = new StaticTextPMFrame(this, x, y, 28, 11, 65, 170, mSprites.Get(), 0, 0);
  readout->SetFont(DrawContext::kSmallFont, false);
  readout->SetAlignment(TextFrame::kCentred, false);
  readout->SetTextColor(mSprites.Get()->GetPixelColor(Point{199, 5}), false);
  readout->SetDisabledTextColor(mSprites.Get()->GetPixelColor(Point{198, 14}), false);
  return readout;
}

void KorvanePhaseAndBalanceMeterFrame::BuildControls() {
  const OGWorld* sprites = mSprites.Get();
  const auto stepper = [&](std::int32_t y, std::int32_t previousId, std::int32_t nextId) {
    auto* frame = new KVNValueIncDecFrame(this, 284, y, 42, Point{2, 2}, TextFrame::kCentred);
    AddControl(frame->GetRightButton(), nextId, false);
    AddControl(frame->GetLeftButton(), previousId, false);
    return frame;
  };
  mReadouts[kPlotTypeText] = stepper(148, kPlotTypePrevious, kPlotTypeNext)->GetTextFrame();
  mStyleStepper = stepper(165, kStylePrevious, kStyleNext);
  mReadouts[kStyleText] = mStyleStepper->GetTextFrame();
  const auto slider = [&](std::int32_t y, Point background, std::int32_t min, std::int32_t max,
                          std::int32_t defaultValue, std::int32_t id, std::int32_t start) {
    auto* control = new PixMapSlider(this, 284, y, 62, 11, background.x, background.y, sprites,
                                     kSliderThumb.x, kSliderThumb.y, kThumbWidth, 11, std::nullopt, kBuffered,
                                     min, max, defaultValue, id);
    control->SetResetOnShiftClick(true);
    control->SetValueQuiet(start);
    AddControl(control, id, false);
  };
  slider(194, kDensitySlider, 1, 10, 5, kDensity, mConfig->GetEffectivePlotDensity());
  mReadouts[kDensityText] = NewReadout(348, 194);
  slider(211, kDecaySlider, 1, 10, 5, kDecay, mConfig->GetEffectivePlotDecay());
  mReadouts[kDecayText] = NewReadout(348, 211);

  mColourFill = new ColorFillFrame(this, 365, 269, 9, 9, 0);
  mColourFill->SetColor(PhaseColour(), false);
  mPicker = new ColorPickerFrame(this, 285, 269, 76, 9, mBackground.Get(), 285, 409, 285, 409);

  auto* autoGain = new BooleanButton(this, 284, 242, 10, 10, 11, 0, 1, 183, sprites, 0, 0, kAutoGain);
  autoGain->SetValueQuiet(mConfig->GetAutoGain() ? 1 : 0);
  AddControl(autoGain, kAutoGain, false);
  auto* gate = new BooleanButton(this, 334, 242, 10, 10, 11, 0, 1, 183, sprites, 0, 0, kLowLevelGate);
  gate->SetValueQuiet(mConfig->GetLowLevelGate() ? 1 : 0);
  AddControl(gate, kLowLevelGate, false);
  slider(228, kGainSlider, 0, 25, 0, kGain, WholeGain(mConfig->GetGainDb()));
  mReadouts[kGainText] = NewReadout(348, 228);
  for (std::int32_t readout : {kGainText, kPlotTypeText, kStyleText, kDensityText, kDecayText})
    UpdateSettingText(readout);
}

Color KorvanePhaseAndBalanceMeterFrame::PhaseColour() const {
  const ZEBCanvas::SerializableColorSpec& colour = mConfig->GetPhaseColor();
  return Color{colour.mRed, colour.mGreen, colour.mBlue};
}

StaticTextPMFrame* KorvanePhaseAndBalanceMeterFrame::GetReadout(std::int32_t readout) const {
  return readout >= 0 && readout < std::int32_t(mReadouts.size()) ? mReadouts[readout] : nullptr;
}

void KorvanePhaseAndBalanceMeterFrame::ControlValueChanged(std::int32_t key, std::int32_t value,
                                                           GenericControl*) {
  const std::int32_t type = mConfig->GetPlotType();
  switch (key) {
    case kAutoGain:
      mConfig->SetAutoGain(value != 0, true);
      break;
    case kLowLevelGate:
      mConfig->SetLowLevelGate(value != 0, true);
      break;
    case kGain:
      mConfig->SetGainDb(float(value), true);
      break;
    case kPlotTypeNext:
      mConfig->SetPlotType(Wrap(type + 1, kPlotTypes), true);
      break;
    case kPlotTypePrevious:
      mConfig->SetPlotType(Wrap(type - 1, kPlotTypes), true);
      break;
    case kStyleNext:
    case kStylePrevious:
      if (type == kPolar)
        mConfig->SetPolarPlotStyle(
            Wrap(mConfig->GetPolarPlotStyle() + (key == kStyleNext ? 1 : -1), kPolarStyles), true);
      break;
    case kDensity:
      mConfig->SetPlotDensity(value, true);
      break;
    case kDecay:
      mConfig->SetPlotDecay(value, true);
      break;
    default:
      break;
  }
}

void KorvanePhaseAndBalanceMeterFrame::LoadPhaseConfig(const std::optional<std::string>& text) {
  try {
    const std::unique_ptr<ImportedSettings> imported = Korvane::ImportSettingsFile(text);
    if (!imported || !imported->archive) return;
    Serialization::XMLArchive& archive = *imported->archive;
    if (!archive.EnterObjectPath({KorvanePhaseService::kServiceName})) return;
    mConfig->LoadAsObject(archive, "KVNPhaseConfig");
  } catch (...) {
    // A file that cannot be read leaves the scope as it was.
  }
}

void KorvanePhaseAndBalanceMeterFrame::PushAlarmValues() {
  using namespace MeasurementIds;
  mAlarmManager->UpdateValue(kCorrelationInst, mPhaseService->GetCorrelationMinHold() * 100.0f, false, false);
  mAlarmManager->UpdateValue(kCorrelationAvg, mPhaseService->GetCorrelationAverage() * 100.0f, false, false);
  mAlarmManager->UpdateValue(kBalanceLevel, mBalanceService->GetBalancePeak(), false, false);
}

void KorvanePhaseAndBalanceMeterFrame::UpdateMidSideMeters() {
  const std::int64_t now = Clock::GetTimerTick();
  const float midPeak = mMidPeak->ReadDb();
  const float sidePeak = mSidePeak->ReadDb();
  const float midAverage = mMidAverage->ReadDb();
  const float sideAverage = mSideAverage->ReadDb();
  mMidMeter->SetLevels(midPeak - 6.0f, midAverage - 6.0f);
  mSideMeter->SetLevels(sidePeak - 6.0f, sideAverage - 6.0f);
  const float ratio = mRatio.Update(now, sideAverage, midAverage);
  mRatioMeter->SetLevel(std::max(ratio, kLowestRatioShown));
  mAlarmManager->UpdateValue(MeasurementIds::kSideToMidRatio, ratio, false, false);
}

std::int32_t KorvanePhaseAndBalanceMeterFrame::OnAlarmMessage(std::int32_t code) {
  using namespace MeasurementIds;
  const auto* record = static_cast<const AlarmRecord*>(GetCurrentMessagePayload());
  if (!record || (code != KVNAlarmManager::kActivated && code != KVNAlarmManager::kCleared)) return 0;
  if (record->name == kCorrelationInst)
    mPhaseService->ResetCorrelationMinHold();
  else if (record->name == kCorrelationAvg)
    mPhaseService->ResetCorrelationAverage();
  else if (record->name == kBalanceLevel)
    mBalanceService->ResetBalancePeak();
  return 0;
}

void KorvanePhaseAndBalanceMeterFrame::SetControlQuietly(std::int32_t id, std::int32_t value) {
  if (GenericControl* control = FindControl(id)) control->SetValueQuiet(value);
}

void KorvanePhaseAndBalanceMeterFrame::EnableControl(std::int32_t id, bool on) {
  if (auto* control = dynamic_cast<Frame*>(FindControl(id))) control->SetEnabled(on);
}

std::int32_t KorvanePhaseAndBalanceMeterFrame::OnPhaseConfigMessage(std::int32_t code) {
  switch (code) {
    case KVNPhaseConfig::kAutoGainChanged:
      SetControlQuietly(kAutoGain, mConfig->GetAutoGain() ? 1 : 0);
      UpdateControlEnables();
      break;
    case KVNPhaseConfig::kLowLevelGateChanged:
      SetControlQuietly(kLowLevelGate, mConfig->GetLowLevelGate() ? 1 : 0);
      break;
    case KVNPhaseConfig::kManualGainChanged:
      SetControlQuietly(kGain, WholeGain(mConfig->GetGainDb()));
      UpdateSettingText(kGainText);
      break;
    case KVNPhaseConfig::kDensityChanged:
      SetControlQuietly(kDensity, mConfig->GetEffectivePlotDensity());
      UpdateSettingText(kDensityText);
      break;
    case KVNPhaseConfig::kDecayChanged:
      SetControlQuietly(kDecay, mConfig->GetEffectivePlotDecay());
      UpdateSettingText(kDecayText);
      break;
    case KVNPhaseConfig::kScopeEnabledChanged:
      FollowScopeEnabled();
      break;
    case KVNPhaseConfig::kGainMayHaveChanged:
      // A settings load sends 'gain' but neither 'llgt' nor 'psEn'.
      SetControlQuietly(kLowLevelGate, mConfig->GetLowLevelGate() ? 1 : 0);
      FollowScopeEnabled();
      mStyleStepper->SetEnabled(mConfig->GetPlotType() == kPolar);
      UpdateSettingText(kPlotTypeText);
      UpdateSettingText(kStyleText);
      UpdateControlEnables();
      break;
    case KVNPhaseConfig::kXYStyleChanged:
    case KVNPhaseConfig::kPolarStyleChanged:
      UpdateSettingText(kStyleText);
      break;
    case KVNPhaseConfig::kColourChanged:
      mColourFill->SetColor(PhaseColour(), true);
      break;
    default:
      break;
  }
  return 0;
}

// The scope sets its controller quietly, which reaches no attached button: the switch follows the
// configuration itself. Its value goes on to the controller and the scope, which find it
// matching and stop there.
void KorvanePhaseAndBalanceMeterFrame::FollowScopeEnabled() {
  const std::int32_t on = mConfig->IsPhaseScopeEnabled() ? 1 : 0;
  if (mScopeSwitch->GetValue() != on) mScopeSwitch->SetValueQuiet(on);
}

void KorvanePhaseAndBalanceMeterFrame::UpdateControlEnables() {
  const bool polar = mConfig->GetPlotType() == kPolar;
  EnableControl(kAutoGain, !polar);
  const bool manualGain = !polar && !mConfig->GetAutoGain();
  EnableControl(kGain, manualGain);
  if (mReadouts[kGainText]) mReadouts[kGainText]->SetEnabled(manualGain);
}

void KorvanePhaseAndBalanceMeterFrame::UpdateSettingText(std::int32_t readout) {
  StaticTextPMFrame* text = GetReadout(readout);
  if (!text) return;
  static const char* const kTypes[] = {"XY", "Vector", "Polar"};
  static const char* const kPolarStyleNames[] = {"Points", "Rays", "Lines"};
  static const char* const kXYStyleNames[] = {"Points", "Lines"};
  const std::int32_t type = mConfig->GetPlotType();
  switch (readout) {
    case kGainText:
      text->SetText(Whole(mConfig->GetGainDb()), true);
      break;
    case kPlotTypeText:
      if (type >= 0 && type < kPlotTypes) text->SetText(kTypes[type], true);
      break;
    case kStyleText: {
      const std::int32_t style = type == kPolar ? mConfig->GetPolarPlotStyle() : mConfig->GetXYPlotStyle();
      const std::int32_t count = type == kPolar ? 3 : 2;
      if (style >= 0 && style < count)
        text->SetText(type == kPolar ? kPolarStyleNames[style] : kXYStyleNames[style], true);
      break;
    }
    case kDensityText:
      text->SetText(Whole(mConfig->GetEffectivePlotDensity()), true);
      break;
    case kDecayText:
      text->SetText(Whole(mConfig->GetEffectivePlotDecay()), true);
      break;
    default:
      break;
  }
}

std::int32_t KorvanePhaseAndBalanceMeterFrame::OnColorPicked(std::int32_t code) {
  if (code != ColorPickerFrame::kPicked) return 0;
  // The swatch follows the configuration's 'colr'.
  const Color picked = mPicker->GetColor();
  mConfig->SetPhaseColor(ZEBCanvas::SerializableColorSpec(picked.red, picked.green, picked.blue), true);
  return 0;
}
