#include "analyser/engine/config/KVNLevelMeterConfig.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analyser/engine/config/KVNMeterConfigMutableParamArchiveHelpers.h"
#include "framework/archive/Archive.h"

namespace {

using Config = KVNLevelMeterConfig::MeterConfig;
using Color = ZEBCanvas::SerializableColorSpec;

constexpr const char* kDisplayNames[KVNLevelMeterConfig::kMeterTypeCount] = {
    "Log", "Linear", "K-20/RMS", "K-14/RMS", "K-12/RMS", "Digital PPM"};
constexpr const char* kArchiveNames[KVNLevelMeterConfig::kMeterTypeCount] = {
    "mtrCustom", "mtrCustomLin", "mtrK20_RMS", "mtrK14_RMS", "mtrK12_RMS", "mtrBBCPPM"};

const Color kGreen{0, 0xFFFF, 0};
const Color kYellow{0xFFFF, 0xFFFF, 0};
const Color kRed{0xFFFF, 0, 0};
const Color kCyan{0, 0xFFFF, 0xFFFF};
const Color kWhite{0xFFFF, 0xFFFF, 0xFFFF};
const Color kPpmBlue{0x4444, 0x8888, 0xFFFF};

void SetColors(Config& c, const Color& normal, const Color& caution, const Color& warning, const Color& over,
               const Color& sub) {
  c.mColors = {normal, caution, warning, over, sub, sub};
}

Config CustomDefaults() {
  Config c;
  c.mPeakIsMain = true;
  c.mIntegratedMeters = false;
  c.mZeroRef = 0.0f;
  c.mCautionLevel = {-12.0f, -12.0f};
  c.mWarningLevel = {-6.0f, -6.0f};
  c.mMaxLevel = 6.0f;
  c.mMinLevel = -74.0f;
  c.mLinStart = -20.0f;
  c.mWeighting = 0;
  c.mPeakRiseTime = 0.0f;
  c.mPeakFallTime = 40.0f;
  c.mPeakHold = true;
  c.mPeakHoldTime = 3.0f;
  c.mPeakHoldFallTime = 10.0f;
  c.mEnableOverIndicator = true;
  c.mPeakRMSParity = false;
  c.mDeceleration = 0.0f;
  c.mRmsWindow = 0.05f;
  c.mRmsRiseTime = 0.15f;
  c.mRmsFallTime = 40.0f;
  c.mRmsHold = true;
  c.mRmsHoldTime = 3.0f;
  c.mRmsHoldFallTime = 10.0f;
  c.mPeakLinearFall = true;
  c.mRmsLinearFall = true;
  c.mPeakHoldLinearFall = false;
  c.mRmsHoldLinearFall = false;
  c.mLp20k = false;
  c.mShowPeak = true;
  c.mShowRMS = true;
  SetColors(c, kGreen, kYellow, kRed, kRed, kCyan);
  return c;
}

Config KSystemDefaults(float zeroRef) {
  Config c;
  c.mPeakIsMain = false;
  c.mIntegratedMeters = true;
  c.mZeroRef = zeroRef;
  c.mCautionLevel = {0.0f, 0.0f};
  c.mWarningLevel = {4.0f, 4.0f};
  c.mMaxLevel = 0.0f;
  c.mMinLevel = -100.0f;
  c.mLinStart = -20.0f;
  c.mWeighting = 0;
  c.mPeakRiseTime = 0.0f;
  c.mPeakFallTime = 3.0f;
  c.mPeakHold = true;
  c.mPeakHoldTime = 10.0f;
  c.mPeakHoldFallTime = 10.0f;
  c.mEnableOverIndicator = true;
  c.mPeakRMSParity = true;
  c.mDeceleration = 0.06f;
  c.mRmsWindow = 0.05f;
  c.mRmsRiseTime = 0.6f;
  c.mRmsFallTime = 166.66667f;
  c.mRmsHold = true;
  c.mRmsHoldTime = 10.0f;
  c.mRmsHoldFallTime = 10.0f;
  c.mPeakLinearFall = true;
  c.mRmsLinearFall = false;
  c.mPeakHoldLinearFall = true;
  c.mRmsHoldLinearFall = false;
  c.mLp20k = true;
  c.mShowPeak = true;
  c.mShowRMS = true;
  SetColors(c, kGreen, kYellow, kRed, kRed, kWhite);
  return c;
}

Config BbcPpmDefaults() {
  Config c;
  c.mPeakIsMain = true;
  c.mIntegratedMeters = true;
  c.mZeroRef = 0.0f;
  c.mCautionLevel = {0.0f, 0.0f};
  c.mWarningLevel = {4.0f, 4.0f};
  c.mMaxLevel = 0.0f;
  c.mMinLevel = -70.0f;
  c.mLinStart = -20.0f;
  c.mWeighting = 0;
  c.mPeakRiseTime = 0.0f;
  c.mPeakFallTime = 11.7f;
  c.mPeakHold = true;
  c.mPeakHoldTime = 3.0f;
  c.mPeakHoldFallTime = 10.0f;
  c.mEnableOverIndicator = true;
  c.mPeakRMSParity = false;
  c.mDeceleration = 0.0f;
  c.mRmsWindow = 0.05f;
  c.mRmsRiseTime = 0.6f;
  c.mRmsFallTime = 0.6f;
  c.mRmsHold = false;
  c.mRmsHoldTime = 3.0f;
  c.mRmsHoldFallTime = 10.0f;
  c.mPeakLinearFall = true;
  c.mRmsLinearFall = true;
  c.mPeakHoldLinearFall = true;
  c.mRmsHoldLinearFall = true;
  c.mLp20k = false;
  c.mShowPeak = true;
  c.mShowRMS = true;
  SetColors(c, kPpmBlue, kPpmBlue, kPpmBlue, kRed, kWhite);
  return c;
}

int ColorSlot(int index) { return index >= 0 && index < Config::kColorCount ? index : 0; }

}  // namespace

KVNLevelMeterConfig::KVNLevelMeterConfig(PluginServices* services)
    : MessagePublisher(services), mMeterConfigs{CustomDefaults(),        CustomDefaults(),
                                                KSystemDefaults(-20.0f), KSystemDefaults(-14.0f),
                                                KSystemDefaults(-12.0f), BbcPpmDefaults()} {
  Publish(kMessageClass);
}

KVNLevelMeterConfig::~KVNLevelMeterConfig() = default;

const char* KVNLevelMeterConfig::GetMeterTypeName(int meterType) {
  return meterType >= 0 && meterType < kMeterTypeCount ? kDisplayNames[meterType] : "unknown";
}

const char* KVNLevelMeterConfig::GetMeterTypeArchiveName(int meterType) {
  return kArchiveNames[TypeIndex(meterType)];
}

void KVNLevelMeterConfig::Save(Serialization::Archive& archive) {
  archive.WriteString("mMeterType", GetMeterTypeArchiveName(mMeterType));
  mMeterConfigs[mtrCustom].SaveAsObject(archive, kArchiveNames[mtrCustom]);
  mMeterConfigs[mtrCustomLin].SaveAsObject(archive, kArchiveNames[mtrCustomLin]);
  for (int kSystem : {mtrK20_RMS, mtrK14_RMS, mtrK12_RMS})
    KVNKSysMeterConfigMutableParamArchiveHelper(mMeterConfigs[kSystem])
        .SaveAsObject(archive, kArchiveNames[kSystem]);
  KVNBBCPPMMeterConfigMutableParamArchiveHelper().SaveAsObject(archive, kArchiveNames[mtrBBCPPM]);
}

void KVNLevelMeterConfig::Load(Serialization::Archive& archive) {
  const std::string typeName = archive.ReadStringOrDefault("mMeterType", kArchiveNames[mtrCustom]);
  const auto found = std::find(std::begin(kArchiveNames), std::end(kArchiveNames), typeName);
  const int type =
      found == std::end(kArchiveNames) ? mtrCustom : static_cast<int>(found - std::begin(kArchiveNames));

  // Read into a copy, so a load that fails halfway leaves every type as it was. A missing
  // child, also a custom one, keeps that type's configuration.
  std::array<MeterConfig, kMeterTypeCount> configs = mMeterConfigs;
  for (int custom : {mtrCustom, mtrCustomLin})
    if (archive.HasEntry(kArchiveNames[custom])) configs[custom].LoadAsObject(archive, kArchiveNames[custom]);
  for (int kSystem : {mtrK20_RMS, mtrK14_RMS, mtrK12_RMS})
    if (archive.HasEntry(kArchiveNames[kSystem]))
      KVNKSysMeterConfigMutableParamArchiveHelper(configs[kSystem])
          .LoadAsObject(archive, kArchiveNames[kSystem]);
  if (archive.HasEntry(kArchiveNames[mtrBBCPPM]))
    KVNBBCPPMMeterConfigMutableParamArchiveHelper().LoadAsObject(archive, kArchiveNames[mtrBBCPPM]);

  mMeterType = type;
  mMeterConfigs = configs;
  Announce(kMsgMeterType, 0, true);
}

void KVNLevelMeterConfig::Announce(std::int32_t code, std::int32_t value, bool announce) {
  if (announce) SendMessage(kMessageClass, code, value);
}

void KVNLevelMeterConfig::SetFlag(bool MeterConfig::*field, bool on, std::int32_t code, bool announce) {
  Selected().*field = on;
  Announce(code, 0, announce);
}

void KVNLevelMeterConfig::SetClamped(float MeterConfig::*field, float value, float lo, float hi,
                                     std::int32_t code, bool announce) {
  if (std::isnan(value)) return;
  // The upper limit wins when the limits cross.
  Selected().*field = std::min(std::max(value, lo), hi);
  Announce(code, 0, announce);
}

void KVNLevelMeterConfig::SetMeterType(int meterType, bool announce) {
  mMeterType = meterType;
  Announce(kMsgMeterType, 0, announce);
}

void KVNLevelMeterConfig::SetShowPeak(bool on, bool announce) {
  SetFlag(&MeterConfig::mShowPeak, on, kMsgShowPeak, announce);
}
void KVNLevelMeterConfig::SetShowRMS(bool on, bool announce) {
  SetFlag(&MeterConfig::mShowRMS, on, kMsgShowRMS, announce);
}
void KVNLevelMeterConfig::SetPeakIsMain(bool on, bool announce) {
  SetFlag(&MeterConfig::mPeakIsMain, on, kMsgPeakIsMain, announce);
}
void KVNLevelMeterConfig::SetIntegratedMeters(bool on, bool announce) {
  SetFlag(&MeterConfig::mIntegratedMeters, on, kMsgIntegratedMeters, announce);
}
void KVNLevelMeterConfig::SetZeroRef(float dB, bool announce) {
  SetClamped(&MeterConfig::mZeroRef, dB, -40.0f, 0.0f, kMsgZeroRef, announce);
}

void KVNLevelMeterConfig::SetCautionLevel(int column, float dB, bool announce) {
  if (std::isnan(dB)) return;
  MeterConfig& c = Selected();
  const int col = Column(column);
  c.mCautionLevel[col] = std::min(std::max(dB, c.mMinLevel + 1.0f), c.mWarningLevel[col] - 1.0f);
  Announce(kMsgCautionLevel, col, announce);
}

void KVNLevelMeterConfig::SetWarningLevel(int column, float dB, bool announce) {
  if (std::isnan(dB)) return;
  MeterConfig& c = Selected();
  const int col = Column(column);
  c.mWarningLevel[col] = std::min(std::max(dB, c.mCautionLevel[col] + 1.0f), 50.0f);
  Announce(kMsgWarningLevel, col, announce);
}

void KVNLevelMeterConfig::SetMinLevel(float dB, bool announce) {
  SetClamped(&MeterConfig::mMinLevel, dB, -144.0f, -6.0f, kMsgMinLevel, announce);
}
void KVNLevelMeterConfig::SetMaxLevel(float dB, bool announce) {
  SetClamped(&MeterConfig::mMaxLevel, dB, 0.0f, 20.0f, kMsgMaxLevel, announce);
}
void KVNLevelMeterConfig::SetLinStart(float dB, bool announce) {
  SetClamped(&MeterConfig::mLinStart, dB, -144.0f, 40.0f, kMsgLinStart, announce);
}
void KVNLevelMeterConfig::SetWeighting(std::int32_t weighting, bool announce) {
  Selected().mWeighting = weighting;
  Announce(kMsgWeighting, 0, announce);
}
void KVNLevelMeterConfig::SetPeakRiseTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mPeakRiseTime, seconds, 0.0f, 1.0f, kMsgPeakRiseTime, announce);
}
void KVNLevelMeterConfig::SetPeakFallTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mPeakFallTime, seconds, 3.0f, 90.0f, kMsgPeakFallTime, announce);
}
void KVNLevelMeterConfig::SetPeakHold(bool on, bool announce) {
  SetFlag(&MeterConfig::mPeakHold, on, kMsgPeakHold, announce);
}
void KVNLevelMeterConfig::SetPeakHoldTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mPeakHoldTime, seconds, -1.0f, 20.0f, kMsgPeakHoldTime, announce);
}
void KVNLevelMeterConfig::SetPeakHoldFallTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mPeakHoldFallTime, seconds, 0.1f, 90.0f, kMsgPeakHoldFallTime, announce);
}
void KVNLevelMeterConfig::SetDeceleration(float value, bool announce) {
  SetClamped(&MeterConfig::mDeceleration, value, -1.0f, 1.0f, kMsgDeceleration, announce);
}
void KVNLevelMeterConfig::SetPeakRMSParity(bool on, bool announce) {
  SetFlag(&MeterConfig::mPeakRMSParity, on, kMsgPeakRMSParity, announce);
}
void KVNLevelMeterConfig::SetRmsWindow(float seconds, bool announce) {
  SetClamped(&MeterConfig::mRmsWindow, seconds, 0.01f, 1.0f, kMsgRmsWindow, announce);
}
void KVNLevelMeterConfig::SetRmsRiseTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mRmsRiseTime, seconds, 0.0f, 10.0f, kMsgRmsRiseTime, announce);
}
void KVNLevelMeterConfig::SetRmsFallTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mRmsFallTime, seconds, 0.1f, 90.0f, kMsgRmsFallTime, announce);
}
void KVNLevelMeterConfig::SetRmsHold(bool on, bool announce) {
  SetFlag(&MeterConfig::mRmsHold, on, kMsgRmsHold, announce);
}
void KVNLevelMeterConfig::SetRmsHoldTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mRmsHoldTime, seconds, -1.0f, 20.0f, kMsgRmsHoldTime, announce);
}
void KVNLevelMeterConfig::SetRmsHoldFallTime(float seconds, bool announce) {
  SetClamped(&MeterConfig::mRmsHoldFallTime, seconds, 0.1f, 90.0f, kMsgRmsHoldFallTime, announce);
}
void KVNLevelMeterConfig::SetLp20k(bool on, bool announce) {
  SetFlag(&MeterConfig::mLp20k, on, kMsgLp20k, announce);
}
void KVNLevelMeterConfig::SetOverIndicator(bool on, bool announce) {
  SetFlag(&MeterConfig::mEnableOverIndicator, on, kMsgOverIndicator, announce);
}

void KVNLevelMeterConfig::SetColor(int index, const ZEBCanvas::SerializableColorSpec& color, bool announce) {
  const int slot = ColorSlot(index);
  Color& target = Selected().mColors[slot];
  target.mRed = color.mRed;
  target.mGreen = color.mGreen;
  target.mBlue = color.mBlue;
  Announce(kMsgColor, slot, announce);
}

ZEBCanvas::SerializableColorSpec* KVNLevelMeterConfig::GetColor(int index) {
  return &Selected().mColors[ColorSlot(index)];
}
