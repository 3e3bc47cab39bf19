#include "framework/core/PluginCore.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <stdexcept>

#include "framework/core/BypassStates.h"

static_assert(std::atomic<float>::is_always_lock_free);

namespace {

// Longest accumulating slice kept aside at once; a host block size beyond it is processed in
// slices, so an absurd block size never becomes an absurd allocation.
constexpr std::int32_t kMaxScratchFrames = 1 << 16;

}  // namespace

PluginCore::PluginCore(PluginPlatform* platform, IOConfig ioConfig)
    : MessagePublisher(this), mPlatform(platform), mIOConfig(ioConfig) {
  if (!mMetaClass) throw std::runtime_error("no plug-in description");
  const std::int32_t programs = std::max(0, mMetaClass->GetNumberOfPrograms());
  mProgramNames.assign(static_cast<size_t>(programs), mDisplayName);
  mProgramSettings.assign(static_cast<size_t>(programs), std::string());
  mDisplayName = mMetaClass->GetProductName();
  for (std::int32_t i = 0; i < programs; ++i) {
    mProgramNames[static_cast<size_t>(i)] =
        programs == 1 ? mDisplayName : "User Config " + std::to_string(i + 1);
  }
  mPrefsName = mMetaClass->GetPrefsName();
  Publish(kConfigMessageClass);
  Publish(kClipMessageClass);
  Bank bank = ReadBank(mMetaClass->GetDefaultPrograms());
  CommitBank(bank);

  mParameterCount = mMetaClass->GetNumberOfParameters();
  mParameters = std::make_unique<ParameterValues[]>(static_cast<size_t>(mParameterCount));
  for (std::int32_t i = 0; i < mParameterCount; ++i) {
    mParameters[i].current.store(FLT_MAX);
    mParameters[i].delivered.store(FLT_MAX);
  }
  ResetParameterTracking();

  const size_t channels = static_cast<size_t>(std::max(0, NumChannels()));
  mScratch.assign(channels, std::vector<float>(static_cast<size_t>(GetBlockSize())));
  mSliceInputs.assign(static_cast<size_t>(std::max(0, mIOConfig.first)), nullptr);
  mSliceOutputs.assign(channels, nullptr);
  mPrerollInputs.assign(mSliceInputs.size(), nullptr);
}

PluginCore::~PluginCore() = default;

const char* PluginCore::GetHostProductString() const { return mPlatform->GetHostProductString(); }

void PluginCore::CopyInputsToOutputs(float** inputs, float** outputs, std::int32_t frames) const {
  if (!inputs || !outputs || frames <= 0) return;
  const std::int32_t channels = std::min(NumChannels(), mIOConfig.first);
  for (std::int32_t c = 0; c < channels; ++c) {
    if (inputs[c] && outputs[c] && inputs[c] != outputs[c]) std::copy_n(inputs[c], frames, outputs[c]);
  }
}

bool PluginCore::IsValidBlock(float** inputs, float** outputs, std::int32_t frames) const {
  if (frames <= 0 || !inputs || !outputs) return false;
  for (std::int32_t c = 0; c < mIOConfig.first; ++c) {
    if (!inputs[c]) return false;
  }
  for (std::int32_t c = 0; c < NumChannels(); ++c) {
    if (!outputs[c]) return false;
  }
  return true;
}

void PluginCore::SilenceIfReplacing(float** outputs, std::int32_t frames, bool accumulate) const {
  if (accumulate) return;
  for (std::int32_t c = 0; c < NumChannels(); ++c) std::fill_n(outputs[c], frames, 0.0f);
}

void PluginCore::Process(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                         std::int32_t mode) {
  if (!IsValidBlock(inputs, outputs, frames)) return;
  if (mode == 2) {
    CopyInputsToOutputs(inputs, outputs, frames);
    return;
  }
  AudioGate::Entry entry(mAudioGate);
  if (!entry.Entered()) {
    SilenceIfReplacing(outputs, frames, accumulate);
    return;
  }
  ProcessEntered(inputs, outputs, frames, accumulate, mode);
}

void PluginCore::ProcessEntered(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                                std::int32_t mode) {
  if (mode == 2) {
    CopyInputsToOutputs(inputs, outputs, frames);
    return;
  }
  const std::int32_t state = NextProcessState(mState.load(std::memory_order_relaxed), mode);
  mState.store(state, std::memory_order_relaxed);
  RunHook(inputs, outputs, frames, accumulate, state);
}

void PluginCore::RunHook(float** inputs, float** outputs, std::int32_t frames, bool accumulate,
                         std::int32_t state) {
  if (!accumulate) {
    ProcessBlock(inputs, outputs, frames, state);
    return;
  }
  const std::int32_t channels = NumChannels();
  const std::int32_t capacity =
      mScratch.empty() ? frames : static_cast<std::int32_t>(mScratch.front().size());
  if (capacity <= 0) return;
  for (std::int32_t offset = 0; offset < frames; offset += capacity) {
    const std::int32_t n = std::min(capacity, frames - offset);
    for (size_t c = 0; c < mSliceInputs.size(); ++c) mSliceInputs[c] = inputs[c] + offset;
    for (std::int32_t c = 0; c < channels; ++c) {
      mSliceOutputs[c] = outputs[c] + offset;
      std::copy_n(mSliceOutputs[c], n, mScratch[c].data());
    }
    ProcessBlock(mSliceInputs.data(), mSliceOutputs.data(), n, state);
    for (std::int32_t c = 0; c < channels; ++c) {
      float* out = mSliceOutputs[c];
      const float* saved = mScratch[c].data();
      for (std::int32_t i = 0; i < n; ++i) out[i] += saved[i];
    }
  }
}

void PluginCore::ResetProcessing() {
  {
    auto pause = mAudioGate.PauseOrThrow();
    mPrerollLength = std::max(0, GetInitialDelay());
    const size_t length = static_cast<size_t>(mPrerollLength == 0 ? 16 : mPrerollLength);
    mPreroll.assign(static_cast<size_t>(std::max(0, NumChannels())), std::vector<float>(length, 0.0f));
    mPrerollPointers.clear();
    for (auto& buffer : mPreroll) mPrerollPointers.push_back(buffer.data());
    mPrerollConsumed = 0;
  }
  Suspend();
  Resume();
}

std::int32_t PluginCore::ProcessWithPreroll(float** inputs, float** outputs, std::int32_t frames,
                                            bool accumulate, std::int32_t mode) {
  if (!IsValidBlock(inputs, outputs, frames)) return 0;
  AudioGate::Entry entry(mAudioGate);
  if (!entry.Entered()) {
    SilenceIfReplacing(outputs, frames, accumulate);
    return 0;
  }
  std::int32_t n = 0;
  if (mPrerollConsumed < mPrerollLength && !mPrerollPointers.empty()) {
    n = std::min(frames, mPrerollLength - mPrerollConsumed);
    ProcessEntered(inputs, mPrerollPointers.data(), n, accumulate, mode);
    mPrerollConsumed += n;
  }
  if (n >= frames) return 0;
  for (size_t c = 0; c < mPrerollInputs.size(); ++c) mPrerollInputs[c] = inputs[c] + n;
  ProcessEntered(mPrerollInputs.data(), outputs, frames - n, accumulate, mode);
  mPrerollConsumed += frames - n;
  return frames - n;
}

void PluginCore::SetSampleRate(float rate) {
  auto busy = mAudioGate.Busy();
  auto pause = mAudioGate.PauseOrThrow();
  OnBeforeSampleRateChange(rate);
  mSampleRate.store(rate, std::memory_order_relaxed);
  OnSampleRateChange(rate);
  SendMessage(kConfigMessageClass, kSampleRateChanged, 0);
  OnAfterSampleRateChange();
}

void PluginCore::SetBlockSize(std::int32_t size) {
  auto busy = mAudioGate.Busy();
  auto pause = mAudioGate.PauseOrThrow();
  mBlockSize.store(size, std::memory_order_relaxed);
  OnBlockSizeChange(size);
  SendMessage(kConfigMessageClass, kBlockSizeChanged, 0);
  OnAfterBlockSizeChange();
  const size_t frames = static_cast<size_t>(std::clamp(size, 1, kMaxScratchFrames));
  for (auto& buffer : mScratch) buffer.assign(frames, 0.0f);
}

void PluginCore::SendClipClear() { SendMessage(kClipMessageClass, kClipClear, 0); }
