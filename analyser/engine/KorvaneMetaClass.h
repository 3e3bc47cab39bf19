#pragma once

#include <string>

#include "framework/core/PluginMetaClass.h"
#include "framework/core/VstPluginMetaClass.h"

// The analyser's description: its names, its one configuration (2 in, 2 out), its one parameter
// and its built-in default program.
class ZEBKorvaneMetaClass : public ZEBPluginMetaClass {
 public:
  ZEBKorvaneMetaClass();

  PluginCoreInterface* CreatePluginCore(PluginPlatform* platform, IOConfig ioConfig) override;
  std::string GetProductName() const override;
  std::string GetName() const override;
  std::string GetVersion() const override;
  std::string GetCopyright() const override;
  void GetIOConfigs(IOConfigList& list) const override;
  std::string GetDefaultPrograms() const override;
  int32_t GetNumberOfPrograms() const override { return 1; }
  std::string GetParameterDisplayName(IOConfig ioConfig, int32_t index) const override;
  std::string GetPrefsName() const override;
};

class ZEBVstKorvaneMetaClass : public VstPluginMetaClassBase<ZEBKorvaneMetaClass> {
 public:
  int32_t GetPlugCategory() const override;
  int32_t GetUniqueID() const override;
};

namespace KorvaneProduct {
extern const char* const kDisplayName;
extern const char* const kVersion;
// The maker's copyright notice; free of the characters an archive cannot carry.
extern const char* const kCopyright;
constexpr int32_t kResetParameterId = 0x72657374;  // 'rest'
}  // namespace KorvaneProduct
