#pragma once

#include <string>

#include "framework/core/VstPluginMetaClass.h"

// The description the framework's unit tests run with (the process-wide one comes from here).
class UnitTestMetaClass : public ZEBPluginMetaClass {
 public:
  UnitTestMetaClass();
  PluginCoreInterface* CreatePluginCore(PluginPlatform*, IOConfig) override { return nullptr; }
  std::string GetProductName() const override { return "Unit Product"; }
  std::string GetName() const override { return "Unit Product"; }
  std::string GetVersion() const override { return "9.9"; }
  std::string GetCopyright() const override { return "Quillmore"; }
  void GetIOConfigs(IOConfigList& list) const override { list.emplace_back(2, 2); }
  std::string GetDefaultPrograms() const override { return defaultPrograms; }
  bool StoresProgramSettings() const override { return true; }
  std::int32_t GetNumberOfPrograms() const override { return 2; }
  std::string GetParameterDisplayName(IOConfig, std::int32_t) const override { return "p"; }

  std::string defaultPrograms;
};

// Parameter ids of the unit test description.
constexpr std::int32_t kToggleId = 0x746F676C;  // 'togl', kind 0
constexpr std::int32_t kLevelId = 0x6C65766C;   // 'levl', kind 4, -60..12, label dB
constexpr std::int32_t kFreqId = 0x66726571;    // 'freq', kind 6, 20..20000
constexpr std::int32_t kModeId = 0x6D6F6465;    // 'mode', kind 1, 0..2, three named values
