#pragma once

#include "framework/core/PluginCore.h"

// The analyser's plug-in object.
class Korvane : public PluginCore {
 public:
  Korvane(PluginPlatform* platform, IOConfig ioConfig);

  float GetParameter(const ParameterDescriptor& descriptor) const override;
  Frame* CreateEditorFrame(PluginUIRoot*) override { return nullptr; }
  Frame* CreateAboutFrame(PluginUIRoot*) override { return nullptr; }
  void GetEditorSize(int32_t& width, int32_t& height) const override;

 protected:
  bool ValidateParameterChange(const ParameterDescriptor&, float) override { return true; }
  void OnParameterChange(const ParameterDescriptor&, float) override {}
  void ProcessBlock(float** inputs, float** outputs, int32_t frames, int32_t state) override;
};
