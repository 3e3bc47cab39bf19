#pragma once

#include <cstdint>
#include <string>

#include "framework/core/PluginMetaClass.h"

// What a VST 2 host needs to know beyond the product description.
class VSTPluginMetaClassInterface {
 public:
  virtual ~VSTPluginMetaClassInterface() = default;
  virtual std::int32_t GetPlugCategory() const = 0;
  virtual std::int32_t GetUniqueID() const = 0;
};

// Joins a product description with the VST interface.
template <class ProductMetaClass>
class VstPluginMetaClassBase : public ProductMetaClass, public VSTPluginMetaClassInterface {
 public:
  using ProductMetaClass::ProductMetaClass;

  bool SupportsSidechain() const override { return false; }
  bool StoresProgramSettings() const override { return true; }

  std::string Describe() const override {
    const std::uint32_t id = static_cast<std::uint32_t>(GetUniqueID());
    std::string idText;
    for (int shift = 0; shift < 32; shift += 8) idText += static_cast<char>((id >> shift) & 0xFF);
    return ProductMetaClass::Describe() + ";Build Type = " + "ZEB_RELEASE_BUILD" + ";VST ID = '" + idText +
           "'";
  }
};
