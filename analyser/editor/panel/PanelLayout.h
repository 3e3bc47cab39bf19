#pragma once

#include <cstdint>

#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/editor/values/KVNTextConvertor.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/Geometry.h"

// Where the panel's widgets sit and what they show, one row per widget in the order they are
// built. Pictures are rows of the bitmap inventory, which gives their source, size and step.
namespace panellayout {

using Panel = KorvanePhaseAndBalanceMeterFrame;

enum class Widget : std::uint8_t {
  kBalanceMeter,       // its own size
  kScope,              // drawn over its picture, the part of the panel's background under it
  kLevelBar,           // id: a Bar; its picture is the chip of its colour
  kRatioBar,           // its picture is the chip of its colour
  kAlarmValue,         // id: an Alarm
  kAlarmThreshold,     // id: an Alarm
  kAlarmSeverity,      // id: an Alarm
  kGroupNotification,  // id: an Alarm
  kStepper,            // id: a Stepper; its picture, the text's background, gives the text's width
  kSlider,             // id: a Slider; its picture is the track
  kReadout,            // id: a Panel::Readout; its picture is the text's background
  kSwatch,             // the phase colour
  kPicker,             // its picture is the palette, the same pressed or not
  kCheckbox,           // id: a Panel::ControlId
  kCorrelationMeter,   // its own size
  kScopeSwitch,        // the scope's own switch, no control of the panel
};

struct Size {
  std::int32_t width{0};
  std::int32_t height{0};
};

struct Row {
  Widget kind{Widget::kBalanceMeter};
  Point at{};
  Size size{};  // 0 x 0 where the widget has a size of its own
  const bitmaps::Region* picture{nullptr};
  std::int32_t id{0};
};

// A row drawn from an inventory picture of the same size.
constexpr Row Pictured(Widget kind, Point at, const char* picture, std::int32_t id = 0) {
  const bitmaps::Region& region = bitmaps::RegionNamed(picture);
  return Row{kind, at, Size{region.width, region.height}, &region, id};
}

// A row of a given size; a picture, when named, gives a colour or a source.
constexpr Row Sized(Widget kind, Point at, Size size, const char* picture = nullptr, std::int32_t id = 0) {
  return Row{kind, at, size, picture ? &bitmaps::RegionNamed(picture) : nullptr, id};
}

// A row of a widget with a size of its own.
constexpr Row Placed(Widget kind, Point at, std::int32_t id = 0) {
  return Row{kind, at, Size{}, nullptr, id};
}

// The five phase-and-balance alarms as the panel shows them.
enum Alarm : std::int32_t { kSideToMid, kCorrelationAverage, kCorrelationInstant, kAntiphase, kBalance };

struct AlarmLook {
  const char* name{nullptr};
  const KVNTextConvertor* convertor{nullptr};  // its value's text
  std::int32_t thresholdPrecision{0};          // decimals of its threshold
  float thresholdStep{0.0f};                   // a click's change of its threshold
  bool fiveLevels{false};                      // its severity button offers level 4
  std::int32_t severityPicture{0};             // 0 small, 1 large
};

constexpr AlarmLook kAlarms[] = {
    {MeasurementIds::kSideToMidRatio, &kSideMidRatioDbConvertor, 1, 1.0f, false, 0},
    {MeasurementIds::kCorrelationAvg, &kCorrConvertor, 0, 5.0f, true, 0},
    {MeasurementIds::kCorrelationInst, &kCorrConvertor, 0, 5.0f, true, 0},
    {MeasurementIds::kAntiphaseSummary, nullptr, 0, 0.0f, false, 1},
    {MeasurementIds::kBalanceLevel, &kBalanceLevelConvertor, 1, 0.1f, false, 0},
};

// The mid and side bars differ only in where their upper zone starts.
enum Bar : std::int32_t { kMid, kSide };
constexpr float kUpperZoneDb[] = {-10.0f, -20.0f};

struct StepperIds {
  Panel::Readout text{Panel::kPlotTypeText};
  Panel::ControlId next{Panel::kPlotTypeNext};
  Panel::ControlId previous{Panel::kPlotTypePrevious};
};
enum Stepper : std::int32_t { kPlotTypeStepper, kStyleStepper };
constexpr StepperIds kSteppers[] = {
    {Panel::kPlotTypeText, Panel::kPlotTypeNext, Panel::kPlotTypePrevious},
    {Panel::kStyleText, Panel::kStyleNext, Panel::kStylePrevious},
};

struct SliderRange {
  Panel::ControlId control{Panel::kDensity};
  std::int32_t min{0};
  std::int32_t max{0};
  std::int32_t defaultValue{0};  // a Shift-click's value
};
enum Slider : std::int32_t { kDensitySlider, kDecaySlider, kGainSlider };
constexpr SliderRange kSliders[] = {
    {Panel::kDensity, 1, 10, 5},
    {Panel::kDecay, 1, 10, 5},
    {Panel::kGain, 0, 25, 0},
};

using W = Widget;
constexpr Row kRows[] = {
    Placed(W::kBalanceMeter, {14, 39}),
    Pictured(W::kScope, {bitmaps::kScopeX, bitmaps::kScopeY}, "polar grid"),
    Sized(W::kLevelBar, {48, 331}, {137, 7}, "mid bar colour", kMid),
    Sized(W::kLevelBar, {48, 345}, {137, 7}, "side bar colour", kSide),
    Sized(W::kRatioBar, {236, 331}, {137, 3}, "ratio bar colour"),
    Placed(W::kAlarmValue, {234, 342}, kSideToMid),
    Placed(W::kAlarmThreshold, {318, 342}, kSideToMid),
    Placed(W::kAlarmSeverity, {284, 343}, kSideToMid),
    Pictured(W::kStepper, {284, 148}, "stepper text", kPlotTypeStepper),
    Pictured(W::kStepper, {284, 165}, "stepper text", kStyleStepper),
    Placed(W::kAlarmValue, {245, 61}, kCorrelationAverage),
    Placed(W::kAlarmThreshold, {329, 61}, kCorrelationAverage),
    Placed(W::kAlarmSeverity, {295, 62}, kCorrelationAverage),
    Placed(W::kAlarmValue, {245, 80}, kCorrelationInstant),
    Placed(W::kAlarmThreshold, {329, 80}, kCorrelationInstant),
    Placed(W::kAlarmSeverity, {295, 81}, kCorrelationInstant),
    Placed(W::kAlarmSeverity, {376, 12}, kAntiphase),
    Pictured(W::kGroupNotification, {267, 102}, "anti-phase cells", kAntiphase),
    Placed(W::kAlarmValue, {49, 61}, kBalance),
    Placed(W::kAlarmThreshold, {133, 61}, kBalance),
    Placed(W::kAlarmSeverity, {100, 62}, kBalance),
    Pictured(W::kSlider, {284, 194}, "density slider", kDensitySlider),
    Pictured(W::kReadout, {348, 194}, "slider readout", Panel::kDensityText),
    Pictured(W::kSlider, {284, 211}, "decay slider", kDecaySlider),
    Pictured(W::kReadout, {348, 211}, "slider readout", Panel::kDecayText),
    Sized(W::kSwatch, {365, 269}, {9, 9}),
    Pictured(W::kPicker, {285, 269}, "colour palette"),
    Pictured(W::kCheckbox, {284, 242}, "checkbox", Panel::kAutoGain),
    Pictured(W::kCheckbox, {334, 242}, "checkbox", Panel::kLowLevelGate),
    Pictured(W::kSlider, {284, 228}, "gain slider", kGainSlider),
    Pictured(W::kReadout, {348, 228}, "slider readout", Panel::kGainText),
    Placed(W::kCorrelationMeter, {245, 39}),
    Pictured(W::kScopeSwitch, {375, 125}, "scope switch"),
};

// The panel draws each kind from one of its two images, whatever bitmap the picture names; so a
// row whose picture lies in the other one is refused here.
constexpr bool PicturesLieInTheImagesTheyAreDrawnFrom() {
  for (const Row& row : kRows) {
    if (!row.picture) continue;
    switch (row.kind) {
      case Widget::kLevelBar:
      case Widget::kRatioBar:
      case Widget::kGroupNotification:
      case Widget::kPicker:
        if (row.picture->bitmap != bitmaps::kPanel) return false;
        break;
      case Widget::kSlider:
      case Widget::kReadout:
      case Widget::kCheckbox:
      case Widget::kScopeSwitch:
        if (row.picture->bitmap != bitmaps::kSprites) return false;
        break;
      default:
        break;
    }
  }
  return true;
}
static_assert(PicturesLieInTheImagesTheyAreDrawnFrom());

}  // namespace panellayout
