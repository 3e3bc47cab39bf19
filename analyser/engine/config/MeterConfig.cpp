#include <cfloat>
#include <cmath>

#include "analyser/engine/config/KVNLevelMeterConfig.h"
#include "framework/archive/Archive.h"

namespace {

constexpr const char* kColorNames[KVNLevelMeterConfig::MeterConfig::kColorCount] = {
    "clrNormal", "clrCaution", "clrWarning", "clrOver", "clrSubLevel", "clrSubHold"};

}  // namespace

void KVNLevelMeterConfig::MeterConfig::Save(Serialization::Archive& archive) {
  archive.WriteBool("peakIsMain", mPeakIsMain);
  archive.WriteBool("integratedMeters", mIntegratedMeters);
  archive.WriteFloat("zeroRef", mZeroRef);
  archive.WriteFloat("cautionLevel_peak", mCautionLevel[0]);
  archive.WriteFloat("cautionLevel_rms", mCautionLevel[1]);
  archive.WriteFloat("warningLevel_peak", mWarningLevel[0]);
  archive.WriteFloat("warningLevel_rms", mWarningLevel[1]);
  archive.WriteFloat("maxLevel", mMaxLevel);
  archive.WriteFloat("minLevel", mMinLevel);
  archive.WriteFloat("linStart", mLinStart);
  archive.WriteInt("weighting", mWeighting);
  archive.WriteFloat("peakRiseTime", mPeakRiseTime);
  archive.WriteFloat("peakFallTime", mPeakFallTime);
  archive.WriteBool("peakHold", mPeakHold);
  archive.WriteFloat("peakHoldTime", mPeakHoldTime);
  archive.WriteFloat("peakHoldFallTime", mPeakHoldFallTime);
  archive.WriteBool("enableOverIndicator", mEnableOverIndicator);
  archive.WriteBool("peakRMSParity", mPeakRMSParity);
  archive.WriteFloat("deceleration", mDeceleration);
  archive.WriteFloat("rmsWindow", mRmsWindow);
  archive.WriteFloat("rmsRiseTime", mRmsRiseTime);
  archive.WriteFloat("rmsFallTime", mRmsFallTime);
  archive.WriteBool("rmsHold", mRmsHold);
  archive.WriteFloat("rmsHoldTime", mRmsHoldTime);
  archive.WriteFloat("rmsHoldFallTime", mRmsHoldFallTime);
  archive.WriteBool("peakLinearFall", mPeakLinearFall);
  archive.WriteBool("rmsLinearFall", mRmsLinearFall);
  archive.WriteBool("peakHoldLinearFall", mPeakHoldLinearFall);
  archive.WriteBool("rmsHoldLinearFall", mRmsHoldLinearFall);
  archive.WriteBool("lp20k", mLp20k);
  archive.WriteBool("showPeak", mShowPeak);
  archive.WriteBool("showRMS", mShowRMS);
  for (int i = 0; i < kColorCount; ++i) mColors[i].SaveAsObject(archive, kColorNames[i]);
}

void KVNLevelMeterConfig::MeterConfig::Load(Serialization::Archive& archive) {
  ReadKey(archive, "peakIsMain", mPeakIsMain);
  ReadKey(archive, "integratedMeters", mIntegratedMeters);
  ReadKey(archive, "zeroRef", mZeroRef);
  ReadKey(archive, "cautionLevel_peak", mCautionLevel[0]);
  ReadKey(archive, "cautionLevel_rms", mCautionLevel[1]);
  ReadKey(archive, "warningLevel_peak", mWarningLevel[0]);
  ReadKey(archive, "warningLevel_rms", mWarningLevel[1]);
  ReadKey(archive, "maxLevel", mMaxLevel);
  ReadKey(archive, "minLevel", mMinLevel);
  ReadKey(archive, "linStart", mLinStart);
  ReadKey(archive, "weighting", mWeighting);
  ReadKey(archive, "peakRiseTime", mPeakRiseTime);
  ReadKey(archive, "peakFallTime", mPeakFallTime);
  ReadKey(archive, "peakHold", mPeakHold);
  ReadKey(archive, "peakHoldTime", mPeakHoldTime);
  ReadKey(archive, "peakHoldFallTime", mPeakHoldFallTime);
  ReadKey(archive, "enableOverIndicator", mEnableOverIndicator);
  ReadKey(archive, "peakRMSParity", mPeakRMSParity);
  ReadKey(archive, "deceleration", mDeceleration);
  ReadKey(archive, "rmsWindow", mRmsWindow);
  ReadKey(archive, "rmsRiseTime", mRmsRiseTime);
  ReadKey(archive, "rmsFallTime", mRmsFallTime);
  ReadKey(archive, "rmsHold", mRmsHold);
  ReadKey(archive, "rmsHoldTime", mRmsHoldTime);
  ReadKey(archive, "rmsHoldFallTime", mRmsHoldFallTime);
  ReadKey(archive, "peakLinearFall", mPeakLinearFall);
  ReadKey(archive, "rmsLinearFall", mRmsLinearFall);
  ReadKey(archive, "peakHoldLinearFall", mPeakHoldLinearFall);
  ReadKey(archive, "rmsHoldLinearFall", mRmsHoldLinearFall);
  ReadKey(archive, "lp20k", mLp20k);
  ReadKey(archive, "showPeak", mShowPeak);
  ReadKey(archive, "showRMS", mShowRMS);
  // A missing colour keeps its present value rather than failing the load.
  for (int i = 0; i < kColorCount; ++i)
    if (archive.HasEntry(kColorNames[i])) mColors[i].LoadAsObject(archive, kColorNames[i]);
}

void KVNLevelMeterConfig::MeterConfig::ReadKey(Serialization::Archive& archive, std::string_view key,
                                               bool& field) {
  field = archive.ReadBoolOrDefault(key, field);
}

void KVNLevelMeterConfig::MeterConfig::ReadKey(Serialization::Archive& archive, std::string_view key,
                                               float& field) {
  // Damaged text may hold NaN or a number beyond float; converting those is undefined or poisons
  // every level computed from them.
  const double value = archive.ReadFloatOrDefault(key, field);
  if (std::isfinite(value) && std::fabs(value) <= FLT_MAX) field = static_cast<float>(value);
}

void KVNLevelMeterConfig::MeterConfig::ReadKey(Serialization::Archive& archive, std::string_view key,
                                               std::int32_t& field) {
  field = archive.ReadIntOrDefault(key, field);
}
