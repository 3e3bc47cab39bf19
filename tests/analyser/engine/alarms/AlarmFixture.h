#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"

// A manager on its own services, with every message it sends logged as "code name",
// e.g. "trig phase_and_balance.balance.level".
class AlarmFixture : public ::testing::Test {
 protected:
  using Log = std::vector<std::string>;

  AlarmFixture() {
    MessagingServer& server = services.GetMessagingServer();
    for (const std::int32_t msgClassRef :
         {KVNAlarmManager::kAlarmMessageClass, KVNAlarmManager::kValueMessageClass})
      server.Subscribe(manager.GetMessageClass(msgClassRef), &Record, this, 0);
  }

  // The messages sent since the last call.
  Log Heard() {
    Log heard;
    heard.swap(log);
    return heard;
  }

  static AlarmDefinition Single(float threshold, std::int32_t comparison, std::int32_t severity = 2,
                                float initialValue = 0.0f) {
    AlarmDefinition definition;
    definition.minimum = -100.0f;
    definition.maximum = 100.0f;
    definition.threshold = threshold;
    definition.comparison = comparison;
    definition.severity = severity;
    definition.initialValue = initialValue;
    return definition;
  }

  static AlarmDefinition Group(std::vector<std::string> members, std::int32_t mode,
                               std::int32_t triggerSeverity, std::int32_t severity = 3) {
    AlarmDefinition definition;
    definition.minimum = -5.0f;
    definition.maximum = 5.0f;
    definition.threshold = 2.0f;
    definition.comparison = AlarmDefinition::kBelow;
    definition.severity = severity;
    definition.initialValue = 7.0f;
    definition.members = std::move(members);
    definition.groupMode = mode;
    definition.groupTriggerSeverity = triggerSeverity;
    return definition;
  }

  bool Triggered(const std::string& name) const {
    const AlarmRecord* record = manager.FindAlarm(name);
    return record && record->triggered;
  }

  PluginServices services;
  Log log;  // outlives the manager, whose going away is heard too
  KVNAlarmManager manager{&services};

 private:
  static std::int32_t Record(MessageSubscription*, void* userData, std::int32_t, MessageClass*,
                             std::int32_t code, std::int32_t value, void* payload) {
    auto* self = static_cast<AlarmFixture*>(userData);
    EXPECT_EQ(value, 0);
    const std::string name = payload ? static_cast<const AlarmRecord*>(payload)->name : "-";
    const auto c = static_cast<std::uint32_t>(code);
    const char text[] = {static_cast<char>(c >> 24), static_cast<char>(c >> 16), static_cast<char>(c >> 8),
                         static_cast<char>(c), ' '};
    self->log.push_back(std::string(text, sizeof text) + name);
    return 0;
  }
};
