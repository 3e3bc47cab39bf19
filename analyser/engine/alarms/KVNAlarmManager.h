#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/engine/alarms/AlarmRecord.h"
#include "framework/archive/Serializable.h"
#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"

// The plug-in's named alarms: each compares a measured value (or, for a group, the state of its
// members) with a threshold and announces every change synchronously on 'almM' and 'aEvl'.
// User-interface thread only.
class KVNAlarmManager : public MessagePublisher, public Serialization::Serializable {
 public:
  static constexpr std::int32_t kAlarmMessageClass = FourCC('a', 'l', 'm', 'M');
  static constexpr std::int32_t kValueMessageClass = FourCC('a', 'E', 'v', 'l');

  // Codes on kAlarmMessageClass.
  static constexpr std::int32_t kActivated = FourCC('a', 'c', 't', 'i');
  static constexpr std::int32_t kDeactivated = FourCC('d', 'e', 'a', 'c');
  static constexpr std::int32_t kTriggered = FourCC('t', 'r', 'i', 'g');
  static constexpr std::int32_t kCleared = FourCC('c', 'l', 'r', 'A');
  static constexpr std::int32_t kSeveritySet = FourCC('a', 's', 'e', 'v');
  static constexpr std::int32_t kGroupTriggerSeveritySet = FourCC('g', 't', 's', 'c');
  static constexpr std::int32_t kThresholdSet = FourCC('a', 'T', 'H', 'c');
  // Code on kValueMessageClass.
  static constexpr std::int32_t kNewValue = FourCC('n', 'v', 'a', 'l');

  // The user's settings of one alarm as archived. A field the archive lacks, or a threshold
  // that is not a number, stays empty and leaves the alarm's own value alone.
  class PersistentAlarmInfo : public Serialization::Serializable {
   public:
    std::string_view GetTypeId() const override { return "QMR_PersistentAlarmInfo"; }
    void Save(Serialization::Archive& archive) override;
    // Severities are clamped to 0..4.
    void Load(Serialization::Archive& archive) override;

    std::string uai{"invalid"};
    std::optional<std::int32_t> severity{};
    std::optional<std::int32_t> groupTriggerSeverity{};
    std::optional<float> th{};
  };

  explicit KVNAlarmManager(PluginServices* services);

  // A new name gets a record (taking any pending settings of that name); a registered one is
  // only reactivated, its definition ignored.
  void RegisterAlarm(std::string_view name, const AlarmDefinition& definition);
  const AlarmRecord* FindAlarm(std::string_view name) const;
  // 0 for an unknown name.
  float GetThresholdByName(std::string_view name) const;
  float GetValueByName(std::string_view name) const;
  bool IsGroup(std::string_view name) const;

  // Unless forced, a value is taken only when it passes the alarm's comparison against the
  // stored one. A value that is not a number is never taken.
  static constexpr bool kNotForced = false;
  static constexpr bool kNotAnnounced = false;
  void UpdateValue(std::string_view name, float value, bool force, bool announce);
  // Clamped to the alarm's range; a threshold that is not a number is ignored.
  void SetThreshold(std::string_view name, float threshold);
  // Clamped to 0..4, as is a group's trigger severity.
  void SetSeverity(std::string_view name, std::int32_t severity);
  void SetGroupTriggerSeverity(std::string_view name, std::int32_t severity);
  void SetActive(std::string_view name, bool active);
  // A group clears its members.
  void ClearAlarm(std::string_view name);
  void ClearTriggeredMembers(std::string_view name);
  void ApplyPersistentInfo(const PersistentAlarmInfo& info);

  std::string_view GetTypeId() const override { return "QMR_KVNAlarmManager"; }
  // Settings of the registered alarms and the pending settings of the others, by name.
  void Save(Serialization::Archive& archive) override;
  // Replaces the pending settings. Every entry is read before any is applied, so an archive
  // that fails to read changes nothing.
  void Load(Serialization::Archive& archive) override;
  // Applies only the entries of the given names, a stored severity of 4 becoming the given one;
  // keeps the pending settings of other names.
  void LoadSelected(Serialization::Archive& archive, const std::set<std::string>& names,
                    std::int32_t severity);

 private:
  AlarmRecord* Find(std::string_view name);
  // Groups may name each other or themselves: each is visited once per clear.
  void ClearAlarm(std::string_view name, std::vector<const AlarmRecord*>& visitedGroups);
  void Announce(AlarmRecord& record);
  void ReevaluateGroupsOf(const AlarmRecord& alarm);
  void EvaluateGroup(AlarmRecord& group);
  std::vector<PersistentAlarmInfo> ReadEntries(Serialization::Archive& archive);
  void ApplyOrKeepPending(const PersistentAlarmInfo& info);
  void Send(std::int32_t msgClassRef, std::int32_t code, AlarmRecord& record);

  // Byte-wise name order, which is also the saved order.
  std::map<std::string, AlarmRecord, std::less<>> mAlarms{};
  // Loaded settings of alarms not registered yet.
  std::map<std::string, PersistentAlarmInfo, std::less<>> mPending{};
  // In registration order.
  std::vector<std::string> mGroupNames{};
};
