#include "plugin/VSTPlugin.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "framework/core/DefaultSettings.h"
#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginUIRootInterface.h"
#include "framework/core/VstPluginMetaClass.h"
#include "framework/metering/NumericTools.h"
#include "platform/FloatingPointGuard.h"
#include "plugin/HostStrings.h"
#include "vst2/HostQuirks.h"

namespace {

constexpr size_t kHostProductBufferSize = 128;

// What the host's entries report when they fail.
constexpr FailureTexts kConfigureFailure{kInsufficientMemory, nullptr, "An unknown error has occurred.",
                                         nullptr};
constexpr FailureTexts kSuspendResumeFailure{kInsufficientMemory, nullptr, "An unknown error occurred.", ""};
constexpr FailureTexts kGetChunkFailure{"There is insufficient memory available to save settings.", nullptr,
                                        "Unable to save settings.", "An unknown error occurred"};

// Hands a configuration value to the core; false, with the failure reported, when the core did
// not take it (its audio pause timed out, say), so that the value is not taken for set.
template <class Set>
bool ConfigureCore(PluginCoreInterface* core, Set set) {
  if (!core) return true;
  try {
    set(*core);
    return true;
  } catch (...) {
    ReportCaughtFailure(core, kConfigureFailure);
    return false;
  }
}

}  // namespace

VSTPlugin::VSTPlugin(audioMasterCallback host) : AudioEffectX(host, 0, 0) {
  if (!mMetaClass) throw std::runtime_error("no plug-in description");
  mNumParams = mEffect.numParams = mMetaClass->GetNumberOfParameters();
  mMutex = CreatePlatformMutex();
  char product[kHostProductBufferSize] = {};
  if (getHostProductString(product)) {
    product[kHostProductBufferSize - 1] = '\0';
    mHostProduct = product;
  }
  canProcessReplacing(true);
  programsAreChunks(true);
  mAssumeEveryPinConnected = HostQuirks::AssumesEveryPinConnected(mHostProduct);
  mMetaClass->GetIOConfigs(mIOConfigs);
  if (!mIOConfigs.empty()) {
    setNumInputs(mIOConfigs.front().first);
    setNumOutputs(mIOConfigs.front().second);
  }
  for (const IOConfig& config : mIOConfigs) {
    if (config.first == 2 && config.second == 2) canMono(true);
  }
  mPrefsName = mMetaClass->GetPrefsName();
}

VSTPlugin::~VSTPlugin() {
  setEditor(nullptr);
  mOwnedEditor.reset();
  mCore.reset();
  mMutex.reset();
}

void VSTPlugin::attachEditor(std::unique_ptr<AEffEditor> editor) {
  setEditor(editor.get());
  mOwnedEditor = std::move(editor);
}

void VSTPlugin::attachCore(std::unique_ptr<PluginCoreInterface> core) {
  mCore = std::move(core);
  mNumPrograms = mEffect.numPrograms = mMetaClass->GetNumberOfPrograms();
  if (auto* vst = dynamic_cast<VSTPluginMetaClassInterface*>(mMetaClass.get()))
    setUniqueID(vst->GetUniqueID());
  RefreshConnections(false);
  suspend();
}

bool VSTPlugin::LockMutex(bool tryOnly) { return mMutex && CountLevel(mMutex->Lock(tryOnly)); }

// A drag's hold does not wait for the thread that pressed: another thread's entry takes it over.
bool VSTPlugin::LockMutexForEntry() { return mMutex && CountLevel(mMutex->LockOrTakeOver()); }

bool VSTPlugin::CountLevel(bool locked) {
  if (locked) ++mLockDepth;
  return locked;
}

// A program change stores itself as pending and then tries the mutex: either it gets it, or the
// holder, releasing it afterwards, sees the pending program and applies it. While a drag holds
// the mutex, its release is the last.
void VSTPlugin::UnlockMutex() {
  if (!mMutex || mLockDepth <= 0) return;
  for (;;) {
    const bool last = mLockDepth == 1 && !mHeld;
    if (last) ApplyPendingProgram();
    --mLockDepth;
    mMutex->Unlock();
    if (!last || mPendingProgram.load() < 0 || !LockMutex(kTryOnly)) return;
  }
}

void VSTPlugin::HoldMutex(bool hold) {
  if (!mMutex || mLockDepth <= 0) return;
  mHeld = hold;
  mMutex->SetHold(hold);
}

void VSTPlugin::ApplyPendingProgram() {
  const std::int32_t program = mPendingProgram.exchange(-1);
  if (program < 0 || !mCore) return;
  try {
    mCore->SetProgram(program);
  } catch (...) {
    // The core reports what it can of a failed program change; a report that fails itself is
    // swallowed, as the program change is.
  }
}

std::int32_t VSTPlugin::TakePendingProgram() { return mPendingProgram.exchange(-1); }

namespace {

// Opcodes that read or change the instance's state; the editor's opcodes lock for themselves.
bool OpcodeHoldsInstanceMutex(std::int32_t opcode) {
  switch (opcode) {
    case effOpen:
    case effClose:
    case effSetProgramName:
    case effGetProgramName:
    case effGetProgramNameIndexed:
    case effSetSampleRate:
    case effSetBlockSize:
    case effSetBlockSizeAndSampleRate:
    case effMainsChanged:
    case effGetChunk:
    case effSetChunk:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::intptr_t VSTPlugin::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                    float opt) {
  FloatingPointGuard guard;
  if (!OpcodeHoldsInstanceMutex(opcode)) return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
  const bool locked = LockMutex(kWaitForIt);
  try {
    const std::intptr_t answer = AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
    if (locked) UnlockMutex();
    return answer;
  } catch (...) {
    if (locked) UnlockMutex();
    throw;
  }
}

void VSTPlugin::process(float** inputs, float** outputs, std::int32_t frames) {
  FloatingPointGuard guard;
  if (mCore) mCore->Process(inputs, outputs, frames, true, 0);
}

void VSTPlugin::processReplacing(float** inputs, float** outputs, std::int32_t frames) {
  FloatingPointGuard guard;
  if (mCore) mCore->Process(inputs, outputs, frames, false, 0);
}

void VSTPlugin::setParameter(std::int32_t index, float value) {
  const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index);
  // The host may trap invalid operations and setParameter runs without a floating-point guard.
  if (!mCore || !descriptor || IsNaNBits(value)) return;
  mCore->SetParameter(*descriptor, DenormalizeValue(*descriptor, value));
}

float VSTPlugin::getParameter(std::int32_t index) {
  const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index);
  if (!mCore || !descriptor) return 0.0f;
  return NormalizeValue(*descriptor, mCore->GetParameter(*descriptor));
}

void VSTPlugin::open() {
  if (mCore) mCore->Open();
}

void VSTPlugin::close() {
  if (mEditor) mEditor->close();
  if (mCore) mCore->Close();
}

void VSTPlugin::setProgram(std::int32_t program) {
  mCurProgram = program;
  if (!mCore) return;
  // A later busy change replaces an earlier one; releasing the mutex applies it.
  mPendingProgram.store(program);
  if (LockMutex(kTryOnly)) UnlockMutex();
}

void VSTPlugin::setProgramName(char* name) {
  if (mCore && name) mCore->SetProgramName(name);
}

void VSTPlugin::getProgramName(char* name) {
  CopyToHostBuffer(name, mCore ? mCore->GetProgramName() : std::string(), kVstMaxProgNameLen);
}

void VSTPlugin::getParameterLabel(std::int32_t index, char* label) {
  CopyToHostBuffer(label, mMetaClass->GetParameterLabel(index), kVstMaxParamStrLen);
}

void VSTPlugin::getParameterDisplay(std::int32_t index, char* text) {
  const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index);
  std::string display;
  if (descriptor && mCore)
    display = mMetaClass->GetParameterDisplay(index, mCore->GetParameter(*descriptor), -1);
  CopyToHostBuffer(text, display, kVstMaxParamStrLen);
}

void VSTPlugin::getParameterName(std::int32_t index, char* text) {
  const IOConfig config =
      mCore ? mCore->GetIOConfig() : (mIOConfigs.empty() ? IOConfig{} : mIOConfigs.front());
  CopyToHostBuffer(text, mMetaClass->GetParameterDisplayName(config, index), kVstMaxParamStrLen);
}

std::int32_t VSTPlugin::getChunk(void** data, bool isPreset) {
  if (!data) return 0;
  *data = nullptr;
  if (!mCore) return 0;
  try {
    return mCore->GetChunk(data, isPreset);
  } catch (...) {
    ReportCaughtFailure(mCore.get(), kGetChunkFailure);
  }
  *data = nullptr;
  return 0;
}

std::int32_t VSTPlugin::setChunk(void* data, std::int32_t size, bool isPreset) {
  if (!mCore || !data || size < 0) return 0;
  return mCore->SetChunk(data, size, isPreset) ? 1 : 0;
}

void VSTPlugin::setSampleRate(float rate) {
  if (mSampleRateSet && rate == mCoreSampleRate) return;
  if (!ConfigureCore(mCore.get(), [rate](PluginCoreInterface& core) { core.SetSampleRate(rate); })) return;
  mSampleRateSet = true;
  mSampleRate = rate;
  mCoreSampleRate = rate;
}

void VSTPlugin::setBlockSize(std::int32_t size) {
  size = HostQuirks::UsableBlockSize(size);
  if (mBlockSizeSet && size == mCoreBlockSize) return;
  if (!ConfigureCore(mCore.get(), [size](PluginCoreInterface& core) { core.SetBlockSize(size); })) return;
  mBlockSizeSet = true;
  mBlockSize = size;
  mCoreBlockSize = size;
}

// Both values reach the core, as the two single opcodes bring them: an analysis kept at the old
// rate would measure wrongly.
void VSTPlugin::setBlockSizeAndSampleRate(std::int32_t blockSize, float sampleRate) {
  setSampleRate(sampleRate);
  setBlockSize(blockSize);
}

void VSTPlugin::suspend() {
  try {
    if (mCore) mCore->Suspend();
  } catch (...) {
    ReportCaughtFailure(mCore.get(), kSuspendResumeFailure);
  }
  mResumed.store(false, std::memory_order_relaxed);
}

void VSTPlugin::resume() {
  try {
    RefreshConnections(true);
    if (mCore) mCore->Resume();
    mResumed.store(true, std::memory_order_relaxed);
  } catch (...) {
    ReportCaughtFailure(mCore.get(), kSuspendResumeFailure);
  }
}

bool VSTPlugin::canParameterBeAutomated(std::int32_t index) {
  const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index);
  return descriptor && descriptor->mAutomatable;
}

bool VSTPlugin::getProgramNameIndexed(std::int32_t, std::int32_t index, char* text) {
  if (!mCore || index < 0 || index >= mNumPrograms) return false;
  try {
    CopyToHostBuffer(text, mCore->GetProgramNameIndexed(index), kVstMaxProgNameLen);
    return true;
  } catch (...) {
    return false;  // the host shows no name for it; nothing is reported
  }
}

std::int32_t VSTPlugin::getPlugCategory() {
  auto* vst = dynamic_cast<VSTPluginMetaClassInterface*>(mMetaClass.get());
  return vst ? vst->GetPlugCategory() : kPlugCategUnknown;
}

bool VSTPlugin::getEffectName(char* name) {
  CopyToHostBuffer(name, mMetaClass->GetName(), kVstMaxEffectNameLen);
  return true;
}

bool VSTPlugin::getVendorString(char* text) {
  CopyToHostBuffer(text, mMetaClass->GetVendor(), kVstMaxVendorStrLen);
  return true;
}

bool VSTPlugin::getProductString(char* text) {
  CopyToHostBuffer(text, mMetaClass->GetName(), kVstMaxProductStrLen);
  return true;
}

std::int32_t VSTPlugin::canDo(char* text) {
  int inputs = 0;
  int outputs = 0;
  if (std::sscanf(text, "%din%dout", &inputs, &outputs) != 2) return 0;
  for (const IOConfig& config : mIOConfigs) {
    if (config.first == inputs && config.second == outputs) return 1;
  }
  return -1;
}

std::intptr_t VSTPlugin::ChangeInitialDelay(std::int32_t samples) {
  setInitialDelay(samples);
  return callHost(audioMasterIOChanged);
}

bool VSTPlugin::IsInputConnected(std::int32_t input) const {
  return input >= 0 && static_cast<size_t>(input) < mInputsConnected.size() && mInputsConnected[input];
}

bool VSTPlugin::IsOutputConnected(std::int32_t output) const {
  return output >= 0 && static_cast<size_t>(output) < mOutputsConnected.size() && mOutputsConnected[output];
}

bool VSTPlugin::IsEditorOpen() const {
  const PluginUIRootInterface* root = mCore ? mCore->GetUIRoot() : nullptr;
  return root && root->IsOpen();
}

std::string VSTPlugin::ReadRegistryValue() const { return ::ReadRegistryValue(mPrefsName); }

bool VSTPlugin::LoadDefaultSettings(const std::string& name, std::string& text) {
  return ReadDefaultSettingsFile(name, text);
}

bool VSTPlugin::SaveDefaultSettings(const std::string& name, const std::string& text) {
  return WriteDefaultSettingsFile(name, text);
}

std::intptr_t VSTPlugin::AutomateParameter(std::int32_t index, float) {
  const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index);
  if (!descriptor || !mCore) return 0;
  const float normalised = NormalizeValue(*descriptor, mCore->GetParameter(*descriptor));
  return callHost(audioMasterAutomate, index, 0, nullptr, normalised);
}

void VSTPlugin::RefreshConnections(bool askHost) {
  const bool ask = askHost && !mAssumeEveryPinConnected;
  mInputsConnected.assign(static_cast<size_t>(std::max(0, mEffect.numInputs)), true);
  mOutputsConnected.assign(static_cast<size_t>(std::max(0, mEffect.numOutputs)), true);
  if (!ask) return;
  for (size_t i = 0; i < mInputsConnected.size(); ++i)
    mInputsConnected[i] = isInputConnected(static_cast<std::int32_t>(i));
  for (size_t i = 0; i < mOutputsConnected.size(); ++i)
    mOutputsConnected[i] = isOutputConnected(static_cast<std::int32_t>(i));
}
