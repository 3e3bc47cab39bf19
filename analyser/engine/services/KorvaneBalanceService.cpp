#include "analyser/engine/services/KorvaneBalanceService.h"

#include "analyser/engine/services/AnalysisPass.h"
#include "framework/archive/Archive.h"

void KorvaneBalanceService::Setup(float sampleRate, std::int32_t, std::int32_t channelCount) {
  if (!IsUsableSampleRate(sampleRate)) return;
  // The analysis always has the view's two channels, so nothing is sized by the count.
  mChannelCount = channelCount;
  mAnalysis.Configure(sampleRate);
}

void KorvaneBalanceService::ClaimParts(AnalysisParts& parts) {
  if (!IsMono()) parts.balance = &mAnalysis;
}

void KorvaneBalanceService::Save(Serialization::Archive& archive) { archive.WriteInt("One", 77); }
