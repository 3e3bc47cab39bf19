#pragma once

#include <string>

#include "framework/archive/Serializable.h"
#include "framework/core/PluginMetaClass.h"

// The framework maker's copyright notice, carried in every settings archive's type.
extern const char* const kFrameworkCopyright;
// "ZEB Plugin Settings (" + kFrameworkCopyright + ")"
std::string SettingsArchiveType();

// The first object of every settings archive: who wrote it, for which configuration.
class ZEBPluginSettingsMetaData : public Serialization::Serializable {
 public:
  static constexpr const char* kObjectName = "Settings Metadata";

  // For loading: empty texts and 0/0 until read.
  ZEBPluginSettingsMetaData() = default;
  // For saving: the description's texts and the core's configuration.
  ZEBPluginSettingsMetaData(const ZEBPluginMetaClass& description, IOConfig ioConfig);

  std::string_view GetTypeId() const override { return "PluginCore_SettingsMetaData"; }
  void Save(Serialization::Archive& archive) override;
  // Every attribute must be there: a text that lacks one is not valid settings.
  void Load(Serialization::Archive& archive) override;

  const char* GetSignature() const { return mSignature.c_str(); }
  const char* GetName() const { return mName.c_str(); }
  const char* GetVersion() const { return mVersion.c_str(); }
  const char* GetCopyright() const { return mCopyright.c_str(); }
  const char* GetManufacturer() const { return mManufacturer.c_str(); }
  IOConfig GetIOConfig() const { return mIOConfig; }

 private:
  std::string mSignature;
  std::string mName;
  std::string mVersion;
  std::string mCopyright;
  std::string mManufacturer;
  IOConfig mIOConfig{0, 0};
};
