#pragma once

#include <string>
#include <vector>

#include "analyser/engine/MeasurementIds.h"

class KVNAlarmManager;

// The five alarms of the phase-and-balance panel, with their default definitions.
void RegisterPhaseAndBalanceAlarms(KVNAlarmManager& manager);

// Their names in the editor's order: the two correlation alarms, their anti-phase group, the
// balance and the side-to-mid ratio.
inline std::vector<std::string> PhaseAndBalanceAlarmNames() {
  using namespace MeasurementIds;
  return {kCorrelationInst, kCorrelationAvg, kAntiphaseSummary, kBalanceLevel, kSideToMidRatio};
}
