#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "analyser/engine/config/KVNPhaseConfig.h"
#include "analyser/engine/services/CorrelationMeter.h"
#include "analyser/engine/services/KorvaneService.h"
#include "analyser/engine/services/ScopeBuffer.h"

// Correlation of the two channels per 50 ms window with its minimum hold and long-term
// average, and the scope buffers that the phase scope draws from. Owns the phase-scope
// configuration.
class KorvanePhaseService : public KorvaneService<KorvanePhaseService>, public Serialization::Serializable {
 public:
  static constexpr const char* kServiceName = "KorvanePhaseService";

  KorvanePhaseService() = default;

  void SetServices(PluginServices* services) override;
  // A sample rate that is not usable is refused and changes nothing.
  void Setup(float sampleRate, std::int32_t blockSize, std::int32_t channelCount) override;
  void Reset() override;
  void ClaimParts(AnalysisParts& parts) override;
  const char* GetName() const override { return kServiceName; }

  std::string_view GetTypeId() const override { return "QMR_KorvanePhaseService"; }
  void Save(Serialization::Archive& archive) override;
  void Load(Serialization::Archive& archive) override;

  // User-interface thread.
  static constexpr std::int32_t GetScopeBufferSize() { return ScopeBuffer::kFrames; }
  float GetCorrelation() const { return mCorrelation.GetCorrelation(); }
  float GetCorrelationMinHold() const { return mCorrelation.GetMinHold(); }
  void ResetCorrelationMinHold() { mCorrelation.ResetMinHold(); }
  float GetCorrelationAverage() const { return mCorrelation.GetAverage(); }
  void ResetCorrelationAverage() { mCorrelation.ResetAverage(); }
  // Null until SetServices.
  KVNPhaseConfig* GetPhaseConfig() const { return mConfig.get(); }
  // Every ready buffer, oldest first; the reader hands each back with ScopeBuffer::Release.
  bool CollectReadyScopeBuffers(std::vector<ScopeBuffer*>& out) { return mPool.CollectReady(out); }

  std::int32_t GetChannelCount() const { return mChannelCount; }
  float GetSampleRate() const { return mSampleRate; }

 private:
  std::unique_ptr<KVNPhaseConfig> mConfig;
  std::atomic<const KVNPhaseConfig*> mAudioConfig{nullptr};  // what Process reads
  ScopeBufferPool mPool;
  CorrelationMeter mCorrelation;
  std::int32_t mChannelCount = 0;
  float mSampleRate = 0.0f;
};
