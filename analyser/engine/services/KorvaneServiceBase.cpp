#include "analyser/engine/services/KorvaneServiceBase.h"

#include "analyser/engine/services/AnalysisPass.h"
#include "framework/core/PluginCoreInterface.h"
#include "framework/services/PluginServices.h"

void KorvaneServiceBase::SetServices(PluginServices* services) {
  mServices = services;
  // The plug-in object is both the services and the core; its input count never changes.
  const auto* core = dynamic_cast<const PluginCoreInterface*>(services);
  mMono.store(core != nullptr && core->GetIOConfig().first == 1, std::memory_order_relaxed);
}

void KorvaneServiceBase::Setup(float, std::int32_t, std::int32_t) {}

void KorvaneServiceBase::Process(const AnalysisView& view, std::int32_t frames) {
  AnalysisParts parts;
  ClaimParts(parts);
  RunAnalysisPass(view, frames, parts);
}

void KorvaneServiceBase::ClaimParts(AnalysisParts&) {}
