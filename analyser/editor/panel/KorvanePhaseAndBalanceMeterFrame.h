#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "analyser/editor/panel/SideToMidRatio.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/TimerClient.h"
#include "toolkit/controls/ControlContainer.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class DualLevelAudioMeter;
class GainReductionMeter;
class Korvane;
class KorvaneBalanceService;
class KorvanePhaseService;
class KVNAlarmManager;
class KVNPhaseConfig;
class MeteringReader;
class StaticTextPMFrame;
class KVNValueIncDecFrame;
class KorvanePhaseFrame;
class BooleanButton;
namespace panellayout {
struct Row;
}  // namespace panellayout
namespace ZEBCanvas {
class ColorFillFrame;
class ColorPickerFrame;
}  // namespace ZEBCanvas

// The analyser's main panel: the phase scope, the correlation and balance meters, the mid and
// side bars with the side-to-mid ratio bar, the read-outs of the five phase-and-balance alarms
// and the scope's controls. It registers those alarms and feeds them from two timers: the
// correlation and balance values every 30 ticks, the mid/side bars and the ratio every 2.
// Controls follow the scope's configuration quietly, and their changes go to it. Editor thread;
// its timers and subscriptions end with it.
class KorvanePhaseAndBalanceMeterFrame : public PixMapDrawFrame,
                                         public TimerClient<KorvanePhaseAndBalanceMeterFrame>,
                                         public MessageSubscriber<KorvanePhaseAndBalanceMeterFrame>,
                                         public ControlContainer {
 public:
  static constexpr std::int32_t kWidth = 399;
  static constexpr std::int32_t kHeight = 369;
  static constexpr std::int32_t kAlarmTimerTicks = 30;
  static constexpr std::int32_t kMidSideTimerTicks = 2;
  static constexpr float kLowestRatioShown = -50.0f;

  // Control ids, also the container's keys.
  enum ControlId : std::int32_t {
    kAutoGain = 0,
    kLowLevelGate = 1,
    kGain = 2,
    kPlotTypeNext = 3,
    kPlotTypePrevious = 4,
    kStyleNext = 5,
    kStylePrevious = 6,
    kDensity = 7,
    kDecay = 8,
  };
  // Readouts.
  enum Readout : std::int32_t {
    kGainText = 0,
    kPlotTypeText = 1,
    kStyleText = 2,
    kDensityText = 3,
    kDecayText = 4
  };

  KorvanePhaseAndBalanceMeterFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y);
  ~KorvanePhaseAndBalanceMeterFrame() override;

  void ControlValueChanged(std::int32_t key, std::int32_t value, GenericControl* sender) override;
  // Every 30 ticks.
  void PushAlarmValues();
  // Every 2 ticks.
  void UpdateMidSideMeters();
  void UpdateControlEnables();
  void UpdateSettingText(std::int32_t readout);
  // The phase configuration of a settings file read for the editor (its text, nothing when no
  // file was chosen); a file that cannot be read, or holds none, changes nothing.
  void LoadPhaseConfig(const std::optional<std::string>& text);

  float GetRatio() const { return mRatio.Get(); }
  StaticTextPMFrame* GetReadout(std::int32_t readout) const;
  GainReductionMeter& GetRatioMeter() const { return *mRatioMeter; }
  DualLevelAudioMeter& GetMidMeter() const { return *mMidMeter; }
  DualLevelAudioMeter& GetSideMeter() const { return *mSideMeter; }
  KVNValueIncDecFrame& GetStyleStepper() const { return *mStyleStepper; }
  BooleanButton& GetScopeSwitch() const { return *mScopeSwitch; }
  ZEBCanvas::ColorFillFrame& GetColourFill() const { return *mColourFill; }
  ZEBCanvas::ColorPickerFrame& GetPicker() const { return *mPicker; }

 private:
  void Build(Korvane* plugin, const panellayout::Row& row);
  DualLevelAudioMeter* NewLevelBar(const panellayout::Row& row);
  void NewRatioBar(const panellayout::Row& row);
  void NewStepper(const panellayout::Row& row);
  void NewSlider(const panellayout::Row& row);
  std::int32_t SliderValue(std::int32_t id) const;
  StaticTextPMFrame* NewReadout(const panellayout::Row& row);
  void NewCheckbox(const panellayout::Row& row);
  void PushAlarmValue(const char* name, float value);
  void SetControlQuietly(std::int32_t id, std::int32_t value);
  void EnableControl(std::int32_t id, bool on);
  void FollowScopeEnabled();
  Color PhaseColour() const;
  std::int32_t OnAlarmMessage(std::int32_t code);
  std::int32_t OnPhaseConfigMessage(std::int32_t code);
  std::int32_t OnColorPicked(std::int32_t code);

  std::array<StaticTextPMFrame*, 5> mReadouts{};
  PixMapRef mBackground;
  PixMapRef mSprites;
  KVNAlarmManager* mAlarmManager{nullptr};
  KVNPhaseConfig* mConfig{nullptr};
  KorvanePhaseService* mPhaseService{nullptr};
  KorvaneBalanceService* mBalanceService{nullptr};
  KVNValueIncDecFrame* mStyleStepper{nullptr};
  KorvanePhaseFrame* mScope{nullptr};
  BooleanButton* mScopeSwitch{nullptr};
  ZEBCanvas::ColorPickerFrame* mPicker{nullptr};
  ZEBCanvas::ColorFillFrame* mColourFill{nullptr};
  GainReductionMeter* mRatioMeter{nullptr};
  DualLevelAudioMeter* mMidMeter{nullptr};
  DualLevelAudioMeter* mSideMeter{nullptr};
  std::unique_ptr<MeteringReader> mSidePeak;
  std::unique_ptr<MeteringReader> mMidPeak;
  std::unique_ptr<MeteringReader> mSideAverage;
  std::unique_ptr<MeteringReader> mMidAverage;
  SideToMidRatio mRatio{};
};
