#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/ParameterDescriptor.h"

class PluginCoreInterface;
class PluginPlatform;

using IOConfig = std::pair<std::int32_t, std::int32_t>;  // (inputs, outputs)
using IOConfigList = std::vector<IOConfig>;

// The process-wide description of the product: names, configurations, programs, parameters;
// it creates the product's plug-in cores.
class ZEBPluginMetaClass {
 public:
  using ParameterFilter = std::function<bool(const ParameterDescriptor&)>;

  explicit ZEBPluginMetaClass(ParameterFilter filter = nullptr);
  virtual ~ZEBPluginMetaClass();
  ZEBPluginMetaClass(const ZEBPluginMetaClass&) = delete;
  ZEBPluginMetaClass& operator=(const ZEBPluginMetaClass&) = delete;

  virtual PluginCoreInterface* CreatePluginCore(PluginPlatform* platform, IOConfig ioConfig) = 0;
  virtual std::string GetProductName() const = 0;
  virtual std::string GetName() const = 0;
  virtual std::string GetVersion() const = 0;
  virtual std::string GetCopyright() const = 0;
  virtual std::string GetVendor() const;
  virtual void GetIOConfigs(IOConfigList& list) const = 0;
  virtual bool SupportsSidechain() const;
  virtual std::string GetDefaultPrograms() const = 0;
  virtual bool StoresProgramSettings() const = 0;
  virtual void GetFactoryPrograms(std::vector<std::string>& names) const;
  virtual std::int32_t GetNumberOfPrograms() const = 0;
  virtual std::int32_t GetNumberOfParameters() const;
  virtual std::string GetParameterDisplayName(IOConfig ioConfig, std::int32_t index) const = 0;
  virtual std::string GetParameterLabel(std::int32_t index) const;
  virtual std::string GetParameterDisplay(std::int32_t index, float value, std::int32_t width) const;
  virtual std::string GetParameterDisplayWithLabel(std::int32_t index, float value, std::int32_t width) const;
  virtual const ParameterDescriptor* GetParameterDescriptor(std::int32_t index) const;
  virtual const ParameterDescriptor* FindParameterDescriptor(std::int32_t id) const;
  virtual std::int32_t GetParameterIndex(std::int32_t id) const;
  virtual bool ParametersRepresentCompleteState() const;
  virtual bool GetExtraItems(std::vector<std::string>& list) const;
  virtual std::string GetPrefsName() const;
  virtual std::string Describe() const;
  virtual void AddParameter(const ParameterDescriptor& descriptor);

 protected:
  // Appended to the preferences name after a "-" when not empty.
  virtual std::string GetPrefsSuffix() const { return {}; }

 private:
  std::vector<ParameterDescriptor> mParameters;
  ParameterFilter mFilter;
};

// The process-wide description: created by the first acquire (through the product's
// CreateVstKorvaneMetaClass), deleted by the last release. Safe from any thread.
ZEBPluginMetaClass* AcquirePluginMetaClass();
ZEBPluginMetaClass* GetPluginMetaClass();
void ReleasePluginMetaClass();

// Defined by the product at link time.
ZEBPluginMetaClass* CreateVstKorvaneMetaClass();

// One reference to the description for the holder's lifetime.
class PluginMetaClassRef {
 public:
  PluginMetaClassRef() : mMetaClass(AcquirePluginMetaClass()) {}
  ~PluginMetaClassRef() {
    if (mMetaClass) ReleasePluginMetaClass();
  }
  PluginMetaClassRef(const PluginMetaClassRef&) = delete;
  PluginMetaClassRef& operator=(const PluginMetaClassRef&) = delete;

  ZEBPluginMetaClass* get() const { return mMetaClass; }
  ZEBPluginMetaClass* operator->() const { return mMetaClass; }
  explicit operator bool() const { return mMetaClass != nullptr; }

 private:
  ZEBPluginMetaClass* mMetaClass = nullptr;
};
