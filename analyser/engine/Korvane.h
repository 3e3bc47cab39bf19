#pragma once

#include <memory>
#include <vector>

#include "analyser/engine/services/AnalysisView.h"
#include "framework/archive/ObjectSerializerHub.h"
#include "framework/core/PluginCore.h"
#include "framework/services/FourCC.h"

class KorvaneServiceBase;
class KorvaneServiceList;
class KVNAlarmManager;

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
  Frame* CreateEditorFrame(PluginUIRootInterface*) override { return nullptr; }
  Frame* CreateAboutFrame(PluginUIRootInterface*) override { return nullptr; }
  void GetEditorSize(std::int32_t& width, std::int32_t& height) const override;

  bool IsMono() const { return GetIOConfig().first == 1; }
  KVNAlarmManager& GetAlarmManager() { return *mAlarmManager; }
  KorvaneServiceList& GetServiceList() { return *mServiceList; }

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

  std::unique_ptr<KVNAlarmManager> mAlarmManager;
  std::unique_ptr<KorvaneServiceList> mServiceList;
  std::vector<KorvaneServiceBase*> mAudioServices;
  // The second analysis channel of a mono block.
  std::vector<float> mZeroBuffer;
};
