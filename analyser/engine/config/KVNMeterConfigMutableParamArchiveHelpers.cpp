#include "analyser/engine/config/KVNMeterConfigMutableParamArchiveHelpers.h"

#include "framework/archive/Archive.h"

void KVNKSysMeterConfigMutableParamArchiveHelper::Save(Serialization::Archive& archive) {
  archive.WriteBool("peakHold", mConfig->mPeakHold);
  archive.WriteFloat("peakHoldTime", mConfig->mPeakHoldTime);
  archive.WriteBool("rmsHold", mConfig->mRmsHold);
  archive.WriteFloat("rmsHoldTime", mConfig->mRmsHoldTime);
}

void KVNKSysMeterConfigMutableParamArchiveHelper::Load(Serialization::Archive& archive) {
  using Config = KVNLevelMeterConfig::MeterConfig;
  Config::ReadKey(archive, "peakHold", mConfig->mPeakHold);
  Config::ReadKey(archive, "peakHoldTime", mConfig->mPeakHoldTime);
  Config::ReadKey(archive, "rmsHold", mConfig->mRmsHold);
  Config::ReadKey(archive, "rmsHoldTime", mConfig->mRmsHoldTime);
}
