#include <array>
#include <cfloat>
#include <cmath>

#include "analyser/engine/config/KVNLevelMeterConfig.h"
#include "framework/archive/Archive.h"

namespace {

using Config = KVNLevelMeterConfig::MeterConfig;
using Pair = std::array<float, 2>;

// Where a row's value lives in a configuration: a flag, a number, one column of a pair or an integer.
struct Member {
  bool Config::*flag = nullptr;
  float Config::*number = nullptr;
  Pair Config::*pair = nullptr;
  int column = 0;
  std::int32_t Config::*integer = nullptr;
};

constexpr Member Flag(bool Config::*field) { return {field, nullptr, nullptr, 0, nullptr}; }
constexpr Member Number(float Config::*field) { return {nullptr, field, nullptr, 0, nullptr}; }
constexpr Member Column(Pair Config::*field, int column) {
  return {nullptr, nullptr, field, column, nullptr};
}
constexpr Member Integer(std::int32_t Config::*field) { return {nullptr, nullptr, nullptr, 0, field}; }

struct Row {
  const char* key = "";
  Member member{};
  // Kept in the archive of the K-System types too, whose other fields are fixed.
  bool kSystemKeeps = false;
  // Per meter type: Log, Linear, K-20, K-14, K-12, Digital PPM (flags 1 or 0).
  std::array<double, KVNLevelMeterConfig::kMeterTypeCount> defaults{};
};

using C = Config;
// The K-System types' RMS fall time.
constexpr double kKFall = 166.66667;

// One row per field, in archive order.
// clang-format off
constexpr Row kRows[] = {
  // key                  member                          K-Sys    Log   Lin    K-20    K-14    K-12   PPM
  {"peakIsMain",          Flag(&C::mPeakIsMain),          false, {   1,    1,      0,      0,      0,    1}},
  {"integratedMeters",    Flag(&C::mIntegratedMeters),    false, {   0,    0,      1,      1,      1,    1}},
  {"zeroRef",             Number(&C::mZeroRef),           false, {   0,    0,    -20,    -14,    -12,    0}},
  {"cautionLevel_peak",   Column(&C::mCautionLevel, 0),   false, { -12,  -12,      0,      0,      0,    0}},
  {"cautionLevel_rms",    Column(&C::mCautionLevel, 1),   false, { -12,  -12,      0,      0,      0,    0}},
  {"warningLevel_peak",   Column(&C::mWarningLevel, 0),   false, {  -6,   -6,      4,      4,      4,    4}},
  {"warningLevel_rms",    Column(&C::mWarningLevel, 1),   false, {  -6,   -6,      4,      4,      4,    4}},
  {"maxLevel",            Number(&C::mMaxLevel),          false, {   6,    6,      0,      0,      0,    0}},
  {"minLevel",            Number(&C::mMinLevel),          false, { -74,  -74,   -100,   -100,   -100,  -70}},
  {"linStart",            Number(&C::mLinStart),          false, { -20,  -20,    -20,    -20,    -20,  -20}},
  {"weighting",           Integer(&C::mWeighting),        false, {   0,    0,      0,      0,      0,    0}},
  {"peakRiseTime",        Number(&C::mPeakRiseTime),      false, {   0,    0,      0,      0,      0,    0}},
  {"peakFallTime",        Number(&C::mPeakFallTime),      false, {  40,   40,      3,      3,      3, 11.7}},
  {"peakHold",            Flag(&C::mPeakHold),            true,  {   1,    1,      1,      1,      1,    1}},
  {"peakHoldTime",        Number(&C::mPeakHoldTime),      true,  {   3,    3,     10,     10,     10,    3}},
  {"peakHoldFallTime",    Number(&C::mPeakHoldFallTime),  false, {  10,   10,     10,     10,     10,   10}},
  {"enableOverIndicator", Flag(&C::mEnableOverIndicator), false, {   1,    1,      1,      1,      1,    1}},
  {"peakRMSParity",       Flag(&C::mPeakRMSParity),       false, {   0,    0,      1,      1,      1,    0}},
  {"deceleration",        Number(&C::mDeceleration),      false, {   0,    0,   0.06,   0.06,   0.06,    0}},
  {"rmsWindow",           Number(&C::mRmsWindow),         false, {0.05, 0.05,   0.05,   0.05,   0.05, 0.05}},
  {"rmsRiseTime",         Number(&C::mRmsRiseTime),       false, {0.15, 0.15,    0.6,    0.6,    0.6,  0.6}},
  {"rmsFallTime",         Number(&C::mRmsFallTime),       false, {  40,   40, kKFall, kKFall, kKFall,  0.6}},
  {"rmsHold",             Flag(&C::mRmsHold),             true,  {   1,    1,      1,      1,      1,    0}},
  {"rmsHoldTime",         Number(&C::mRmsHoldTime),       true,  {   3,    3,     10,     10,     10,    3}},
  {"rmsHoldFallTime",     Number(&C::mRmsHoldFallTime),   false, {  10,   10,     10,     10,     10,   10}},
  {"peakLinearFall",      Flag(&C::mPeakLinearFall),      false, {   1,    1,      1,      1,      1,    1}},
  {"rmsLinearFall",       Flag(&C::mRmsLinearFall),       false, {   1,    1,      0,      0,      0,    1}},
  {"peakHoldLinearFall",  Flag(&C::mPeakHoldLinearFall),  false, {   0,    0,      1,      1,      1,    1}},
  {"rmsHoldLinearFall",   Flag(&C::mRmsHoldLinearFall),   false, {   0,    0,      0,      0,      0,    1}},
  {"lp20k",               Flag(&C::mLp20k),               false, {   0,    0,      1,      1,      1,    0}},
  {"showPeak",            Flag(&C::mShowPeak),            false, {   1,    1,      1,      1,      1,    1}},
  {"showRMS",             Flag(&C::mShowRMS),             false, {   1,    1,      1,      1,      1,    1}},
};
// clang-format on

constexpr const char* kColorNames[Config::kColorCount] = {"clrNormal", "clrCaution",  "clrWarning",
                                                          "clrOver",   "clrSubLevel", "clrSubHold"};

struct Rgb {
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
};
constexpr Rgb kGreen{0, 0xFFFF, 0};
constexpr Rgb kYellow{0xFFFF, 0xFFFF, 0};
constexpr Rgb kRed{0xFFFF, 0, 0};
constexpr Rgb kCyan{0, 0xFFFF, 0xFFFF};
constexpr Rgb kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr Rgb kPpmBlue{0x4444, 0x8888, 0xFFFF};
using Palette = std::array<Rgb, Config::kColorCount>;
// Normal, caution, warning, over, sub-level, sub-hold per meter type.
constexpr Palette kCustomColors{kGreen, kYellow, kRed, kRed, kCyan, kCyan};
constexpr Palette kKSystemColors{kGreen, kYellow, kRed, kRed, kWhite, kWhite};
constexpr Palette kPpmColors{kPpmBlue, kPpmBlue, kPpmBlue, kRed, kWhite, kWhite};
constexpr const Palette* kDefaultColors[KVNLevelMeterConfig::kMeterTypeCount] = {
    &kCustomColors, &kCustomColors, &kKSystemColors, &kKSystemColors, &kKSystemColors, &kPpmColors};

float& NumberOf(Config& config, const Member& member) {
  return member.pair ? (config.*member.pair)[member.column] : config.*member.number;
}

bool Holds(Config::Fields fields, const Row& row) { return fields == Config::kAllFields || row.kSystemKeeps; }

// A missing key, or a number no float holds, keeps the field's present value: damaged text may hold
// NaN or a number beyond float, and converting those is undefined or poisons every level computed
// from them.
void ReadNumber(Serialization::Archive& archive, const char* key, float& field) {
  const double value = archive.ReadFloatOrDefault(key, field);
  if (std::isfinite(value) && std::fabs(value) <= FLT_MAX) field = static_cast<float>(value);
}

}  // namespace

KVNLevelMeterConfig::MeterConfig KVNLevelMeterConfig::MeterConfig::Defaults(int meterType) {
  const int type = TypeIndex(meterType);
  Config config;
  for (const Row& row : kRows) {
    const double value = row.defaults[type];
    const Member& m = row.member;
    if (m.flag) {
      config.*m.flag = value != 0.0;
    } else if (m.integer) {
      config.*m.integer = static_cast<std::int32_t>(value);
    } else {
      NumberOf(config, m) = static_cast<float>(value);
    }
  }
  for (int i = 0; i < kColorCount; ++i) {
    const Rgb& rgb = (*kDefaultColors[type])[i];
    config.mColors[i] = ZEBCanvas::SerializableColorSpec(rgb.red, rgb.green, rgb.blue);
  }
  return config;
}

void KVNLevelMeterConfig::MeterConfig::SaveFields(Serialization::Archive& archive, Fields fields) {
  for (const Row& row : kRows) {
    if (!Holds(fields, row)) continue;
    const Member& m = row.member;
    if (m.flag) {
      archive.WriteBool(row.key, this->*m.flag);
    } else if (m.integer) {
      archive.WriteInt(row.key, this->*m.integer);
    } else {
      archive.WriteFloat(row.key, NumberOf(*this, m));
    }
  }
}

void KVNLevelMeterConfig::MeterConfig::LoadFields(Serialization::Archive& archive, Fields fields) {
  for (const Row& row : kRows) {
    if (!Holds(fields, row)) continue;
    const Member& m = row.member;
    if (m.flag) {
      this->*m.flag = archive.ReadBoolOrDefault(row.key, this->*m.flag);
    } else if (m.integer) {
      this->*m.integer = archive.ReadIntOrDefault(row.key, this->*m.integer);
    } else {
      ReadNumber(archive, row.key, NumberOf(*this, m));
    }
  }
}

void KVNLevelMeterConfig::MeterConfig::Save(Serialization::Archive& archive) {
  SaveFields(archive, kAllFields);
  for (int i = 0; i < kColorCount; ++i) mColors[i].SaveAsObject(archive, kColorNames[i]);
}

void KVNLevelMeterConfig::MeterConfig::Load(Serialization::Archive& archive) {
  LoadFields(archive, kAllFields);
  // A missing colour keeps its present value rather than failing the load.
  for (int i = 0; i < kColorCount; ++i)
    if (archive.HasEntry(kColorNames[i])) mColors[i].LoadAsObject(archive, kColorNames[i]);
}
