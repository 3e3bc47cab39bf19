#include <algorithm>
#include <cmath>
#include <limits>

#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "framework/archive/Archive.h"

namespace {

constexpr char kAlarmCount[] = "alarm_count";
constexpr char kName[] = "uai";
constexpr char kThreshold[] = "th";
constexpr char kSeverity[] = "severity";
constexpr char kGroupTriggerSeverity[] = "groupTriggerSeverity";

// A double beyond the float range has no float value at all; it becomes the largest one.
std::optional<float> ToThreshold(double stored) {
  if (std::isnan(stored)) return std::nullopt;
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::min(std::max(stored, -kLargest), kLargest));
}

}  // namespace

void KVNAlarmManager::PersistentAlarmInfo::Save(Serialization::Archive& archive) {
  archive.WriteString(kName, uai);
  if (th) archive.WriteFloat(kThreshold, *th);
  if (severity) archive.WriteInt(kSeverity, *severity);
  if (groupTriggerSeverity) archive.WriteInt(kGroupTriggerSeverity, *groupTriggerSeverity);
}

void KVNAlarmManager::PersistentAlarmInfo::Load(Serialization::Archive& archive) {
  uai = archive.ReadStringOrDefault(kName, "invalid");
  th = archive.HasEntry(kThreshold) ? ToThreshold(archive.ReadFloat(kThreshold)) : std::nullopt;
  severity = std::nullopt;
  if (archive.HasEntry(kSeverity)) severity = ClampAlarmSeverity(archive.ReadInt(kSeverity));
  groupTriggerSeverity = std::nullopt;
  if (archive.HasEntry(kGroupTriggerSeverity))
    groupTriggerSeverity = ClampAlarmSeverity(archive.ReadInt(kGroupTriggerSeverity));
}

// Settings loaded for alarms that are not registered yet are saved too: a state loaded and saved
// again without the editor ever opening must keep the user's thresholds and severities.
void KVNAlarmManager::Save(Serialization::Archive& archive) {
  std::vector<PersistentAlarmInfo> entries;
  entries.reserve(mAlarms.size() + mPending.size());
  for (const auto& [name, record] : mAlarms) {
    PersistentAlarmInfo& info = entries.emplace_back();
    info.uai = name;
    info.th = record.definition.threshold;
    info.severity = record.severity;
    info.groupTriggerSeverity = record.definition.groupTriggerSeverity;
  }
  for (const auto& [name, info] : mPending) {
    if (mAlarms.find(name) == mAlarms.end()) entries.push_back(info);
  }
  std::sort(entries.begin(), entries.end(),
            [](const PersistentAlarmInfo& a, const PersistentAlarmInfo& b) { return a.uai < b.uai; });
  archive.WriteInt(kAlarmCount, static_cast<std::int32_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i].SaveAsObject(archive, std::to_string(i));
}

void KVNAlarmManager::Load(Serialization::Archive& archive) {
  ExpectInstanceMutex(__func__);
  const std::vector<PersistentAlarmInfo> entries = ReadEntries(archive);
  mPending.clear();
  for (const PersistentAlarmInfo& info : entries) ApplyOrKeepPending(info);
}

void KVNAlarmManager::LoadSelected(Serialization::Archive& archive, const std::set<std::string>& names,
                                   std::int32_t severity) {
  for (PersistentAlarmInfo& info : ReadEntries(archive)) {
    if (names.count(info.uai) == 0) continue;
    if (info.severity == kHighestAlarmSeverity) info.severity = ClampAlarmSeverity(severity);
    ApplyOrKeepPending(info);
  }
}

// The stored count is not trusted: reading stops at the first entry that is not there.
std::vector<KVNAlarmManager::PersistentAlarmInfo> KVNAlarmManager::ReadEntries(
    Serialization::Archive& archive) {
  const std::int32_t count = archive.ReadIntOrDefault(kAlarmCount, 0);
  std::vector<PersistentAlarmInfo> entries;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::string name = std::to_string(i);
    if (!archive.HasEntry(name)) break;
    entries.emplace_back().LoadAsObject(archive, name);
  }
  return entries;
}

void KVNAlarmManager::ApplyOrKeepPending(const PersistentAlarmInfo& info) {
  if (FindAlarm(info.uai))
    ApplyPersistentInfo(info);
  else
    mPending.insert_or_assign(info.uai, info);
}
