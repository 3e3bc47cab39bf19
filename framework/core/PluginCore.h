#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/AudioGate.h"
#include "framework/core/PluginCoreInterface.h"
#include "framework/core/PluginMetaClass.h"
#include "framework/core/PluginPlatform.h"
#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"
#include "framework/services/PluginServices.h"

class PluginUIRootInterface;
class ZEBPluginSettingsMetaData;
namespace Serialization {
class Archive;
}

// The framework's plug-in instance: runs the audio entry with its bypass states and suspension,
// keeps the configuration, parameters and programs. The product derives from it and supplies
// its audio work, editor frames and state through the hooks.
class PluginCore : public PluginCoreInterface, public PluginServices, public MessagePublisher {
 public:
  // The framework's message classes and codes.
  static constexpr std::int32_t kConfigMessageClass = FourCC('c', 'f', 'g', ' ');
  static constexpr std::int32_t kSampleRateChanged = FourCC('s', 'r', 't', 'e');
  static constexpr std::int32_t kBlockSizeChanged = FourCC('b', 'l', 'o', 'k');
  static constexpr std::int32_t kClipMessageClass = FourCC('c', 'l', 'i', 'p');
  static constexpr std::int32_t kClipClear = FourCC('c', 'l', 'c', 'l');

  PluginCore(PluginPlatform* platform, IOConfig ioConfig);
  ~PluginCore() override;

  const char* GetHostProductString() const override;
  std::string GetPrefsName() const override { return mPrefsName; }
  void Open() override;
  void Close() override {}

  void SetProgramName(const char* name) override;
  std::string GetProgramNameIndexed(std::int32_t index) const override;
  std::string GetProgramName() const override;
  std::int32_t GetCurrentProgram() const override { return mCurrentProgram.load(); }
  void SetProgram(std::int32_t program) override;
  std::int32_t GetProgram() const override { return mCurrentProgram.load(); }

  std::int32_t GetChunk(void** data, bool isPreset) override;
  bool SetChunk(const void* data, std::int32_t size, bool isPreset) override;

  void Resume() override {}
  void Suspend() override {}
  void Process(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
               std::int32_t mode) override;
  void SetCustomValue(std::int32_t value) override { mCustomValue.store(value, std::memory_order_relaxed); }
  std::int32_t GetCustomValue() const override { return mCustomValue.load(std::memory_order_relaxed); }
  void ResetProcessing() override;
  std::int32_t ProcessWithPreroll(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                                  std::int32_t mode) override;
  void Halt() override { Suspend(); }

  void SetInitialDelay(std::int32_t samples) override { mPlatform->SetInitialDelay(samples); }
  std::intptr_t ChangeInitialDelay(std::int32_t samples) override {
    return mPlatform->ChangeInitialDelay(samples);
  }
  std::int32_t GetInitialDelay() const override { return mPlatform->GetInitialDelay(); }
  float GetSampleRate() const override { return mSampleRate.load(std::memory_order_relaxed); }
  std::int32_t GetBlockSize() const override { return mBlockSize.load(std::memory_order_relaxed); }
  IOConfig GetIOConfig() const override { return mIOConfig; }
  bool IsInputConnected(std::int32_t input) const override { return mPlatform->IsInputConnected(input); }
  bool IsOutputConnected(std::int32_t output) const override { return mPlatform->IsOutputConnected(output); }
  bool IsResumed() const override { return mPlatform->IsResumed(); }
  void SetSampleRate(float rate) override;
  void SetBlockSize(std::int32_t size) override;
  bool IsEditorOpen() const override { return mPlatform->IsEditorOpen(); }
  bool HoldsInstanceMutex() const override { return mPlatform->HoldsInstanceMutex(); }
  PluginUIRootInterface* GetUIRoot() const override { return mUIRoot.load(std::memory_order_acquire); }

  void SetParameter(const ParameterDescriptor& descriptor, float value) override;
  void SetParameterByIndex(std::int32_t index, float value) override;
  float GetParameterByIndex(std::int32_t index) const override;
  void ForceParameterReports(bool on) override;
  float GetAuxiliaryValue(float) const override { return 0.0f; }
  void SendClipClear() override;

  // Settings: one settings text is the whole state of the instance.
  virtual void SaveSettings(std::ostream& out);
  // Throws what reading the text throws.
  virtual void LoadSettingsText(const std::string& text);
  // Reports a failure and answers false; the state is then as it was before. The caller holds
  // the instance mutex.
  virtual bool ApplySettingsText(const std::string& text);
  // The live state as a settings text (the archive, its closing zero byte and a line feed).
  std::string LiveSettingsText();
  // The default settings file of that name; false on any failure, nothing reported.
  bool LoadDefaultSettings(const std::string& name);
  bool SaveDefaultSettings(const std::string& name);

  // Editor side.
  virtual void ReportParameterChange(std::int32_t id, float value, bool force);
  void DispatchParameterChanges() override;
  void ResetParameterTracking();
  std::int32_t SuspendProcessing(bool suspend) { return mAudioGate.Suspend(suspend); }
  bool IsInProcess() const { return mAudioGate.IsInProcess(); }
  AudioGate& GetAudioGate() { return mAudioGate; }
  AudioGate::Scope MarkBusy() override { return mAudioGate.Busy(); }
  void SetUIRoot(PluginUIRootInterface* root) override { mUIRoot.store(root, std::memory_order_release); }
  void CopyInputsToOutputs(float** inputs, float** outputs, std::int32_t frames) const;

 protected:
  virtual bool ValidateParameterChange(const ParameterDescriptor& descriptor, float value) = 0;
  virtual void OnParameterChange(const ParameterDescriptor& descriptor, float value) = 0;
  virtual void OnBeforeSampleRateChange(float) {}
  virtual void OnSampleRateChange(float) {}
  virtual void OnAfterSampleRateChange() {}
  virtual void OnBlockSizeChange(std::int32_t) {}
  virtual void OnAfterBlockSizeChange() {}
  virtual void SaveProductState(Serialization::Archive&) {}
  virtual void LoadProductState(Serialization::Archive&, const ZEBPluginSettingsMetaData&) {}
  // Audio thread: the product's work on one block.
  virtual void ProcessBlock(float** inputs, float** outputs, std::int32_t frames, std::int32_t state) = 0;

  // The host's latest value of a parameter, or its default before the host set one.
  float GetStoredParameterValue(const ParameterDescriptor& descriptor) const;
  ZEBPluginMetaClass* MetaClass() const { return mMetaClass.get(); }
  std::int32_t NumChannels() const { return mIOConfig.second; }

 private:
  struct ParameterValues {
    std::atomic<float> delivered{0.0f};
    std::atomic<float> current{0.0f};
    std::atomic<float> lastReported{0.0f};
  };
  using ChannelBuffers = std::vector<std::vector<float>>;

  // A program bank as read, before it is allowed to change anything.
  struct Bank {
    std::vector<std::optional<std::string>> names;
    std::vector<std::optional<std::string>> settings;
  };
  // Throws when the text has no header line (reported first).
  Bank ReadBank(std::string_view text) const;
  void CommitBank(Bank& bank);
  std::string BankText() const;
  bool ApplyText(const std::string& text, bool report);
  bool GuardedApply(const std::string& text, bool report);
  // The text of the current program's slot brought up to the live state.
  std::string& RefreshedProgramText(std::string& scratch);

  bool IsValidBlock(float** inputs, float** outputs, std::int32_t frames) const;
  void SilenceIfReplacing(float** outputs, std::int32_t frames, bool accumulate) const;
  void ProcessEntered(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                      std::int32_t mode);
  void RunHook(float** inputs, float** outputs, std::int32_t frames, bool accumulate, std::int32_t state);

  PluginMetaClassRef mMetaClass;
  PluginPlatform* mPlatform = nullptr;
  IOConfig mIOConfig{0, 0};
  std::atomic<float> mSampleRate{44100.0f};
  std::atomic<std::int32_t> mBlockSize{1024};
  // Set and cleared by the editor's thread, read by a report from any thread.
  std::atomic<PluginUIRootInterface*> mUIRoot{nullptr};
  AudioGate mAudioGate;
  std::atomic<std::int32_t> mState{0};
  std::atomic<std::int32_t> mCustomValue{0};

  // Audio-thread buffers: rebuilt only behind a pause of the audio gate.
  ChannelBuffers mScratch;
  std::vector<float*> mSliceInputs;
  std::vector<float*> mSliceOutputs;
  ChannelBuffers mPreroll;
  std::vector<float*> mPrerollPointers;
  std::int32_t mPrerollLength = 0;
  std::int32_t mPrerollConsumed = 0;
  std::vector<float*> mPrerollInputs;

  // Parameters: written by the host on any thread, delivered on the editor thread.
  std::unique_ptr<ParameterValues[]> mParameters;
  std::int32_t mParameterCount = 0;
  std::atomic<std::int32_t> mChangeCount{0};
  std::int32_t mDeliveredCount = 0;
  std::atomic<std::int32_t> mReporting{-1};
  std::atomic<std::int32_t> mForcedReports{0};

  // Programs.
  std::string mDisplayName = "<unset>";
  std::vector<std::string> mProgramNames;
  std::vector<std::string> mProgramSettings;
  std::atomic<std::int32_t> mCurrentProgram{0};  // read on any dispatcher thread
  std::string mDefaultSettings;
  std::string mPrefsName;
  std::vector<char> mChunk;  // the block last handed to the host
  bool mChunkFailureReported = false;
};
