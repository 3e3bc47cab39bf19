#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "analyser/engine/alarms/AlarmRecord.h"

class PluginUIRoot;

// Widgets that act on several alarms keep their own copy of the names, sorted byte-wise without
// duplicates; the first name is the one they follow.
inline std::vector<std::string> SortedAlarmNames(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// The picture cell of an alarm: its severity while triggered, else 0.
inline std::int32_t AlarmStateCell(const AlarmRecord& record) {
  return record.triggered ? ClampAlarmSeverity(record.severity) : 0;
}

// Shift with no other modifier, as the event being handled left the keys.
bool IsShiftAlone(const PluginUIRoot* root);
