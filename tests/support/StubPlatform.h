#pragma once

#include <cstdint>
#include <string>

#include "framework/core/PluginPlatform.h"

// The host side of a plug-in that no host loaded: 44.1 kHz, 512-frame blocks, stereo, resumed,
// no settings files.
class StubPlatform : public PluginPlatform {
 public:
  const char* GetHostProductString() const override { return "test"; }
  std::int32_t GetInitialDelay() const override { return 0; }
  float GetSampleRate() const override { return 44100.0f; }
  std::int32_t GetBlockSize() const override { return 512; }
  void SetInitialDelay(std::int32_t) override {}
  std::intptr_t ChangeInitialDelay(std::int32_t) override { return 0; }
  bool IsInputConnected(std::int32_t) const override { return true; }
  bool IsOutputConnected(std::int32_t) const override { return true; }
  std::int32_t GetNumOutputs() const override { return 2; }
  std::int32_t GetNumInputs() const override { return 2; }
  bool IsResumed() const override { return true; }
  bool IsEditorOpen() const override { return editorOpen; }
  std::string ReadRegistryValue() const override { return {}; }
  bool LoadDefaultSettings(const std::string&, std::string&) override { return false; }
  bool SaveDefaultSettings(const std::string&, const std::string&) override { return false; }
  std::intptr_t AutomateParameter(std::int32_t, float) override { return 0; }
  bool HoldsInstanceMutex() const override { return true; }

  bool editorOpen = false;
};
