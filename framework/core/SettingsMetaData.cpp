#include "framework/core/SettingsMetaData.h"

#include "framework/archive/Archive.h"

const char* const kFrameworkCopyright = "Quillmore 2026";

std::string SettingsArchiveType() { return std::string("ZEB Plugin Settings (") + kFrameworkCopyright + ")"; }

ZEBPluginSettingsMetaData::ZEBPluginSettingsMetaData(const ZEBPluginMetaClass& description, IOConfig ioConfig)
    : mSignature(description.GetProductName()),
      mName(description.GetName()),
      mVersion(description.GetVersion()),
      mCopyright(description.GetCopyright()),
      mManufacturer(description.GetVendor()),
      mIOConfig(ioConfig) {}

void ZEBPluginSettingsMetaData::Save(Serialization::Archive& archive) {
  archive.WriteString("signature", mSignature);
  archive.WriteString("name", mName);
  archive.WriteString("version", mVersion);
  archive.WriteString("copyright", mCopyright);
  archive.WriteString("manufacturer", mManufacturer);
  archive.WriteInt("IOConfig.inputs", mIOConfig.first);
  archive.WriteInt("IOConfig.outputs", mIOConfig.second);
}

void ZEBPluginSettingsMetaData::Load(Serialization::Archive& archive) {
  mSignature = archive.ReadString("signature");
  mName = archive.ReadString("name");
  mVersion = archive.ReadString("version");
  mCopyright = archive.ReadString("copyright");
  mManufacturer = archive.ReadString("manufacturer");
  mIOConfig.first = archive.ReadInt("IOConfig.inputs");
  mIOConfig.second = archive.ReadInt("IOConfig.outputs");
}
