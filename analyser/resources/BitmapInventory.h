#pragma once

#include <cstdint>
#include <string_view>

// Every bitmap of the analyser's editor and every place in them that a frame reads: the one table
// that the generator draws from and the tests check against.
namespace bitmaps {

constexpr std::int32_t kSprites = 2000;      // controls' and meters' sprites
constexpr std::int32_t kAbout = 2200;        // the about page's picture
constexpr std::int32_t kPanel = 5200;        // backgrounds: panel, header, spare band
constexpr std::int32_t kMeterScales = 5913;  // correlation and balance meters
constexpr std::int32_t kErrorInfo = 8000;    // error frame, information
constexpr std::int32_t kErrorAlert = 8001;   // error frame, warning and error

struct BitmapEntry {
  std::int32_t id{0};
  std::int32_t width{0};
  std::int32_t height{0};
  const char* name{nullptr};
};

constexpr BitmapEntry kBitmaps[] = {
    {kSprites, 425, 600, "sprites"},      {kAbout, 285, 205, "about"},
    {kPanel, 399, 650, "panel"},          {kMeterScales, 400, 103, "meter-scales"},
    {kErrorInfo, 260, 100, "error-info"}, {kErrorAlert, 260, 100, "error-alert"},
};

enum class Kind {
  kBackground,      // a frame's picture
  kPart,            // drawn inside a background of the same bitmap, which it overlaps
  kCells,           // count images of width x height at (x, y) + k * (stepX, stepY)
  kColour,          // count one-pixel chips at (x, y) + k * (stepX, stepY) holding colours[k]
  kTextBackground,  // one uniform colour under a text (may lie inside a background)
  kScale,           // the correlation colour scale: columns by correlation, darker downwards
};

// How the generator draws a region.
enum class Look {
  kNone,
  kPanel,
  kPolarGrid,
  kHeader,
  kSparePalette,
  kStepPrevious,
  kStepNext,
  kImportButton,
  kCheckbox,
  kScopeSwitch,
  kSeverity,
  kSeverityLarge,
  kTriggerButton,
  kValueCells,
  kGroupCells,
  kMasterRows,
  kSliderDensity,
  kSliderDecay,
  kSliderGain,
  kSliderThumb,
  kLoadButton,
  kSaveButton,
  kAboutButton,
  kAboutBadge,
  kGuideButton,
  kBalanceTrack,
  kCorrelationTrack,
  kScale,
  kAboutPicture,
  kErrorInfo,
  kErrorAlert,
};

struct Region {
  std::int32_t bitmap{0};
  const char* name{nullptr};
  Kind kind{Kind::kBackground};
  Look look{Look::kNone};
  std::int32_t x{0};
  std::int32_t y{0};
  std::int32_t width{0};
  std::int32_t height{0};
  std::int32_t count{1};
  std::int32_t stepX{0};
  std::int32_t stepY{0};
  std::int32_t disabledX{-1};  // the image shown while disabled, -1 none
  std::int32_t disabledY{-1};
  const std::uint32_t* colours{nullptr};  // kColour and kTextBackground, 0x00RRGGBB
};

// Colours that frames read from the bitmaps.
namespace colour {
constexpr std::uint32_t kPanel = 0x1B1E23;
constexpr std::uint32_t kReadoutText = 0xE8EDF2;    // readouts, enabled
constexpr std::uint32_t kStepperText = 0xE8EDF3;    // stepper text, enabled
constexpr std::uint32_t kDisabledText = 0x5A626C;   // every text, disabled
constexpr std::uint32_t kValueText = 0xF2F5F8;      // alarmed values
constexpr std::uint32_t kValueTextDim = 0x9AA3AD;   // alarmed values, disabled
constexpr std::uint32_t kThresholdText = 0xD5DCE4;  // alarm thresholds, enabled
constexpr std::uint32_t kReadoutBack = 0x0C0E11;    // behind readouts and steppers
constexpr std::uint32_t kStripFill = 0x15181C;      // master and global strips
constexpr std::uint32_t kStripOutline = 0x3A414A;
constexpr std::uint32_t kFillFrameFill = 0x101317;
constexpr std::uint32_t kFillFrameOutline = 0x3A414A;
constexpr std::uint32_t kMidBar = 0x3FB6FF;
constexpr std::uint32_t kSideBar = 0xFFB04A;
constexpr std::uint32_t kRatioBar = 0xC08CFF;
constexpr std::uint32_t kErrorPaper = 0xEEF1F4;  // behind the error frame's black text
// Severities 0 (none) to 4.
constexpr std::uint32_t kSeverity[5] = {0x3C434C, 0x3D9BFF, 0xF4C430, 0xFF7F2A, 0xFF3434};
}  // namespace colour

namespace chips {
constexpr std::uint32_t kReadoutText[] = {colour::kReadoutText};
constexpr std::uint32_t kStepperText[] = {colour::kStepperText};
constexpr std::uint32_t kDisabledText[] = {colour::kDisabledText};
constexpr std::uint32_t kValueText[] = {colour::kValueText};
constexpr std::uint32_t kValueTextDim[] = {colour::kValueTextDim};
constexpr std::uint32_t kThresholdText[] = {colour::kThresholdText};
constexpr std::uint32_t kStripFill[] = {colour::kStripFill};
constexpr std::uint32_t kStripOutline[] = {colour::kStripOutline};
constexpr std::uint32_t kFillFrameFill[] = {colour::kFillFrameFill};
constexpr std::uint32_t kFillFrameOutline[] = {colour::kFillFrameOutline};
constexpr std::uint32_t kMidBar[] = {colour::kMidBar};
constexpr std::uint32_t kSideBar[] = {colour::kSideBar};
constexpr std::uint32_t kRatioBar[] = {colour::kRatioBar};
constexpr std::uint32_t kReadoutBack[] = {colour::kReadoutBack};
constexpr std::uint32_t kErrorPaper[] = {colour::kErrorPaper};
// Balance meter: the current value, then five trails fading with age.
constexpr std::uint32_t kBalanceLeft[] = {0xFF6B5A, 0xC2544A, 0x93443D, 0x6D3632, 0x4F2B29, 0x3A2324};
constexpr std::uint32_t kBalanceCentre[] = {0xF2F5F8, 0xB8BEC5, 0x8B9198, 0x686D73, 0x4D5156, 0x393C40};
constexpr std::uint32_t kBalanceRight[] = {0x4FD1FF, 0x3FA0C4, 0x347A95, 0x2B5C6F, 0x234452, 0x1D333D};
}  // namespace chips

// Scope on the panel: its picture is part of the panel's background.
constexpr std::int32_t kScopeX = 9, kScopeY = 88, kScopeSize = 200;
constexpr std::int32_t kScopeCentreX = 109, kScopeCentreY = 202, kScopeRadius = 97;

// bitmap, name, kind, look, x, y, width, height, count, step x, step y, disabled x, disabled y, colours
constexpr Region kRegions[] = {
    // 2000: sprites.
    {kSprites, "stepper previous", Kind::kCells, Look::kStepPrevious, 1, 1, 10, 11, 2, 20, 0, 41, 1},
    {kSprites, "stepper next", Kind::kCells, Look::kStepNext, 11, 1, 9, 11, 2, 20, 0, 51, 1},
    {kSprites, "import button 0", Kind::kCells, Look::kImportButton, 72, 2, 11, 11, 2, 12, 0, 96, 2},
    {kSprites, "import button 1", Kind::kCells, Look::kImportButton, 110, 2, 11, 11, 2, 12, 0, 134, 2},
    {kSprites, "import button 2", Kind::kCells, Look::kImportButton, 148, 2, 11, 11, 2, 12, 0, 172, 2},
    {kSprites, "stepper text colour", Kind::kColour, Look::kNone, 198, 4, 1, 1, 1, 0, 0, -1, -1,
     chips::kStepperText},
    {kSprites, "readout text colour", Kind::kColour, Look::kNone, 199, 5, 1, 1, 1, 0, 0, -1, -1,
     chips::kReadoutText},
    {kSprites, "disabled text colour", Kind::kColour, Look::kNone, 198, 14, 1, 1, 1, 0, 0, -1, -1,
     chips::kDisabledText},
    {kSprites, "threshold text", Kind::kTextBackground, Look::kNone, 1, 17, 36, 11, 1, 0, 0, -1, -1,
     chips::kReadoutBack},
    {kSprites, "value text colour", Kind::kColour, Look::kNone, 198, 24, 1, 1, 1, 0, 0, -1, -1,
     chips::kValueText},
    {kSprites, "value text colour, disabled", Kind::kColour, Look::kNone, 198, 34, 1, 1, 1, 0, 0, -1, -1,
     chips::kValueTextDim},
    {kSprites, "threshold text colour", Kind::kColour, Look::kNone, 198, 44, 1, 1, 1, 0, 0, -1, -1,
     chips::kThresholdText},
    {kSprites, "threshold text colour, disabled", Kind::kColour, Look::kNone, 198, 54, 1, 1, 1, 0, 0, -1, -1,
     chips::kDisabledText},
    {kSprites, "alarmed value cells", Kind::kCells, Look::kValueCells, 1, 47, 37, 11, 5, 0, 12},
    {kSprites, "fill frame fill", Kind::kColour, Look::kNone, 200, 65, 1, 1, 1, 0, 0, -1, -1,
     chips::kFillFrameFill},
    {kSprites, "fill frame outline", Kind::kColour, Look::kNone, 200, 75, 1, 1, 1, 0, 0, -1, -1,
     chips::kFillFrameOutline},
    {kSprites, "severity, four levels", Kind::kCells, Look::kSeverity, 2, 114, 10, 10, 8, 13, 0},
    {kSprites, "density slider", Kind::kBackground, Look::kSliderDensity, 140, 114, 62, 11},
    {kSprites, "decay slider", Kind::kBackground, Look::kSliderDecay, 140, 127, 62, 11},
    {kSprites, "gain slider", Kind::kBackground, Look::kSliderGain, 140, 140, 62, 11},
    {kSprites, "slider thumb", Kind::kCells, Look::kSliderThumb, 210, 114, 7, 11},
    {kSprites, "stepper text", Kind::kTextBackground, Look::kNone, 1, 129, 42, 11, 1, 0, 0, -1, -1,
     chips::kReadoutBack},
    {kSprites, "severity, five levels", Kind::kCells, Look::kSeverity, 2, 156, 10, 10, 10, 13, 0},
    {kSprites, "slider readout", Kind::kTextBackground, Look::kNone, 65, 170, 28, 11, 1, 0, 0, -1, -1,
     chips::kReadoutBack},
    {kSprites, "checkbox", Kind::kCells, Look::kCheckbox, 1, 183, 10, 10, 2, 11, 0, 23, 183},
    {kSprites, "group alarm cells", Kind::kCells, Look::kGroupCells, 4, 198, 72, 9, 5, 73, 0},
    {kSprites, "severity, large", Kind::kCells, Look::kSeverityLarge, 1, 228, 10, 10, 10, 11, 0},
    {kSprites, "scope switch", Kind::kCells, Look::kScopeSwitch, 32, 241, 11, 11, 2, 12, 0},
    {kSprites, "master trigger button", Kind::kCells, Look::kTriggerButton, 0, 268, 28, 8, 8, 29, 0},
    {kSprites, "strip outline colour", Kind::kColour, Look::kNone, 0, 322, 1, 1, 1, 0, 0, -1, -1,
     chips::kStripOutline},
    {kSprites, "strip fill colour", Kind::kColour, Look::kNone, 6, 325, 1, 1, 1, 0, 0, -1, -1,
     chips::kStripFill},
    {kSprites, "load button", Kind::kCells, Look::kLoadButton, 173, 334, 14, 14, 2, 32, 0},
    {kSprites, "save button", Kind::kCells, Look::kSaveButton, 187, 334, 14, 14, 2, 32, 0},
    {kSprites, "about button", Kind::kCells, Look::kAboutButton, 5, 356, 125, 27},
    {kSprites, "about badge", Kind::kCells, Look::kAboutBadge, 272, 360, 126, 17},
    {kSprites, "guide button", Kind::kCells, Look::kGuideButton, 257, 364, 13, 13, 2, 0, 24},
    {kSprites, "master alarm rows", Kind::kCells, Look::kMasterRows, 2, 398, 131, 21, 5, 0, 23},

    // 5200: backgrounds.
    {kPanel, "panel", Kind::kBackground, Look::kPanel, 0, 0, 399, 369},
    {kPanel, "polar grid", Kind::kPart, Look::kPolarGrid, kScopeX, kScopeY, kScopeSize, kScopeSize},
    {kPanel, "mid bar colour", Kind::kColour, Look::kNone, 380, 383, 1, 1, 1, 0, 0, -1, -1, chips::kMidBar},
    {kPanel, "side bar colour", Kind::kColour, Look::kNone, 380, 398, 1, 1, 1, 0, 0, -1, -1, chips::kSideBar},
    {kPanel, "ratio bar colour", Kind::kColour, Look::kNone, 380, 412, 1, 1, 1, 0, 0, -1, -1,
     chips::kRatioBar},
    {kPanel, "colour palette", Kind::kBackground, Look::kSparePalette, 285, 409, 76, 9},
    {kPanel, "anti-phase cells", Kind::kCells, Look::kGroupCells, 94, 421, 72, 9, 5, 0, 10},
    {kPanel, "header", Kind::kBackground, Look::kHeader, 0, 497, 399, 24},

    // 5913: meters.
    {kMeterScales, "balance left colours", Kind::kColour, Look::kNone, 0, 5, 1, 1, 6, 4, 0, -1, -1,
     chips::kBalanceLeft},
    {kMeterScales, "balance centre colours", Kind::kColour, Look::kNone, 0, 12, 1, 1, 6, 4, 0, -1, -1,
     chips::kBalanceCentre},
    {kMeterScales, "balance right colours", Kind::kColour, Look::kNone, 0, 19, 1, 1, 6, 4, 0, -1, -1,
     chips::kBalanceRight},
    {kMeterScales, "correlation scale", Kind::kScale, Look::kScale, 0, 26, 117, 50},
    {kMeterScales, "balance track", Kind::kBackground, Look::kBalanceTrack, 3, 86, 189, 6},
    {kMeterScales, "correlation track", Kind::kBackground, Look::kCorrelationTrack, 233, 87, 117, 6},

    // Whole pictures.
    {kAbout, "about picture", Kind::kBackground, Look::kAboutPicture, 0, 0, 285, 205},
    {kErrorInfo, "information panel", Kind::kBackground, Look::kErrorInfo, 0, 0, 260, 100},
    {kErrorInfo, "information text", Kind::kTextBackground, Look::kNone, 8, 20, 244, 76, 1, 0, 0, -1, -1,
     chips::kErrorPaper},
    {kErrorAlert, "alert panel", Kind::kBackground, Look::kErrorAlert, 0, 0, 260, 100},
    {kErrorAlert, "alert text", Kind::kTextBackground, Look::kNone, 8, 20, 244, 76, 1, 0, 0, -1, -1,
     chips::kErrorPaper},
};

// The region of that name; a name the table lacks stops the build where the lookup is constant.
constexpr const Region& RegionNamed(std::string_view name) {
  for (const Region& region : kRegions)
    if (name == region.name) return region;
  throw "no region of that name";
}

// Names are unique, so a lookup by name cannot find the wrong one of two.
constexpr bool RegionNamesAreUnique() {
  for (const Region& a : kRegions)
    for (const Region& b : kRegions)
      if (&a != &b && std::string_view(a.name) == b.name) return false;
  return true;
}
static_assert(RegionNamesAreUnique());

}  // namespace bitmaps
