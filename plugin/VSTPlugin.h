#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/PluginCoreInterface.h"
#include "framework/core/PluginMetaClass.h"
#include "framework/core/PluginPlatform.h"
#include "platform/PlatformMutex.h"
#include "toolkit/editor/EditorHost.h"
#include "vst2/AEffEditor.h"
#include "vst2/AudioEffectX.h"

// The object behind the effect record: turns host opcodes and audio calls into calls of the
// plug-in core, and answers the core's questions about its host. Each group says which thread
// calls it; "dispatcher thread" is any non-audio thread the host sends opcodes from.
class VSTPlugin : public AudioEffectX, public PluginPlatform, public EditorHost {
 public:
  // The entry point's thread, and effClose's.
  explicit VSTPlugin(audioMasterCallback host);
  ~VSTPlugin() override;

  // The entry point, before the host has the effect. The adapter owns its editor and deletes it
  // before the core: the editor's frames are clients of the core's services, which must outlive
  // them.
  void attachCore(std::unique_ptr<PluginCoreInterface> core);
  void attachEditor(std::unique_ptr<AEffEditor> editor);
  // Any thread; the core lives as long as the adapter.
  PluginCoreInterface* GetCore() const { return mCore.get(); }

  // The instance mutex, held by every dispatcher opcode that reads or changes the instance's
  // state and by the editor around its work. Whoever releases it last applies a program change
  // that found it busy, so no change waits for an editor that may never open. tryOnly: fail at
  // once when another thread holds it, rather than wait for it.
  static constexpr bool kTryOnly = true, kWaitForIt = false;
  bool LockMutex(bool tryOnly);
  bool LockMutexForEntry() override;
  void UnlockMutex() override;
  void HoldMutex(bool hold) override;
  // UI thread, for the editor: lets the host idle.
  void HostIdle() override { callHost(audioMasterIdle); }
  // UI thread, for the editor adapter: the program change kept while the mutex was busy.
  std::int32_t TakePendingProgram();

  // Dispatcher thread: every opcode, under the floating-point guard.
  std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                           float opt) override;
  // Audio thread; never blocks, allocates, locks or makes a system call.
  void process(float** inputs, float** outputs, std::int32_t frames) override;
  void processReplacing(float** inputs, float** outputs, std::int32_t frames) override;
  // Any thread, the audio thread too; never blocks.
  void setParameter(std::int32_t index, float value) override;
  float getParameter(std::int32_t index) override;
  // Dispatcher thread; may allocate; called with the instance mutex held, except setProgram,
  // which only tries it and, when it is busy, leaves the program pending for whoever holds it.
  // setSampleRate, setBlockSize and suspend wait, bounded, for the audio hook to leave; a value
  // is recorded only once the core has taken it, so a host's retry after a time-out reaches it.
  void open() override;
  void close() override;
  void setProgram(std::int32_t program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParameterLabel(std::int32_t index, char* label) override;
  void getParameterDisplay(std::int32_t index, char* text) override;
  void getParameterName(std::int32_t index, char* text) override;
  std::int32_t getChunk(void** data, bool isPreset) override;
  std::int32_t setChunk(void* data, std::int32_t size, bool isPreset) override;
  void setSampleRate(float rate) override;
  void setBlockSize(std::int32_t size) override;
  void setBlockSizeAndSampleRate(std::int32_t blockSize, float sampleRate) override;
  void suspend() override;
  void resume() override;
  bool canParameterBeAutomated(std::int32_t index) override;
  bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override;
  std::int32_t getPlugCategory() override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  std::int32_t canDo(char* text) override;

  // PluginPlatform: the core's questions, from the thread of the call that asks them. The answers
  // read values the dispatcher thread sets; AutomateParameter calls the host.
  const char* GetHostProductString() const override { return mHostProduct.c_str(); }
  std::int32_t GetInitialDelay() const override { return mEffect.initialDelay; }
  float GetSampleRate() const override { return mSampleRate; }
  std::int32_t GetBlockSize() const override { return mBlockSize; }
  void SetInitialDelay(std::int32_t samples) override { setInitialDelay(samples); }
  std::intptr_t ChangeInitialDelay(std::int32_t samples) override;
  bool IsInputConnected(std::int32_t input) const override;
  bool IsOutputConnected(std::int32_t output) const override;
  std::int32_t GetNumOutputs() const override { return mEffect.numOutputs; }
  std::int32_t GetNumInputs() const override { return mEffect.numInputs; }
  bool IsResumed() const override { return mResumed.load(std::memory_order_relaxed); }
  bool IsEditorOpen() const override;
  std::string ReadRegistryValue() const override;
  bool LoadDefaultSettings(const std::string& name, std::string& text) override;
  bool SaveDefaultSettings(const std::string& name, const std::string& text) override;
  std::intptr_t AutomateParameter(std::int32_t index, float value) override;
  bool HoldsInstanceMutex() const override { return mMutex && mMutex->HeldByCaller(); }

 private:
  void RefreshConnections(bool askHost);
  void ApplyPendingProgram();
  bool CountLevel(bool locked);

  PluginMetaClassRef mMetaClass;
  std::string mHostProduct;
  bool mAssumeEveryPinConnected = false;
  bool mSampleRateSet = false;
  bool mBlockSizeSet = false;
  float mCoreSampleRate = 0.0f;  // the values last passed to the core
  std::int32_t mCoreBlockSize = 0;
  std::vector<bool> mInputsConnected;
  std::vector<bool> mOutputsConnected;
  IOConfigList mIOConfigs;
  std::atomic<bool> mResumed{false};
  std::unique_ptr<PluginCoreInterface> mCore;
  std::unique_ptr<AEffEditor> mOwnedEditor;  // declared after the core, so destroyed before it
  std::atomic<std::int32_t> mPendingProgram{-1};
  std::unique_ptr<PlatformMutex> mMutex;
  std::int32_t mLockDepth = 0;  // the owner's nesting of the mutex; touched only while holding it
  bool mHeld = false;           // the editor's drag keeps the mutex; touched only while holding it
  std::string mPrefsName;
};
