#pragma once

#include "analyser/engine/config/KVNLevelMeterConfig.h"

// Archive the parameters a user may change in the fixed meter types: the K-System types keep
// their two hold flags and hold times, the BBC PPM keeps nothing.
class KVNKSysMeterConfigMutableParamArchiveHelper : public Serialization::Serializable {
 public:
  explicit KVNKSysMeterConfigMutableParamArchiveHelper(KVNLevelMeterConfig::MeterConfig& config)
      : mConfig(&config) {}

  std::string_view GetTypeId() const override { return "QMR_KVNKSysMeterConfigMutableParamArchiveHelper"; }
  void Save(Serialization::Archive& archive) override;
  void Load(Serialization::Archive& archive) override;

 private:
  KVNLevelMeterConfig::MeterConfig* mConfig{nullptr};
};

class KVNBBCPPMMeterConfigMutableParamArchiveHelper : public Serialization::Serializable {
 public:
  std::string_view GetTypeId() const override { return "QMR_KVNBBCPPMMeterConfigMutableParamArchiveHelper"; }
  void Save(Serialization::Archive&) override {}
  void Load(Serialization::Archive&) override {}
};
