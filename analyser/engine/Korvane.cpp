#include "analyser/engine/Korvane.h"

Korvane::Korvane(PluginPlatform* platform, IOConfig ioConfig) : PluginCore(platform, ioConfig) {}

float Korvane::GetParameter(const ParameterDescriptor& descriptor) const {
  return GetStoredParameterValue(descriptor);
}

void Korvane::GetEditorSize(int32_t& width, int32_t& height) const {
  width = 0;
  height = 0;
}

void Korvane::ProcessBlock(float** inputs, float** outputs, int32_t frames, int32_t) {
  CopyInputsToOutputs(inputs, outputs, frames);
}
