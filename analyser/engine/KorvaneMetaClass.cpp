#include "analyser/engine/KorvaneMetaClass.h"

#include <memory>

#include "analyser/engine/Korvane.h"
#include "framework/core/SettingsMetaData.h"
#include "framework/services/FourCC.h"
#include "vst2/Vst2Interface.h"

namespace KorvaneProduct {
const char* const kDisplayName = "KVN Stereo Analyzer (OrbA)";
const char* const kVersion = "1.2x0";
const char* const kCopyright = kFrameworkCopyright;
}  // namespace KorvaneProduct

using namespace KorvaneProduct;

ZEBKorvaneMetaClass::ZEBKorvaneMetaClass() {
  ParameterDescriptor reset;
  reset.mId = kResetParameterId;
  reset.mKind = 1;
  reset.mMinimum = 0.0f;
  reset.mMaximum = 1.0f;
  reset.mDefault = 0.0f;
  reset.mFifthSetting = 1.0f;
  reset.mAutomatable = true;
  reset.mFlags = ParameterDescriptor::kEditorOnly;
  reset.mInternalName = "prmReset";
  reset.mValueNames = {"/", "/"};
  AddParameter(reset);
  mSubMetaClasses = std::make_unique<SubMetaClassList>();
  mSubMetaClasses->entries.push_back(&mSubMetaClasses->test);
  for (KorvaneSubMetaClass* entry : mSubMetaClasses->entries) {
    entry->Query();
    entry->Attach(*this);
  }
}

PluginCoreInterface* ZEBKorvaneMetaClass::CreatePluginCore(PluginPlatform* platform, IOConfig ioConfig) {
  return new Korvane(platform, ioConfig);
}

std::string ZEBKorvaneMetaClass::GetProductName() const { return kDisplayName; }

std::string ZEBKorvaneMetaClass::GetName() const {
  static const std::string name = kDisplayName;
  return name;
}

std::string ZEBKorvaneMetaClass::GetVersion() const { return kVersion; }
std::string ZEBKorvaneMetaClass::GetCopyright() const { return kCopyright; }
void ZEBKorvaneMetaClass::GetIOConfigs(IOConfigList& list) const { list.emplace_back(2, 2); }

std::string ZEBKorvaneMetaClass::GetDefaultPrograms() const {
  const std::string name = kDisplayName;
  return "<!-- Quillmore " + name + " Program Settings -->\n" +
         "<plugin_programs>\n"
         "<program number=\"0\" name=\"" +
         name + "\">\n" + "<obj_archive type=\"" + SettingsArchiveType() + "\">\n" +
         "</obj_archive>\n"
         "</program>\n"
         "</plugin_programs>\n";
}

std::string ZEBKorvaneMetaClass::GetParameterDisplayName(IOConfig, std::int32_t index) const {
  const ParameterDescriptor* descriptor = GetParameterDescriptor(index);
  return descriptor && descriptor->mId == kResetParameterId ? "Reset" : "INVALID ID";
}

std::string ZEBKorvaneMetaClass::GetPrefsName() const {
  const std::string suffix = GetPrefsSuffix();
  return std::string("ZEB ") + "Korvane" + (suffix.empty() ? "" : "-" + suffix) + " Prefs";
}

std::int32_t ZEBVstKorvaneMetaClass::GetPlugCategory() const { return kPlugCategAnalysis; }
std::int32_t ZEBVstKorvaneMetaClass::GetUniqueID() const { return FourCC('7', '1', '8', '1'); }

ZEBPluginMetaClass* CreateVstKorvaneMetaClass() { return new ZEBVstKorvaneMetaClass(); }
