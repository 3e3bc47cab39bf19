#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "framework/core/AtomicCounter.h"
#include "framework/core/PluginCore.h"

namespace {

// Host program names longer than this are cut. A name is written unescaped into its bank line,
// so what would end that line or its quoted value is changed as it enters: a line break becomes
// a blank, a double quote an apostrophe.
constexpr size_t kMaxProgramNameLength = 1024;

std::string CleanProgramName(const char* name) {
  std::string cleaned(name, strnlen(name, kMaxProgramNameLength));
  std::replace(cleaned.begin(), cleaned.end(), '\r', ' ');
  std::replace(cleaned.begin(), cleaned.end(), '\n', ' ');
  std::replace(cleaned.begin(), cleaned.end(), '"', '\'');
  return cleaned;
}

}  // namespace

void PluginCore::SetParameter(const ParameterDescriptor& descriptor, float value) {
  const std::int32_t index = descriptor.mIndex;
  if (index < 0 || index >= mParameterCount || std::isnan(value)) return;
  if (descriptor.mId == mReporting.load()) return;  // the host's echo of our own report
  auto busy = mAudioGate.Busy();
  const bool dropped = (descriptor.mFlags & ParameterDescriptor::kEditorOnly) && !IsEditorOpen();
  if (!dropped) {
    value = std::clamp(value, std::min(descriptor.mMinimum, descriptor.mMaximum),
                       std::max(descriptor.mMinimum, descriptor.mMaximum));
    if (ValidateParameterChange(descriptor, value)) {
      mParameters[index].current.store(value, std::memory_order_relaxed);
      mChangeCount.fetch_add(1, std::memory_order_release);
    }
    mParameters[index].lastReported.store(FLT_MAX, std::memory_order_relaxed);
  }
}

void PluginCore::SetParameterByIndex(std::int32_t index, float value) {
  if (const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index)) {
    SetParameter(*descriptor, value);
  }
}

float PluginCore::GetParameterByIndex(std::int32_t index) const {
  const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(index);
  return descriptor ? GetParameter(*descriptor) : 0.0f;
}

float PluginCore::GetStoredParameterValue(const ParameterDescriptor& descriptor) const {
  const std::int32_t index = descriptor.mIndex;
  if (index < 0 || index >= mParameterCount) return descriptor.mDefault;
  const float value = mParameters[index].current.load(std::memory_order_relaxed);
  return value == FLT_MAX ? descriptor.mDefault : value;
}

void PluginCore::ForceParameterReports(bool on) {
  if (on) {
    mForcedReports.fetch_add(1);
  } else {
    DecrementWithFloor(mForcedReports);
  }
}

void PluginCore::DispatchParameterChanges() {
  const std::int32_t changes = mChangeCount.load(std::memory_order_acquire);
  if (changes == mDeliveredCount) return;
  mDeliveredCount = changes;
  for (std::int32_t i = 0; i < mParameterCount; ++i) {
    const float current = mParameters[i].current.load(std::memory_order_relaxed);
    if (current == mParameters[i].delivered.load(std::memory_order_relaxed)) continue;
    const ParameterDescriptor* descriptor = mMetaClass->GetParameterDescriptor(i);
    if (!descriptor) continue;
    auto busy = mAudioGate.Busy();
    OnParameterChange(*descriptor, current);
    mParameters[i].delivered.store(current, std::memory_order_relaxed);
  }
}

void PluginCore::ReportParameterChange(std::int32_t id, float value, bool force) {
  mReporting.store(id);
  struct EndReport {
    std::atomic<std::int32_t>& reporting;
    ~EndReport() { reporting.store(-1); }
  } end{mReporting};
  const ParameterDescriptor* descriptor = mMetaClass->FindParameterDescriptor(id);
  if (!descriptor || descriptor->mIndex < 0 || descriptor->mIndex >= mParameterCount || std::isnan(value))
    return;
  value = std::clamp(value, std::min(descriptor->mMinimum, descriptor->mMaximum),
                     std::max(descriptor->mMinimum, descriptor->mMaximum));
  auto& lastReported = mParameters[descriptor->mIndex].lastReported;
  const bool forced = mForcedReports.load() > 0;
  if ((!mAudioGate.IsBusy() || forced) && (force || value != lastReported.load() || forced)) {
    lastReported.store(value);
    mPlatform->AutomateParameter(descriptor->mIndex, value);
  }
}

void PluginCore::ResetParameterTracking() {
  mChangeCount.store(0);
  mDeliveredCount = 0;
  for (std::int32_t i = 0; i < mParameterCount; ++i) {
    mParameters[i].delivered.store(mParameters[i].current.load());
    mParameters[i].lastReported.store(FLT_MAX);
  }
}

void PluginCore::SetProgramName(const char* name) {
  if (!name || mCurrentProgram < 0 || static_cast<size_t>(mCurrentProgram) >= mProgramNames.size()) return;
  mProgramNames[static_cast<size_t>(mCurrentProgram)] = CleanProgramName(name);
}

std::string PluginCore::GetProgramNameIndexed(std::int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= mProgramNames.size()) return {};
  return mProgramNames[static_cast<size_t>(index)];
}

std::string PluginCore::GetProgramName() const { return GetProgramNameIndexed(mCurrentProgram); }
