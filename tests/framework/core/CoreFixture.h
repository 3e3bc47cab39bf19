#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/PluginCore.h"
#include "framework/core/PluginPlatform.h"

// The host side a core sees, as plain fields.
class FakePlatform : public PluginPlatform {
 public:
  const char* GetHostProductString() const override { return "fake host"; }
  std::int32_t GetInitialDelay() const override { return initialDelay; }
  float GetSampleRate() const override { return 44100.0f; }
  std::int32_t GetBlockSize() const override { return 1024; }
  void SetInitialDelay(std::int32_t samples) override { initialDelay = samples; }
  std::intptr_t ChangeInitialDelay(std::int32_t samples) override {
    initialDelay = samples;
    return 1;
  }
  bool IsInputConnected(std::int32_t) const override { return true; }
  bool IsOutputConnected(std::int32_t) const override { return true; }
  std::int32_t GetNumOutputs() const override { return 2; }
  std::int32_t GetNumInputs() const override { return 2; }
  bool IsResumed() const override { return true; }
  bool IsEditorOpen() const override { return editorOpen.load(); }
  std::string ReadRegistryValue() const override { return {}; }
  bool LoadDefaultSettings(const std::string&, std::string&) override { return false; }
  bool SaveDefaultSettings(const std::string&, const std::string&) override { return false; }
  std::intptr_t AutomateParameter(std::int32_t index, float value) override {
    automated.emplace_back(index, value);
    if (onAutomate) onAutomate(index, value);
    return 1;
  }
  bool HoldsInstanceMutex() const override { return true; }

  std::int32_t initialDelay = 0;
  std::atomic<bool> editorOpen{false};
  std::vector<std::pair<std::int32_t, float>> automated;
  std::function<void(std::int32_t, float)> onAutomate;
};

// A core whose hook writes input + 1 and remembers what it was given.
class HookCore : public PluginCore {
 public:
  explicit HookCore(PluginPlatform* platform) : PluginCore(platform, {2, 2}) {}

  float GetParameter(const ParameterDescriptor& descriptor) const override {
    return GetStoredParameterValue(descriptor);
  }
  Frame* CreateEditorFrame(PluginUIRootInterface*) override { return nullptr; }
  Frame* CreateAboutFrame(PluginUIRootInterface*) override { return nullptr; }
  void GetEditorSize(std::int32_t& width, std::int32_t& height) const override { width = height = 0; }

  std::atomic<std::int32_t> lastState{-1};
  std::atomic<std::int32_t> hookCalls{0};
  std::atomic<std::int32_t> largestSlice{0};
  std::vector<std::pair<std::int32_t, float>> delivered;
  std::function<void()> onSampleRate;

 protected:
  bool ValidateParameterChange(const ParameterDescriptor&, float) override { return true; }
  void OnParameterChange(const ParameterDescriptor& descriptor, float value) override {
    delivered.emplace_back(descriptor.mIndex, value);
  }
  void OnSampleRateChange(float) override {
    if (onSampleRate) onSampleRate();
  }
  void ProcessBlock(float** inputs, float** outputs, std::int32_t frames, std::int32_t state) override {
    for (int c = 0; c < 2; ++c) {
      for (std::int32_t i = 0; i < frames; ++i) outputs[c][i] = inputs[c][i] + 1.0f;
    }
    lastState.store(state);
    hookCalls.fetch_add(1);
    if (frames > largestSlice.load()) largestSlice.store(frames);
  }
};

// Two channels of `frames` samples each, with the pointer arrays a host passes.
struct StereoBuffers {
  StereoBuffers(std::int32_t frames, float inValue, float outValue)
      : in{std::vector<float>(frames, inValue), std::vector<float>(frames, inValue)},
        out{std::vector<float>(frames, outValue), std::vector<float>(frames, outValue)},
        inputs{in[0].data(), in[1].data()},
        outputs{out[0].data(), out[1].data()} {}
  std::vector<float> in[2];
  std::vector<float> out[2];
  float* inputs[2];
  float* outputs[2];
};
