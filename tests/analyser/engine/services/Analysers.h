#pragma once

#include "analyser/engine/services/AnalysisPass.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "framework/services/PluginServices.h"

// The plug-in's two analysis services as the signal tests drive them.
class Analysers {
 public:
  Analysers() { mList.SetServices(&mServices); }

  void Setup(float rate) { mList.Setup(rate, 480, 2); }
  void Process(const float* a, const float* b, int frames) {
    const AnalysisView view{a, b};
    for (KorvaneServiceBase* service : mList.GetServices()) service->Process(view, frames);
  }
  // As the plug-in runs them: every service's parts in one pass.
  void ProcessInOnePass(const float* a, const float* b, int frames) {
    AnalysisParts parts;
    for (KorvaneServiceBase* service : mList.GetServices()) service->ClaimParts(parts);
    RunAnalysisPass(AnalysisView{a, b}, frames, parts);
  }
  float Correlation() { return Phase().GetCorrelation(); }
  float Hold() { return Phase().GetCorrelationMinHold(); }
  float Average() { return Phase().GetCorrelationAverage(); }
  KorvaneBalanceService& Balance() { return mList.GetBalanceService(); }
  KorvanePhaseService& Phase() { return mList.GetPhaseService(); }
  KorvaneServiceList& List() { return mList; }

 private:
  PluginServices mServices;  // outlives the list
  KorvaneServiceList mList;
};
