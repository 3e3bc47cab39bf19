#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/PluginMetaClass.h"
#include "framework/core/VstPluginMetaClass.h"

class ZEBKorvaneMetaClass;

// A description extension that the product's description runs when it is built.
class KorvaneSubMetaClass {
 public:
  virtual ~KorvaneSubMetaClass() = default;
  virtual std::int32_t Query() const = 0;
  virtual void Attach(ZEBKorvaneMetaClass& description) = 0;
  virtual std::string GetName() const = 0;
};

// The one extension the analyser carries; it does nothing.
class TestSubMetaClass : public KorvaneSubMetaClass {
 public:
  std::int32_t Query() const override { return 1000; }
  void Attach(ZEBKorvaneMetaClass&) override {}
  std::string GetName() const override { return {}; }
};

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
  std::int32_t GetNumberOfPrograms() const override { return 1; }
  std::string GetParameterDisplayName(IOConfig ioConfig, std::int32_t index) const override;
  std::string GetPrefsName() const override;

 private:
  struct SubMetaClassList {
    TestSubMetaClass test;
    std::vector<KorvaneSubMetaClass*> entries;
  };
  std::unique_ptr<SubMetaClassList> mSubMetaClasses;
};

class ZEBVstKorvaneMetaClass : public VstPluginMetaClassBase<ZEBKorvaneMetaClass> {
 public:
  std::int32_t GetPlugCategory() const override;
  std::int32_t GetUniqueID() const override;
};

namespace KorvaneProduct {
extern const char* const kDisplayName;
extern const char* const kVersion;
// The maker's copyright notice; free of the characters an archive cannot carry.
extern const char* const kCopyright;
constexpr std::int32_t kResetParameterId = 0x72657374;  // 'rest'
}  // namespace KorvaneProduct
