#include <algorithm>

#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "tests/analyser/engine/alarms/AlarmFixture.h"

namespace {

using AlarmGroup = AlarmFixture;

// Member alarms that trigger at 1 and clear at 0 when fed with force.
class AlarmGroupMembers : public AlarmFixture {
 protected:
  void Member(const std::string& name, std::int32_t severity) {
    manager.RegisterAlarm(name, Single(1.0f, AlarmDefinition::kAtLeast, severity));
  }
  void Set(const std::string& name, bool on) { manager.UpdateValue(name, on ? 1.0f : 0.0f, true, false); }
};

TEST_F(AlarmGroup, RegistrationImposesTheGroupComparisonAndEvaluatesNothing) {
  AlarmDefinition definition = Group({"later"}, 1, 2, 3);
  definition.absolute = true;
  manager.RegisterAlarm("g", definition);
  const AlarmRecord* group = manager.FindAlarm("g");
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(manager.IsGroup("g"));
  EXPECT_EQ(group->definition.minimum, 1.0f);
  EXPECT_EQ(group->definition.maximum, 1.0f);
  EXPECT_EQ(group->definition.threshold, 1.0f);
  EXPECT_EQ(group->definition.comparison, AlarmDefinition::kAtLeast);
  EXPECT_EQ(group->definition.initialValue, 0.0f);
  EXPECT_EQ(group->value, 0.0f);
  EXPECT_TRUE(group->definition.absolute);
  EXPECT_EQ(group->severity, 3);
  EXPECT_EQ(group->definition.groupMode, 1);
  EXPECT_EQ(group->definition.groupTriggerSeverity, 2);
  EXPECT_TRUE(Heard().empty());

  // Members are looked up when evaluated, so one registered after its group counts.
  manager.RegisterAlarm("later", Single(1.0f, AlarmDefinition::kAtLeast, 2));
  EXPECT_FALSE(Triggered("g"));
  manager.UpdateValue("later", 1.0f, false, false);
  EXPECT_TRUE(Triggered("g"));
  EXPECT_FALSE(manager.IsGroup("later"));
}

TEST_F(AlarmGroupMembers, AllMembersOrAnyMemberTrigger) {
  struct Case {
    bool a;
    bool b;
    bool all;
    bool any;
  };
  const Case cases[] = {
      {false, false, false, false}, {true, false, false, true},   {true, true, true, true},
      {false, true, false, true},   {false, false, false, false},
  };
  Member("a", 2);
  Member("b", 2);
  manager.RegisterAlarm("all", Group({"a", "b"}, 0, 1));
  manager.RegisterAlarm("any", Group({"a", "b"}, AlarmDefinition::kAnyMember, 1));
  for (const Case& c : cases) {
    Set("a", c.a);
    Set("b", c.b);
    EXPECT_EQ(Triggered("all"), c.all) << c.a << c.b;
    EXPECT_EQ(Triggered("any"), c.any) << c.a << c.b;
  }
}

TEST_F(AlarmGroupMembers, TheTriggerSeverityDecidesWhichMembersCount) {
  struct Case {
    std::int32_t memberSeverity;
    std::int32_t triggerSeverity;
    bool counted;
    std::int32_t highest;
  };
  const Case cases[] = {
      {4, 4, true, 0},   // severity 4 counts only in a group of trigger severity 4,
      {4, 1, false, 0},  // and never raises the highest severity
      {3, 4, false, 0}, {3, 3, true, 3},  {3, 1, true, 3},
      {1, 2, false, 0}, {0, 0, false, 0},  // trigger severity 0 counts none
  };
  int index = 0;
  for (const Case& c : cases) {
    const std::string member = "m" + std::to_string(index);
    const std::string group = "g" + std::to_string(index++);
    Member(member, c.memberSeverity);
    manager.RegisterAlarm(group, Group({member}, 0, c.triggerSeverity));
    Set(member, true);
    EXPECT_EQ(Triggered(group), c.counted) << group;
    EXPECT_EQ(manager.GetValueByName(group), c.counted ? 1.0f : 0.0f) << group;
    EXPECT_EQ(manager.FindAlarm(group)->highestMemberSeverity, c.highest) << group;
  }
}

TEST_F(AlarmGroupMembers, AHigherTriggeredSeverityAnnouncesTheGroupAgain) {
  Member("a", 2);
  Member("b", 3);
  manager.RegisterAlarm("g", Group({"a", "b"}, AlarmDefinition::kAnyMember, 1));
  manager.UpdateValue("a", 1.0f, false, false);
  EXPECT_EQ(Heard(), (Log{"nval a", "trig a", "nval g", "trig g"}));
  manager.UpdateValue("b", 1.0f, false, false);
  EXPECT_EQ(Heard(), (Log{"nval b", "trig b", "nval g", "trig g"}));
  EXPECT_EQ(manager.FindAlarm("g")->highestMemberSeverity, 3);
  // A member that stays triggered leaves its groups alone.
  manager.UpdateValue("b", 2.0f, false, false);
  EXPECT_EQ(Heard(), (Log{"nval b"}));
}

TEST_F(AlarmGroupMembers, SeverityChangesReevaluateTheGroups) {
  Member("a", 2);
  manager.RegisterAlarm("g", Group({"a"}, 0, 2));
  Set("a", true);
  ASSERT_TRUE(Triggered("g"));
  Heard();
  manager.SetSeverity("a", 1);  // below the trigger severity: no longer counted
  EXPECT_EQ(Heard(), (Log{"asev a", "trig a", "nval g", "clrA g"}));

  manager.SetGroupTriggerSeverity("a", 1);  // not a group
  EXPECT_TRUE(Heard().empty());
  manager.SetGroupTriggerSeverity("g", -7);
  EXPECT_EQ(manager.FindAlarm("g")->definition.groupTriggerSeverity, 0);
  EXPECT_EQ(Heard(), (Log{"gtsc g", "nval g"}));
  manager.SetGroupTriggerSeverity("g", 1);
  EXPECT_EQ(Heard(), (Log{"gtsc g", "nval g", "trig g"}));
}

TEST_F(AlarmGroupMembers, ClearingAGroupClearsItsMembers) {
  Member("a", 2);
  Member("b", 2);
  Member("c", 2);
  manager.RegisterAlarm("g", Group({"a", "b", "c"}, AlarmDefinition::kAnyMember, 1));
  Set("a", true);
  Set("c", true);
  Heard();
  manager.ClearTriggeredMembers("g");
  Log heard = Heard();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "clrA a"), 1);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "clrA b"), 0);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "clrA c"), 1);
  EXPECT_EQ(heard.back(), "clrA g");
  EXPECT_FALSE(Triggered("g"));

  Set("a", true);
  Heard();
  manager.ClearAlarm("g");
  heard = Heard();
  for (const char* cleared : {"clrA a", "clrA b", "clrA c"})
    EXPECT_EQ(std::count(heard.begin(), heard.end(), cleared), 1) << cleared;
  EXPECT_FALSE(Triggered("g"));
}

TEST_F(AlarmGroupMembers, HandlersMayRegisterGroupsWhileGroupsAreEvaluated) {
  struct Registrar {
    KVNAlarmManager* manager{nullptr};
    int made{0};
  } registrar{&manager};
  const auto registerMore = [](MessageSubscription*, void* userData, std::int32_t, MessageClass*,
                               std::int32_t code, std::int32_t, void*) -> std::int32_t {
    auto* self = static_cast<Registrar*>(userData);
    if (code == KVNAlarmManager::kNewValue && self->made < 64)
      self->manager->RegisterAlarm("late" + std::to_string(self->made++),
                                   Group({"a"}, AlarmDefinition::kAnyMember, 1));
    return 0;
  };
  Member("a", 2);
  manager.RegisterAlarm("g", Group({"a"}, AlarmDefinition::kAnyMember, 1));
  services.GetMessagingServer().Subscribe(manager.GetMessageClass(KVNAlarmManager::kValueMessageClass),
                                          registerMore, &registrar, 0);
  Set("a", true);
  EXPECT_TRUE(Triggered("g"));
  EXPECT_GT(registrar.made, 1);
}

TEST_F(AlarmGroup, CorrelationAlarmsReachTheMasterThroughTheAntiphaseGroup) {
  using namespace MeasurementIds;
  RegisterPhaseAndBalanceAlarms(manager);
  const std::vector<std::string> shown = {kCorrelationInst, kCorrelationAvg, kAntiphaseSummary, kBalanceLevel,
                                          kSideToMidRatio};
  AlarmDefinition master;
  master.comparison = AlarmDefinition::kAbove;
  master.severity = 3;
  master.members = shown;
  master.groupMode = AlarmDefinition::kAnyMember;
  master.groupTriggerSeverity = 1;
  manager.RegisterAlarm(kMasterAlarm, master);

  const AlarmRecord* balance = manager.FindAlarm(kBalanceLevel);
  ASSERT_NE(balance, nullptr);
  EXPECT_EQ(balance->definition.threshold, 6.0f);
  EXPECT_TRUE(balance->definition.absolute);
  EXPECT_EQ(manager.FindAlarm(kAntiphaseSummary)->definition.members,
            (std::vector<std::string>{kCorrelationInst, kCorrelationAvg}));

  manager.UpdateValue(kCorrelationInst, -30.0f, false, false);
  EXPECT_TRUE(Triggered(kCorrelationInst));
  EXPECT_FALSE(Triggered(kAntiphaseSummary));  // both correlation alarms are needed
  EXPECT_FALSE(Triggered(kMasterAlarm));       // severity 4 is not counted by the master
  manager.UpdateValue(kCorrelationAvg, -1.0f, false, false);
  EXPECT_TRUE(Triggered(kAntiphaseSummary));
  EXPECT_TRUE(Triggered(kMasterAlarm));
  EXPECT_EQ(manager.FindAlarm(kMasterAlarm)->highestMemberSeverity, 3);

  manager.UpdateValue(kBalanceLevel, -7.0f, false, false);  // a magnitude above 6 dB
  EXPECT_TRUE(Triggered(kBalanceLevel));
  manager.ClearAlarm(kMasterAlarm);
  for (const std::string& name : shown) EXPECT_FALSE(Triggered(name)) << name;
  EXPECT_FALSE(Triggered(kMasterAlarm));
}

}  // namespace

namespace {

// Groups that name each other, or themselves, clear their single members once and end.
TEST_F(AlarmGroupMembers, GroupsThatNameEachOtherClearTheirMembersOnce) {
  Member("a", 2);
  Member("b", 2);
  manager.RegisterAlarm("g1", Group({"a", "g2", "g1"}, 1, 1));
  manager.RegisterAlarm("g2", Group({"g1", "b"}, 1, 1));
  Set("a", true);
  Set("b", true);
  Heard();
  manager.ClearAlarm("g1");
  EXPECT_FALSE(Triggered("a"));
  EXPECT_FALSE(Triggered("b"));
  const Log heard = Heard();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "clrA a"), 1);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "clrA b"), 1);
  manager.ClearTriggeredMembers("g2");
}

}  // namespace
