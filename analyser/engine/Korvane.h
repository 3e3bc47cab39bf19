#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analyser/engine/services/AnalysisView.h"
#include "framework/archive/ObjectSerializerHub.h"
#include "framework/core/PluginCore.h"
#include "framework/services/FourCC.h"

class KorvaneEditorSide;
class KorvaneServiceBase;
class KorvaneServiceList;
class KVNAlarmManager;
namespace Serialization {
class XMLArchive;
}

// A settings file read for the editor: its text and a loading archive that scans it.
struct ImportedSettings {
  ImportedSettings();
  ~ImportedSettings();
  std::string text;
  std::unique_ptr<Serialization::XMLArchive> archive;
};

// The analyser's plug-in object: passes every block through unchanged and hands it to the
// analysis services; keeps the alarms; saves and restores both with the settings.
class Korvane : public PluginCore, public Serialization::ObjectSerializerHub {
 public:
  static constexpr std::int32_t kEditorMessageClass = FourCC('p', 'b', 'A', 'c');

  Korvane(PluginPlatform* platform, IOConfig ioConfig);
  ~Korvane() override;

  void Open() override;
  void Close() override {}
  void Resume() override {}
  void Suspend() override;
  float GetParameter(const ParameterDescriptor& descriptor) const override;
  Frame* CreateEditorFrame(PluginUIRootInterface* root) override;
  Frame* CreateAboutFrame(PluginUIRootInterface* root) override;
  void GetEditorSize(std::int32_t& width, std::int32_t& height) const override;

  bool IsMono() const { return GetIOConfig().first == 1; }
  KVNAlarmManager& GetAlarmManager() { return *mAlarmManager; }
  KorvaneServiceList& GetServiceList() { return *mServiceList; }
  // Completion of the editor's dialog that reads a settings file: its text, or nothing when no
  // file was chosen or read. Null for nothing; for our own settings an archive whose load has
  // begun, its metadata read; for another maker's an archive that loads nothing. Text that is
  // no archive throws the archive's parse exception.
  static std::unique_ptr<ImportedSettings> ImportSettingsFile(const std::optional<std::string>& text);

 protected:
  bool ValidateParameterChange(const ParameterDescriptor&, float) override { return true; }
  void OnParameterChange(const ParameterDescriptor& descriptor, float value) override;
  void OnSampleRateChange(float) override { PrepareServices(); }
  void OnBlockSizeChange(std::int32_t) override { PrepareServices(); }
  void ProcessBlock(float** inputs, float** outputs, std::int32_t frames, std::int32_t state) override;
  void SaveProductState(Serialization::Archive& archive) override;
  void LoadProductState(Serialization::Archive& archive, const ZEBPluginSettingsMetaData& metaData) override;

 private:
  // Runs behind the core's audio pause: the buffers the audio thread reads may be rebuilt.
  void PrepareServices();

  // Destroyed after the services and the alarms, as the last of the product's parts.
  std::unique_ptr<KorvaneEditorSide> mEditorSide;
  std::unique_ptr<KVNAlarmManager> mAlarmManager;
  std::unique_ptr<KorvaneServiceList> mServiceList;
  std::vector<KorvaneServiceBase*> mAudioServices;
  // The second analysis channel of a mono block.
  std::vector<float> mZeroBuffer;
};
