#pragma once

#include <cstdint>
#include <string>

#include "framework/core/AudioGate.h"
#include "framework/core/PluginMetaClass.h"

class Frame;
class PluginUIRootInterface;

// How the VST adapter and the editor drive a plug-in instance. Each group says which thread calls
// it and what it may do there; "dispatcher thread" is any non-audio thread the host calls from.
class PluginCoreInterface {
 public:
  virtual ~PluginCoreInterface() = default;

  // Dispatcher thread; may allocate and read files.
  virtual const char* GetHostProductString() const = 0;
  virtual std::string GetPrefsName() const = 0;
  virtual void Open() = 0;
  virtual void Close() = 0;

  // Dispatcher thread, or the UI thread for the editor; SetProgram is called only with the instance
  // mutex held.
  virtual void SetProgramName(const char* name) = 0;
  virtual std::string GetProgramNameIndexed(std::int32_t index) const = 0;
  virtual std::string GetProgramName() const = 0;
  virtual std::int32_t GetCurrentProgram() const = 0;
  virtual void SetProgram(std::int32_t program) = 0;
  virtual std::int32_t GetProgram() const = 0;

  // Dispatcher thread; may allocate. The chunk stays owned by the core until the next call; the
  // size is in bytes.
  virtual std::int32_t GetChunk(void** data, bool isPreset) = 0;
  // False when the chunk was refused; nothing changed then.
  virtual bool SetChunk(const void* data, std::int32_t size, bool isPreset) = 0;

  // Dispatcher thread; Suspend waits, bounded, for the audio hook to leave.
  virtual void Resume() = 0;
  virtual void Suspend() = 0;
  // Audio thread; never blocks, allocates, locks or makes a system call. mode: 0 normal, 1 bypass
  // requested, 2 plain copy.
  virtual void Process(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                       std::int32_t mode) = 0;
  // Any thread; one atomic value.
  virtual void SetCustomValue(std::int32_t value) = 0;
  virtual std::int32_t GetCustomValue() const = 0;
  // Dispatcher thread; rebuilds the preroll behind the audio gate's bounded pause.
  virtual void ResetProcessing() = 0;
  // Audio thread, like Process.
  virtual std::int32_t ProcessWithPreroll(float** inputs, float** outputs, std::int32_t frames,
                                          bool accumulate, std::int32_t mode) = 0;
  // Dispatcher thread, like Suspend.
  virtual void Halt() = 0;

  // UI thread.

  virtual Frame* CreateEditorFrame(PluginUIRootInterface* root) = 0;
  virtual Frame* CreateAboutFrame(PluginUIRootInterface* root) = 0;
  virtual void GetEditorSize(std::int32_t& width, std::int32_t& height) const = 0;
  // The editor root names itself when it opens and null when it closes.
  virtual void SetUIRoot(PluginUIRootInterface* root) = 0;
  // Delivers the host's parameter changes to the product; the editor's idle.
  virtual void DispatchParameterChanges() = 0;
  // While the scope lives the instance counts as busy: what changes meanwhile is not reported as
  // the user's doing.
  virtual AudioGate::Scope MarkBusy() = 0;

  // Configuration. The getters: any thread, they read atomics or values fixed at creation, except
  // the delay and the pins, which the dispatcher thread changes. The setters: dispatcher thread;
  // the sample rate and block size are changed behind the audio gate's bounded pause.
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
  // UI thread: tells the editor's subscribers.
  virtual void SendClipClear() = 0;
};
