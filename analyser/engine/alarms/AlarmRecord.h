#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Severities run from 0 to 4; widgets use them as picture cells, so nothing else is stored.
inline constexpr std::int32_t kLowestAlarmSeverity = 0;
inline constexpr std::int32_t kHighestAlarmSeverity = 4;

inline std::int32_t ClampAlarmSeverity(std::int32_t severity) {
  return std::clamp(severity, kLowestAlarmSeverity, kHighestAlarmSeverity);
}

// What an alarm watches and how, as its registrant gives it.
struct AlarmDefinition {
  // Comparisons of a value with the threshold; any other comparison is never true.
  static constexpr std::int32_t kAtLeast = 0;  // value >= threshold
  static constexpr std::int32_t kAbove = 1;    // value > threshold
  static constexpr std::int32_t kAtMost = 2;   // value <= threshold
  static constexpr std::int32_t kBelow = 3;    // value < threshold
  // A group in this mode triggers when any counted member does; in every other mode, when all do.
  static constexpr std::int32_t kAnyMember = 1;

  float minimum{0.0f};
  float maximum{0.0f};
  float threshold{0.0f};
  std::int32_t comparison{kAtLeast};
  bool absolute{false};
  std::int32_t severity{0};
  float initialValue{0.0f};
  // Empty for a single alarm.
  std::vector<std::string> members{};
  std::int32_t groupMode{0};
  // Which member severities a group counts; 0 counts none.
  std::int32_t groupTriggerSeverity{0};
};

// One registered alarm; the payload of every alarm message, read-only for its receivers.
struct AlarmRecord {
  std::string name{};
  // Holds the current threshold and group trigger severity.
  AlarmDefinition definition{};
  std::int32_t severity{0};
  bool triggered{false};
  bool active{false};
  float value{0.0f};
  // Highest severity among a group's triggered counted members.
  std::int32_t highestMemberSeverity{0};
};
