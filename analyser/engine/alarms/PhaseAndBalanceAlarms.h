#pragma once

class KVNAlarmManager;

// The five alarms of the phase-and-balance panel, with their default definitions.
void RegisterPhaseAndBalanceAlarms(KVNAlarmManager& manager);
