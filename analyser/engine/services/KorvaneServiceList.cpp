#include "analyser/engine/services/KorvaneServiceList.h"

#include "framework/archive/ObjectSerializerHub.h"

KorvaneServiceList::KorvaneServiceList()
    : mBalance(std::make_unique<KorvaneBalanceService>()),
      mPhase(std::make_unique<KorvanePhaseService>()),
      mServices{mBalance.get(), mPhase.get()} {}

KorvaneServiceBase* KorvaneServiceList::Find(std::string_view name) const {
  for (KorvaneServiceBase* service : mServices)
    if (name == service->GetName()) return service;
  return nullptr;
}

void KorvaneServiceList::RegisterWith(Serialization::ObjectSerializerHub& hub) {
  for (KorvaneServiceBase* service : mServices) hub.AddSatellite(*service);
}

void KorvaneServiceList::SetServices(PluginServices* services) {
  for (KorvaneServiceBase* service : mServices) service->SetServices(services);
}

void KorvaneServiceList::Reset() {
  for (KorvaneServiceBase* service : mServices) service->Reset();
}

void KorvaneServiceList::Setup(float sampleRate, std::int32_t blockSize, std::int32_t channelCount) {
  for (KorvaneServiceBase* service : mServices) service->Setup(sampleRate, blockSize, channelCount);
}

KorvaneServiceBase* FindService(KorvaneServiceList& list, std::string_view name) { return list.Find(name); }
