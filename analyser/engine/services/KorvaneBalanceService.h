#pragma once

#include <vector>

#include "analyser/engine/services/BalanceAnalysis.h"
#include "analyser/engine/services/KorvaneService.h"

// Per-channel RMS levels over 50 ms windows and the balance derived from their history, and
// the mid and side signals as block peaks and smoothed 100 ms maxima, handed to the editor
// through metering managers.
class KorvaneBalanceService : public KorvaneService<KorvaneBalanceService>,
                              public Serialization::Serializable {
 public:
  static constexpr const char* kServiceName = "KorvaneBalanceService";

  KorvaneBalanceService() = default;

  // A sample rate that is not usable is refused and changes nothing.
  void Setup(float sampleRate, std::int32_t blockSize, std::int32_t channelCount) override;
  void Reset() override { mAnalysis.Reset(); }
  void ClaimParts(AnalysisParts& parts) override;
  const char* GetName() const override { return kServiceName; }

  std::string_view GetTypeId() const override { return "QMR_KorvaneBalanceService"; }
  void Save(Serialization::Archive& archive) override;
  void Load(Serialization::Archive&) override {}

  // User-interface thread. The balance is in dB, positive when the second channel is louder.
  float GetBalancePeak() const { return mAnalysis.GetBalancePeak(); }
  void ResetBalancePeak() { mAnalysis.ResetBalancePeak(); }
  float ReadBalanceHistory(std::vector<float>* entries = nullptr) const {
    return mAnalysis.ReadBalanceHistory(entries);
  }
  MeteringManager& GetMidPeakMeter() { return mAnalysis.GetMidPeakMeter(); }
  MeteringManager& GetSidePeakMeter() { return mAnalysis.GetSidePeakMeter(); }
  MeteringManager& GetMidAverageMeter() { return mAnalysis.GetMidAverageMeter(); }
  MeteringManager& GetSideAverageMeter() { return mAnalysis.GetSideAverageMeter(); }
  MeteringManager& GetSpareMeter() { return mAnalysis.GetSpareMeter(); }

  std::int32_t GetChannelCount() const { return mChannelCount; }

 private:
  BalanceAnalysis mAnalysis;
  std::int32_t mChannelCount = 0;
};
