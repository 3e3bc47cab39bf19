#pragma once

#include <cstdint>
#include <string>

// The plug-in core's view of its host: what the VST adapter answers for it.
class PluginPlatform {
 public:
  virtual ~PluginPlatform() = default;

  virtual const char* GetHostProductString() const = 0;
  virtual std::int32_t GetInitialDelay() const = 0;
  virtual float GetSampleRate() const = 0;
  virtual std::int32_t GetBlockSize() const = 0;
  virtual void SetInitialDelay(std::int32_t samples) = 0;
  virtual std::intptr_t ChangeInitialDelay(std::int32_t samples) = 0;
  virtual bool IsInputConnected(std::int32_t input) const = 0;
  virtual bool IsOutputConnected(std::int32_t output) const = 0;
  virtual std::int32_t GetNumOutputs() const = 0;
  virtual std::int32_t GetNumInputs() const = 0;
  virtual bool IsResumed() const = 0;
  virtual bool IsEditorOpen() const = 0;
  // The default string value of the product's registry key; empty when there is none.
  virtual std::string ReadRegistryValue() const = 0;
  virtual bool LoadDefaultSettings(const std::string& name, std::string& text) = 0;
  virtual bool SaveDefaultSettings(const std::string& name, const std::string& text) = 0;
  virtual std::intptr_t AutomateParameter(std::int32_t index, float value) = 0;
  // Whether the calling thread holds the instance mutex.
  virtual bool HoldsInstanceMutex() const = 0;
};
