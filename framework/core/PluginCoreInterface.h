#pragma once

#include <cstdint>
#include <string>

#include "framework/core/PluginMetaClass.h"

class Frame;
class PluginUIRootInterface;

// How the VST adapter and the editor drive a plug-in instance.
class PluginCoreInterface {
 public:
  virtual ~PluginCoreInterface() = default;

  virtual const char* GetHostProductString() const = 0;
  virtual std::string GetPrefsName() const = 0;
  virtual void Open() = 0;
  virtual void Close() = 0;

  virtual void SetProgramName(const char* name) = 0;
  virtual std::string GetProgramNameIndexed(std::int32_t index) const = 0;
  virtual std::string GetProgramName() const = 0;
  virtual std::int32_t GetCurrentProgram() const = 0;
  virtual void SetProgram(std::int32_t program) = 0;
  virtual std::int32_t GetProgram() const = 0;

  // The chunk stays owned by the core until the next call; the size is in bytes.
  virtual std::int32_t GetChunk(void** data, bool isPreset) = 0;
  // False when the chunk was refused; nothing changed then.
  virtual bool SetChunk(const void* data, std::int32_t size, bool isPreset) = 0;

  virtual void Resume() = 0;
  virtual void Suspend() = 0;
  // Audio thread. mode: 0 normal, 1 bypass requested, 2 plain copy.
  virtual void Process(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                       std::int32_t mode) = 0;
  virtual void SetCustomValue(std::int32_t value) = 0;
  virtual std::int32_t GetCustomValue() const = 0;
  virtual void ResetProcessing() = 0;
  virtual std::int32_t ProcessWithPreroll(float** inputs, float** outputs, std::int32_t frames,
                                          bool accumulate, std::int32_t mode) = 0;
  virtual void Halt() = 0;

  virtual Frame* CreateEditorFrame(PluginUIRootInterface* root) = 0;
  virtual Frame* CreateAboutFrame(PluginUIRootInterface* root) = 0;
  virtual void GetEditorSize(std::int32_t& width, std::int32_t& height) const = 0;

  virtual void SetInitialDelay(std::int32_t samples) = 0;
  virtual std::intptr_t ChangeInitialDelay(std::int32_t samples) = 0;
  virtual std::int32_t GetInitialDelay() const = 0;
  virtual float GetSampleRate() const = 0;
  virtual std::int32_t GetBlockSize() const = 0;
  virtual IOConfig GetIOConfig() const = 0;
  virtual bool IsInputConnected(std::int32_t input) const = 0;
  virtual bool IsOutputConnected(std::int32_t output) const = 0;
  virtual bool IsResumed() const = 0;
  virtual void SetSampleRate(float rate) = 0;
  virtual void SetBlockSize(std::int32_t size) = 0;
  virtual bool IsEditorOpen() const = 0;
  virtual PluginUIRootInterface* GetUIRoot() const = 0;

  // Any thread (often the audio thread): stored at once, delivered at editor idle.
  virtual void SetParameter(const ParameterDescriptor& descriptor, float value) = 0;
  virtual void SetParameterByIndex(std::int32_t index, float value) = 0;
  virtual float GetParameter(const ParameterDescriptor& descriptor) const = 0;
  virtual float GetParameterByIndex(std::int32_t index) const = 0;
  virtual void ForceParameterReports(bool on) = 0;
  virtual float GetAuxiliaryValue(float x) const = 0;
  virtual void SendClipClear() = 0;
};
