#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"
#include "analyser/editor/alarms/KVNAlarmSeverityButton.h"
#include "analyser/editor/alarms/KVNAlarmTHDispFrame.h"
#include "analyser/editor/alarms/KVNAlarmedValueDispFrame.h"
#include "analyser/editor/main/InventoryPoints.h"
#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"
#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"
#include "analyser/editor/panel/PanelLayout.h"
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
#include "toolkit/frames/Redraw.h"
#include "toolkit/meters/AudioMeter.h"
#include "toolkit/meters/DualLevelAudioMeter.h"

using ZEBCanvas::ColorFillFrame;
using ZEBCanvas::ColorPickerFrame;

namespace {

using namespace panellayout;

constexpr std::int32_t kPolar = 2;
constexpr std::int32_t kPlotTypes = 3;
constexpr std::int32_t kPolarStyles = 3;
constexpr std::int32_t kXYStyles = 2;
constexpr std::int32_t kReaderHoldTicks = 15;

// Mid and side are sums of the two channels: 6 dB down, a mono signal's mid bar shows its channels'
// level.
constexpr float kMidSideOffsetDb = 6.0f;
// Correlations reach the alarms in percent.
constexpr float kPercent = 100.0f;

// The mid and side bars: two zones of one colour, a white peak colour; the peak level is their
// main channel, the average the secondary one.
constexpr float kLowerZoneDb = -60.0f;
constexpr Color kBarPeakColour{0xFFFF, 0xFFFF, 0xFFFF};
constexpr std::int32_t kBarZones = 2;
constexpr std::int32_t kPeakChannel = 0;
constexpr std::int32_t kAverageChannel = 1;
constexpr float kBarKneeDb = -26.0f;
constexpr std::int32_t kBarKneePixels = 100;
constexpr float kBarAttackSeconds = 0.0f;
constexpr float kPeakReleaseSeconds = 3.0f;
constexpr float kAverageReleaseSeconds = 10.0f;
constexpr float kBarFallAcceleration = -0.5f;

// The ratio bar: one colour on black, falling slowly.
constexpr Color kRatioBackground{0, 0, 0};
constexpr float kRatioFloorDb = -40.0f;
constexpr float kRatioScaleCurve = 0.5f;
constexpr float kRatioFallRate = 9.0f;
constexpr std::int32_t kRatioPeakThickness = 2;
constexpr float kRatioPeakFallRate = 6.0f;

constexpr Point kStepperTextOffsets{2, 2};
constexpr const bitmaps::Region& kSliderThumb = bitmaps::RegionNamed("slider thumb");
constexpr const bitmaps::Region& kReadoutText = bitmaps::RegionNamed("readout text colour");
constexpr const bitmaps::Region& kDisabledText = bitmaps::RegionNamed("disabled text colour");

const AlarmLook& AlarmOf(const Row& row) { return kAlarms[row.id]; }

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
  SetPixMap(mBackground.Get(), 0, 0, kNoRedraw);
  mAlarmManager = &plugin->GetAlarmManager();
  mPhaseService = &plugin->GetServiceList().GetPhaseService();
  mBalanceService = &plugin->GetServiceList().GetBalanceService();
  mConfig = mPhaseService->GetPhaseConfig();
  RegisterPhaseAndBalanceAlarms(*mAlarmManager);

  mSidePeak = mBalanceService->GetSidePeakMeter().AddReader();
  mMidPeak = mBalanceService->GetMidPeakMeter().AddReader();
  mSideAverage = mBalanceService->GetSideAverageMeter().AddReader();
  mMidAverage = mBalanceService->GetMidAverageMeter().AddReader();
  for (MeteringReader* reader : {mSidePeak.get(), mMidPeak.get(), mSideAverage.get(), mMidAverage.get()})
    reader->SetHoldTicks(kReaderHoldTicks);
  for (const Row& row : kRows) Build(plugin, row);
  for (std::int32_t readout : {kGainText, kPlotTypeText, kStyleText, kDensityText, kDecayText})
    UpdateSettingText(readout);

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
}

KorvanePhaseAndBalanceMeterFrame::~KorvanePhaseAndBalanceMeterFrame() { StopSubscriptions(); }

void KorvanePhaseAndBalanceMeterFrame::Build(Korvane* plugin, const Row& row) {
  const Point at = row.at;
  const bitmaps::Region* picture = row.picture;
  switch (row.kind) {
    case Widget::kBalanceMeter:
      new KorvaneBalanceMeterFrame(plugin, this, at.x, at.y);
      break;
    case Widget::kScope:
      mScope = new KorvanePhaseFrame(plugin, this, at.x, at.y, row.size.width, row.size.height,
                                     picture->bitmap, picture->x, picture->y);
      break;
    case Widget::kLevelBar:
      (row.id == kMid ? mMidMeter : mSideMeter) = NewLevelBar(row);
      break;
    case Widget::kRatioBar:
      NewRatioBar(row);
      break;
    case Widget::kAlarmValue:
      // The clear list is empty: a press clears the display's own alarm, with or without Shift.
      new KVNAlarmedValueDispFrame(plugin, this, at.x, at.y, AlarmOf(row).name, {}, AlarmOf(row).convertor);
      break;
    case Widget::kAlarmThreshold:
      new KVNAlarmTHDispFrame(plugin, this, at.x, at.y, {AlarmOf(row).name}, AlarmOf(row).thresholdPrecision,
                              AlarmOf(row).thresholdStep);
      break;
    case Widget::kAlarmSeverity:
      new KVNAlarmSeverityButton(plugin, this, at.x, at.y, {AlarmOf(row).name}, AlarmOf(row).fiveLevels,
                                 AlarmOf(row).severityPicture);
      break;
    case Widget::kGroupNotification:
      new KVNAlarmGroupNotificationFrame(plugin, this, at.x, at.y, row.size.width, row.size.height,
                                         picture->x, picture->y, mBackground.Get(), picture->stepX,
                                         picture->stepY, AlarmOf(row).name);
      break;
    case Widget::kStepper:
      NewStepper(row);
      break;
    case Widget::kSlider:
      NewSlider(row);
      break;
    case Widget::kReadout:
      mReadouts[row.id] = NewReadout(row);
      break;
    case Widget::kSwatch:
      mColourFill = new ColorFillFrame(this, at.x, at.y, row.size.width, row.size.height, 0);
      mColourFill->SetColor(PhaseColour(), kNoRedraw);
      break;
    case Widget::kPicker:
      // The palette looks the same pressed or not.
      mPicker = new ColorPickerFrame(this, at.x, at.y, row.size.width, row.size.height, mBackground.Get(),
                                     picture->x, picture->y, picture->x, picture->y);
      break;
    case Widget::kCheckbox:
      NewCheckbox(row);
      break;
    case Widget::kCorrelationMeter:
      new KVNPhaseCorrelationMeterFrame(plugin, this, at.x, at.y);
      break;
    case Widget::kScopeSwitch:
      // Image 0 off, image 1 on; the scope's own controller, no control of the panel.
      mScopeSwitch =
          new BooleanButton(this, at.x, at.y, row.size.width, row.size.height, picture->stepX, picture->stepY,
                            picture->x, picture->y, mSprites.Get(), 0, 0, 0, &mScope->GetEnableController());
      break;
  }
}

DualLevelAudioMeter* KorvanePhaseAndBalanceMeterFrame::NewLevelBar(const Row& row) {
  auto* meter = new DualLevelAudioMeter(this, row.at.x, row.at.y, row.size.width, row.size.height, kBarZones,
                                        kBuffered, 0);
  const Color bar = mBackground.Get()->GetPixelColor(OriginOf(*row.picture));
  meter->SetZoneThreshold(0, kLowerZoneDb, kNoRedraw);
  meter->SetZoneColors(0, bar, kBarPeakColour, nullptr);
  meter->SetZoneThreshold(1, kUpperZoneDb[row.id], kNoRedraw);
  meter->SetZoneColors(1, bar, kBarPeakColour, nullptr);
  meter->SetMainChannel(kPeakChannel);
  meter->SetShowSecondary(true);
  meter->SetPeakHold(false, kPeakChannel);
  meter->SetPeakHold(false, kAverageChannel);
  meter->SetScaleKneeLevel(kBarKneeDb);
  meter->SetScaleKneeLength(kBarKneePixels);
  meter->SetAttackTime(kBarAttackSeconds, kPeakChannel);
  meter->SetReleaseTime(kPeakReleaseSeconds, kPeakChannel);
  meter->SetAttackTime(kBarAttackSeconds, kAverageChannel);
  meter->SetReleaseTime(kAverageReleaseSeconds, kAverageChannel);
  meter->SetFallAcceleration(kBarFallAcceleration);
  return meter;
}

void KorvanePhaseAndBalanceMeterFrame::NewRatioBar(const Row& row) {
  mRatioMeter =
      new GainReductionMeter(this, row.at.x, row.at.y, row.size.width, row.size.height, kBuffered, 0);
  const Color ratio = mBackground.Get()->GetPixelColor(OriginOf(*row.picture));
  mRatioMeter->SetFloorLevel(kRatioFloorDb);
  mRatioMeter->SetScaleCurve(kRatioScaleCurve);
  mRatioMeter->SetColors(kRatioBackground, ratio, ratio, ratio, ratio, kRedraw);
  mRatioMeter->SetFallRate(kRatioFallRate);
  mRatioMeter->SetPeakHold(false);
  mRatioMeter->SetPeakMarkerThickness(kRatioPeakThickness);
  mRatioMeter->SetPeakFallRate(kRatioPeakFallRate);
}

void KorvanePhaseAndBalanceMeterFrame::NewStepper(const Row& row) {
  const StepperIds& ids = kSteppers[row.id];
  auto* stepper = new KVNValueIncDecFrame(this, row.at.x, row.at.y, row.size.width, kStepperTextOffsets,
                                          TextFrame::kCentred);
  AddControl(stepper->GetRightButton(), ids.next, kNotOwned);
  AddControl(stepper->GetLeftButton(), ids.previous, kNotOwned);
  mReadouts[ids.text] = stepper->GetTextFrame();
  if (row.id == kStyleStepper) mStyleStepper = stepper;
}

void KorvanePhaseAndBalanceMeterFrame::NewSlider(const Row& row) {
  const SliderRange& range = kSliders[row.id];
  const bitmaps::Region& track = *row.picture;
  auto* slider = new PixMapSlider(this, row.at.x, row.at.y, row.size.width, row.size.height, track.x, track.y,
                                  mSprites.Get(), kSliderThumb.x, kSliderThumb.y, kSliderThumb.width,
                                  kSliderThumb.height, std::nullopt, kBuffered, range.min, range.max,
                                  range.defaultValue, range.control);
  slider->SetResetOnShiftClick(true);
  slider->SetValueQuiet(SliderValue(range.control));
  AddControl(slider, range.control, kNotOwned);
}

std::int32_t KorvanePhaseAndBalanceMeterFrame::SliderValue(std::int32_t id) const {
  switch (id) {
    case kDensity:
      return mConfig->GetEffectivePlotDensity();
    case kDecay:
      return mConfig->GetEffectivePlotDecay();
    default:
      return WholeGain(mConfig->GetGainDb());
  }
}

StaticTextPMFrame* KorvanePhaseAndBalanceMeterFrame::NewReadout(const Row& row) {
  OGWorld* sprites = mSprites.Get();
  auto* readout = new StaticTextPMFrame(this, row.at.x, row.at.y, row.size.width, row.size.height,
                                        row.picture->x, row.picture->y, sprites, 0, 0);
  readout->SetFont(DrawContext::kSmallFont, kNoRedraw);
  readout->SetAlignment(TextFrame::kCentred, kNoRedraw);
  readout->SetTextColor(sprites->GetPixelColor(OriginOf(kReadoutText)), kNoRedraw);
  readout->SetDisabledTextColor(sprites->GetPixelColor(OriginOf(kDisabledText)), kNoRedraw);
  return readout;
}

void KorvanePhaseAndBalanceMeterFrame::NewCheckbox(const Row& row) {
  const bitmaps::Region& box = *row.picture;
  auto* button = new BooleanButton(this, row.at.x, row.at.y, box.width, box.height, box.stepX, box.stepY,
                                   box.x, box.y, mSprites.Get(), 0, 0, row.id);
  const bool on = row.id == kAutoGain ? mConfig->GetAutoGain() : mConfig->GetLowLevelGate();
  button->SetValueQuiet(on ? 1 : 0);
  AddControl(button, row.id, kNotOwned);
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
      mConfig->SetAutoGain(value != 0, KVNPhaseConfig::kNotify);
      break;
    case kLowLevelGate:
      mConfig->SetLowLevelGate(value != 0, KVNPhaseConfig::kNotify);
      break;
    case kGain:
      mConfig->SetGainDb(float(value), KVNPhaseConfig::kNotify);
      break;
    case kPlotTypeNext:
      mConfig->SetPlotType(Wrap(type + 1, kPlotTypes), KVNPhaseConfig::kNotify);
      break;
    case kPlotTypePrevious:
      mConfig->SetPlotType(Wrap(type - 1, kPlotTypes), KVNPhaseConfig::kNotify);
      break;
    case kStyleNext:
    case kStylePrevious:
      if (type == kPolar)
        mConfig->SetPolarPlotStyle(
            Wrap(mConfig->GetPolarPlotStyle() + (key == kStyleNext ? 1 : -1), kPolarStyles),
            KVNPhaseConfig::kNotify);
      break;
    case kDensity:
      mConfig->SetPlotDensity(value, KVNPhaseConfig::kNotify);
      break;
    case kDecay:
      mConfig->SetPlotDecay(value, KVNPhaseConfig::kNotify);
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
  PushAlarmValue(kCorrelationInst, mPhaseService->GetCorrelationMinHold() * kPercent);
  PushAlarmValue(kCorrelationAvg, mPhaseService->GetCorrelationAverage() * kPercent);
  PushAlarmValue(kBalanceLevel, mBalanceService->GetBalancePeak());
}

void KorvanePhaseAndBalanceMeterFrame::PushAlarmValue(const char* name, float value) {
  mAlarmManager->UpdateValue(name, value, KVNAlarmManager::kNotForced, KVNAlarmManager::kNotAnnounced);
}

void KorvanePhaseAndBalanceMeterFrame::UpdateMidSideMeters() {
  const std::int64_t now = Clock::GetTimerTick();
  const float midPeak = mMidPeak->ReadDb();
  const float sidePeak = mSidePeak->ReadDb();
  const float midAverage = mMidAverage->ReadDb();
  const float sideAverage = mSideAverage->ReadDb();
  mMidMeter->SetLevels(midPeak - kMidSideOffsetDb, midAverage - kMidSideOffsetDb);
  mSideMeter->SetLevels(sidePeak - kMidSideOffsetDb, sideAverage - kMidSideOffsetDb);
  const float ratio = mRatio.Update(now, sideAverage, midAverage);
  mRatioMeter->SetLevel(std::max(ratio, kLowestRatioShown));
  PushAlarmValue(MeasurementIds::kSideToMidRatio, ratio);
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
      mColourFill->SetColor(PhaseColour(), kRedraw);
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
  static const char* const kTypes[kPlotTypes] = {"XY", "Vector", "Polar"};
  static const char* const kPolarStyleNames[kPolarStyles] = {"Points", "Rays", "Lines"};
  static const char* const kXYStyleNames[kXYStyles] = {"Points", "Lines"};
  const std::int32_t type = mConfig->GetPlotType();
  switch (readout) {
    case kGainText:
      text->SetText(Whole(mConfig->GetGainDb()), kRedraw);
      break;
    case kPlotTypeText:
      if (type >= 0 && type < kPlotTypes) text->SetText(kTypes[type], kRedraw);
      break;
    case kStyleText: {
      const std::int32_t style = type == kPolar ? mConfig->GetPolarPlotStyle() : mConfig->GetXYPlotStyle();
      const std::int32_t count = type == kPolar ? kPolarStyles : kXYStyles;
      if (style >= 0 && style < count)
        text->SetText(type == kPolar ? kPolarStyleNames[style] : kXYStyleNames[style], kRedraw);
      break;
    }
    case kDensityText:
      text->SetText(Whole(mConfig->GetEffectivePlotDensity()), kRedraw);
      break;
    case kDecayText:
      text->SetText(Whole(mConfig->GetEffectivePlotDecay()), kRedraw);
      break;
    default:
      break;
  }
}

std::int32_t KorvanePhaseAndBalanceMeterFrame::OnColorPicked(std::int32_t code) {
  if (code != ColorPickerFrame::kPicked) return 0;
  // The swatch follows the configuration's 'colr'.
  const Color picked = mPicker->GetColor();
  mConfig->SetPhaseColor(ZEBCanvas::SerializableColorSpec(picked.red, picked.green, picked.blue),
                         KVNPhaseConfig::kNotify);
  return 0;
}
