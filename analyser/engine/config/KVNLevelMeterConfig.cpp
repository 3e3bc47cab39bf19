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

int ColorSlot(int index) { return index >= 0 && index < Config::kColorCount ? index : 0; }

}  // namespace

KVNLevelMeterConfig::KVNLevelMeterConfig(PluginServices* services) : MessagePublisher(services) {
  for (int type = 0; type < kMeterTypeCount; ++type) mMeterConfigs[type] = MeterConfig::Defaults(type);
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
