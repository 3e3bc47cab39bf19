#include "analyser/engine/alarms/KVNAlarmManager.h"

#include <algorithm>
#include <cmath>

namespace {

bool Passes(const AlarmDefinition& definition, float value, float reference) {
  if (definition.absolute) {
    value = std::fabs(value);
    reference = std::fabs(reference);
  }
  switch (definition.comparison) {
    case AlarmDefinition::kAtLeast:
      return value >= reference;
    case AlarmDefinition::kAbove:
      return value > reference;
    case AlarmDefinition::kAtMost:
      return value <= reference;
    case AlarmDefinition::kBelow:
      return value < reference;
    default:
      return false;
  }
}

float ClampToRange(const AlarmDefinition& definition, float threshold) {
  return std::min(std::max(threshold, definition.minimum), definition.maximum);
}

bool IsGroupRecord(const AlarmRecord& record) { return !record.definition.members.empty(); }

}  // namespace

KVNAlarmManager::KVNAlarmManager(PluginServices* services) : MessagePublisher(services) {
  Publish(kAlarmMessageClass);
  Publish(kValueMessageClass);
}

void KVNAlarmManager::RegisterAlarm(std::string_view name, const AlarmDefinition& definition) {
  ExpectInstanceMutex(__func__);
  if (AlarmRecord* existing = Find(name)) {
    if (!existing->active) {
      existing->active = true;
      Send(kAlarmMessageClass, kActivated, *existing);
    }
    return;
  }
  AlarmRecord record;
  record.name = name;
  record.definition = definition;
  record.definition.groupTriggerSeverity = ClampAlarmSeverity(definition.groupTriggerSeverity);
  record.severity = ClampAlarmSeverity(definition.severity);
  record.active = true;
  record.value = definition.initialValue;

  const auto pending = mPending.find(name);
  if (pending != mPending.end()) {
    const PersistentAlarmInfo& info = pending->second;
    // Clamped as a load into a registered alarm would, so the outcome does not depend on
    // whether the editor had registered the alarms before the settings came.
    if (info.th) record.definition.threshold = ClampToRange(record.definition, *info.th);
    if (info.severity) record.severity = *info.severity;
    if (info.groupTriggerSeverity) record.definition.groupTriggerSeverity = *info.groupTriggerSeverity;
  }

  const bool group = IsGroupRecord(record);
  if (group) {
    record.definition.minimum = 1.0f;
    record.definition.maximum = 1.0f;
    record.definition.threshold = 1.0f;
    record.definition.comparison = AlarmDefinition::kAtLeast;
    record.definition.initialValue = 0.0f;
    record.value = 0.0f;
  }

  const auto inserted = mAlarms.emplace(record.name, std::move(record)).first;
  if (group) {
    try {
      mGroupNames.push_back(inserted->first);
    } catch (...) {
      mAlarms.erase(inserted);
      throw;
    }
  }
  if (pending != mPending.end()) mPending.erase(pending);
}

const AlarmRecord* KVNAlarmManager::FindAlarm(std::string_view name) const {
  const auto found = mAlarms.find(name);
  return found != mAlarms.end() ? &found->second : nullptr;
}

AlarmRecord* KVNAlarmManager::Find(std::string_view name) {
  const auto found = mAlarms.find(name);
  return found != mAlarms.end() ? &found->second : nullptr;
}

float KVNAlarmManager::GetThresholdByName(std::string_view name) const {
  const AlarmRecord* record = FindAlarm(name);
  return record ? record->definition.threshold : 0.0f;
}

float KVNAlarmManager::GetValueByName(std::string_view name) const {
  const AlarmRecord* record = FindAlarm(name);
  return record ? record->value : 0.0f;
}

bool KVNAlarmManager::IsGroup(std::string_view name) const {
  const AlarmRecord* record = FindAlarm(name);
  return record && IsGroupRecord(*record);
}

// Records are never removed and map nodes never move, so a record stays valid across the
// messages sent about it, whatever their handlers register.
void KVNAlarmManager::UpdateValue(std::string_view name, float value, bool force, bool announce) {
  ExpectInstanceMutex(__func__);
  AlarmRecord* record = Find(name);
  // A stored NaN would fail every later comparison and freeze the alarm until cleared.
  if (!record || !record->active || std::isnan(value)) return;
  if (!force && !Passes(record->definition, value, record->value)) return;
  const bool wasTriggered = record->triggered;
  record->value = value;
  record->triggered = Passes(record->definition, value, record->definition.threshold);
  Send(kValueMessageClass, kNewValue, *record);
  if (record->triggered != wasTriggered || announce) Announce(*record);
}

void KVNAlarmManager::SetThreshold(std::string_view name, float threshold) {
  ExpectInstanceMutex(__func__);
  AlarmRecord* record = Find(name);
  if (!record || std::isnan(threshold)) return;
  record->definition.threshold = ClampToRange(record->definition, threshold);
  Send(kAlarmMessageClass, kThresholdSet, *record);
  if (!record->active) return;
  const bool wasTriggered = record->triggered;
  record->triggered = Passes(record->definition, record->value, record->definition.threshold);
  Send(kValueMessageClass, kNewValue, *record);
  if (record->triggered != wasTriggered) Announce(*record);
}

void KVNAlarmManager::SetSeverity(std::string_view name, std::int32_t severity) {
  ExpectInstanceMutex(__func__);
  AlarmRecord* record = Find(name);
  if (!record) return;
  record->severity = ClampAlarmSeverity(severity);
  Send(kAlarmMessageClass, kSeveritySet, *record);
  if (record->triggered) Send(kAlarmMessageClass, kTriggered, *record);
  ReevaluateGroupsOf(*record);
}

void KVNAlarmManager::SetGroupTriggerSeverity(std::string_view name, std::int32_t severity) {
  ExpectInstanceMutex(__func__);
  AlarmRecord* record = Find(name);
  if (!record || !IsGroupRecord(*record)) return;
  record->definition.groupTriggerSeverity = ClampAlarmSeverity(severity);
  Send(kAlarmMessageClass, kGroupTriggerSeveritySet, *record);
  EvaluateGroup(*record);
}

void KVNAlarmManager::SetActive(std::string_view name, bool active) {
  ExpectInstanceMutex(__func__);
  AlarmRecord* record = Find(name);
  if (!record || record->active == active) return;
  if (!active && record->triggered) ClearAlarm(name);
  record->active = active;
  Send(kAlarmMessageClass, active ? kActivated : kDeactivated, *record);
}

void KVNAlarmManager::ClearAlarm(std::string_view name) {
  ExpectInstanceMutex(__func__);
  std::vector<const AlarmRecord*> visitedGroups;
  ClearAlarm(name, visitedGroups);
}

void KVNAlarmManager::ClearAlarm(std::string_view name, std::vector<const AlarmRecord*>& visitedGroups) {
  AlarmRecord* record = Find(name);
  if (!record || !record->active) return;
  if (IsGroupRecord(*record)) {
    if (std::find(visitedGroups.begin(), visitedGroups.end(), record) != visitedGroups.end()) return;
    visitedGroups.push_back(record);
    // Members never change after registration, so the list can be walked while clearing.
    for (const std::string& member : record->definition.members) ClearAlarm(member, visitedGroups);
    return;
  }
  record->triggered = false;
  record->value = record->definition.initialValue;
  Send(kAlarmMessageClass, kCleared, *record);
  Send(kValueMessageClass, kNewValue, *record);
  ReevaluateGroupsOf(*record);
}

void KVNAlarmManager::ClearTriggeredMembers(std::string_view name) {
  ExpectInstanceMutex(__func__);
  const AlarmRecord* record = Find(name);
  if (!record || !IsGroupRecord(*record)) return;
  for (const std::string& member : record->definition.members) {
    const AlarmRecord* memberRecord = Find(member);
    if (memberRecord && memberRecord->triggered) ClearAlarm(member);
  }
}

void KVNAlarmManager::ApplyPersistentInfo(const PersistentAlarmInfo& info) {
  ExpectInstanceMutex(__func__);
  if (info.severity) SetSeverity(info.uai, *info.severity);
  if (info.th) SetThreshold(info.uai, *info.th);
  if (info.groupTriggerSeverity) SetGroupTriggerSeverity(info.uai, *info.groupTriggerSeverity);
}

void KVNAlarmManager::Announce(AlarmRecord& record) {
  Send(kAlarmMessageClass, record.triggered ? kTriggered : kCleared, record);
  ReevaluateGroupsOf(record);
}

void KVNAlarmManager::ReevaluateGroupsOf(const AlarmRecord& alarm) {
  // By index: a handler may register a group meanwhile.
  for (std::size_t i = 0; i < mGroupNames.size(); ++i) {
    AlarmRecord* group = Find(mGroupNames[i]);
    if (!group) continue;
    const std::vector<std::string>& members = group->definition.members;
    if (std::find(members.begin(), members.end(), alarm.name) != members.end()) EvaluateGroup(*group);
  }
}

void KVNAlarmManager::EvaluateGroup(AlarmRecord& group) {
  const std::int32_t previousHighest = group.highestMemberSeverity;
  const std::int32_t trigger = group.definition.groupTriggerSeverity;
  group.highestMemberSeverity = 0;
  int counted = 0;
  int triggered = 0;
  if (trigger != 0) {
    for (const std::string& member : group.definition.members) {
      const AlarmRecord* record = Find(member);
      if (!record) continue;
      const std::int32_t severity = record->severity;
      if (severity == kHighestAlarmSeverity && trigger == kHighestAlarmSeverity) {
        ++counted;
        if (record->triggered) ++triggered;
      } else if (severity >= trigger && severity != kHighestAlarmSeverity) {
        ++counted;
        if (record->triggered) {
          ++triggered;
          group.highestMemberSeverity = std::max(group.highestMemberSeverity, severity);
        }
      }
    }
  }
  const bool on = group.definition.groupMode == AlarmDefinition::kAnyMember
                      ? triggered > 0
                      : counted > 0 && triggered == counted;
  UpdateValue(group.name, on ? 1.0f : 0.0f, true, group.highestMemberSeverity != previousHighest);
}

void KVNAlarmManager::Send(std::int32_t msgClassRef, std::int32_t code, AlarmRecord& record) {
  SendMessage(msgClassRef, code, 0, &record);
}
