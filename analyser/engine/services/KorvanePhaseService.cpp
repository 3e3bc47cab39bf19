#include "analyser/engine/services/KorvanePhaseService.h"

#include "analyser/engine/services/AnalysisPass.h"
#include "framework/archive/Archive.h"
#include "framework/metering/Decibels.h"

namespace {

// One result per 50 ms window, whatever the sample rate.
const double kWindowsPerSecond = 1.0 / static_cast<double>(CorrelationMeter::kWindowSeconds);

}  // namespace

void KorvanePhaseService::SetServices(PluginServices* services) {
  KorvaneServiceBase::SetServices(services);
  mAudioConfig.store(nullptr, std::memory_order_release);
  mConfig.reset();
  mConfig = std::make_unique<KVNPhaseConfig>(services);
  mAudioConfig.store(mConfig.get(), std::memory_order_release);
}

void KorvanePhaseService::Setup(float sampleRate, std::int32_t, std::int32_t channelCount) {
  if (!IsUsableSampleRate(sampleRate)) return;
  mChannelCount = channelCount;
  mSampleRate = sampleRate;
  mCorrelation.Configure(static_cast<std::int32_t>(sampleRate * CorrelationMeter::kWindowSeconds),
                         static_cast<float>(SmoothingCoefficient(5.0, kWindowsPerSecond)),
                         static_cast<float>(SmoothingCoefficient(1.0, kWindowsPerSecond)));
  // The pool has a fixed size: it is set back as built, never reallocated.
  mPool.Clear();
}

void KorvanePhaseService::Reset() {
  mPool.HandBackReady();
  mCorrelation.ResetCorrelation();
}

void KorvanePhaseService::ClaimParts(AnalysisParts& parts) {
  if (!HasWork() || IsMono()) return;
  parts.correlation = &mCorrelation;
  const KVNPhaseConfig* config = mAudioConfig.load(std::memory_order_acquire);
  if (config != nullptr && config->IsPhaseScopeEnabled()) parts.scope = &mPool;
}

void KorvanePhaseService::Save(Serialization::Archive& archive) {
  if (mConfig != nullptr) mConfig->SaveAsObject(archive, "KVNPhaseConfig");
}

void KorvanePhaseService::Load(Serialization::Archive& archive) {
  if (mConfig != nullptr && archive.HasEntry("KVNPhaseConfig"))
    mConfig->LoadAsObject(archive, "KVNPhaseConfig");
}
