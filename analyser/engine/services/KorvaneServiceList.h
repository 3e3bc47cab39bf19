#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "analyser/engine/services/KorvaneBalanceService.h"
#include "analyser/engine/services/KorvanePhaseService.h"

namespace Serialization {
class ObjectSerializerHub;
}

// The plug-in's analysis services, in the order balance, phase; each under its own name.
class KorvaneServiceList {
 public:
  KorvaneServiceList();
  KorvaneServiceList(const KorvaneServiceList&) = delete;
  KorvaneServiceList& operator=(const KorvaneServiceList&) = delete;

  KorvaneBalanceService& GetBalanceService() { return *mBalance; }
  KorvanePhaseService& GetPhaseService() { return *mPhase; }
  const std::vector<KorvaneServiceBase*>& GetServices() const { return mServices; }
  KorvaneServiceBase* Find(std::string_view name) const;

  // Each in list order.
  void RegisterWith(Serialization::ObjectSerializerHub& hub);
  void SetServices(PluginServices* services);
  void Reset();
  void Setup(float sampleRate, std::int32_t blockSize, std::int32_t channelCount);

 private:
  // Destroyed in reverse: the vector, then phase, then balance.
  std::unique_ptr<KorvaneBalanceService> mBalance;
  std::unique_ptr<KorvanePhaseService> mPhase;
  std::vector<KorvaneServiceBase*> mServices;
};
