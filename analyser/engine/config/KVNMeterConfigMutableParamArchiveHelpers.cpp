#include "analyser/engine/config/KVNMeterConfigMutableParamArchiveHelpers.h"

void KVNKSysMeterConfigMutableParamArchiveHelper::Save(Serialization::Archive& archive) {
  mConfig->SaveFields(archive, KVNLevelMeterConfig::MeterConfig::kKSystemFields);
}

void KVNKSysMeterConfigMutableParamArchiveHelper::Load(Serialization::Archive& archive) {
  mConfig->LoadFields(archive, KVNLevelMeterConfig::MeterConfig::kKSystemFields);
}
