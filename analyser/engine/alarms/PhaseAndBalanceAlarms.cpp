#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"

#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"

namespace {

AlarmDefinition Single(float minimum, float maximum, float threshold, std::int32_t comparison, bool absolute,
                       std::int32_t severity, float initialValue) {
  AlarmDefinition definition;
  definition.minimum = minimum;
  definition.maximum = maximum;
  definition.threshold = threshold;
  definition.comparison = comparison;
  definition.absolute = absolute;
  definition.severity = severity;
  definition.initialValue = initialValue;
  definition.groupTriggerSeverity = kHighestAlarmSeverity;
  return definition;
}

}  // namespace

void RegisterPhaseAndBalanceAlarms(KVNAlarmManager& manager) {
  using namespace MeasurementIds;
  manager.RegisterAlarm(kCorrelationInst,
                        Single(-100.0f, 100.0f, -25.0f, AlarmDefinition::kBelow, false, 4, 100.0f));
  manager.RegisterAlarm(kCorrelationAvg,
                        Single(-100.0f, 100.0f, 0.0f, AlarmDefinition::kBelow, false, 4, 100.0f));
  AlarmDefinition antiphase = Single(0.0f, 0.0f, 0.0f, AlarmDefinition::kAtLeast, false, 3, 0.0f);
  antiphase.members = {kCorrelationInst, kCorrelationAvg};
  manager.RegisterAlarm(kAntiphaseSummary, antiphase);
  manager.RegisterAlarm(kBalanceLevel, Single(0.0f, 20.0f, 6.0f, AlarmDefinition::kAbove, true, 2, 0.0f));
  manager.RegisterAlarm(kSideToMidRatio,
                        Single(-40.0f, 0.0f, -20.0f, AlarmDefinition::kBelow, false, 1, 0.0f));
}
