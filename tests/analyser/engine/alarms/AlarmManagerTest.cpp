#include <cmath>
#include <limits>

#include "tests/analyser/engine/alarms/AlarmFixture.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using AlarmManager = AlarmFixture;

TEST_F(AlarmManager, ABelowAlarmKeepsTheLowestValueAndTriggersOnce) {
  manager.RegisterAlarm("a", Single(-25.0f, AlarmDefinition::kBelow, 2, 100.0f));
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.GetValueByName("a"), 100.0f);

  manager.UpdateValue("a", -10.0f, false, false);
  EXPECT_EQ(Heard(), (Log{"nval a"}));
  manager.UpdateValue("a", -30.0f, false, false);
  EXPECT_EQ(Heard(), (Log{"nval a", "trig a"}));
  manager.UpdateValue("a", -20.0f, false, false);  // not below the stored -30
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.GetValueByName("a"), -30.0f);
  EXPECT_TRUE(Triggered("a"));

  manager.ClearAlarm("a");
  EXPECT_EQ(Heard(), (Log{"clrA a", "nval a"}));
  EXPECT_EQ(manager.GetValueByName("a"), 100.0f);
  EXPECT_FALSE(Triggered("a"));
}

TEST_F(AlarmManager, ForcedAndAnnouncedUpdates) {
  manager.RegisterAlarm("a", Single(-25.0f, AlarmDefinition::kBelow, 2, 100.0f));
  manager.UpdateValue("a", -30.0f, false, false);
  Heard();
  manager.UpdateValue("a", 50.0f, true, false);
  EXPECT_EQ(Heard(), (Log{"nval a", "clrA a"}));
  EXPECT_EQ(manager.GetValueByName("a"), 50.0f);
  // Unchanged state is told again when announced.
  manager.UpdateValue("a", 40.0f, false, true);
  EXPECT_EQ(Heard(), (Log{"nval a", "clrA a"}));
}

TEST_F(AlarmManager, ANaNValueIsNeverStored) {
  manager.RegisterAlarm("a", Single(-25.0f, AlarmDefinition::kBelow, 2, 100.0f));
  manager.UpdateValue("a", kNaN, false, true);
  manager.UpdateValue("a", kNaN, true, true);
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.GetValueByName("a"), 100.0f);
  // The alarm still follows later values.
  manager.UpdateValue("a", -30.0f, false, false);
  EXPECT_TRUE(Triggered("a"));
}

TEST_F(AlarmManager, ComparisonsAgainstTheThreshold) {
  struct Case {
    std::int32_t comparison;
    bool absolute;
    float value;
    float threshold;
    bool triggered;
  };
  const Case cases[] = {
      {AlarmDefinition::kAtLeast, false, 5.0f, 5.0f, true},
      {AlarmDefinition::kAtLeast, false, 4.9f, 5.0f, false},
      {AlarmDefinition::kAbove, false, 5.0f, 5.0f, false},
      {AlarmDefinition::kAbove, false, 5.1f, 5.0f, true},
      {AlarmDefinition::kAtMost, false, 5.0f, 5.0f, true},
      {AlarmDefinition::kBelow, false, 5.0f, 5.0f, false},
      {AlarmDefinition::kBelow, false, -6.0f, 5.0f, true},
      {AlarmDefinition::kAbove, true, -7.0f, 6.0f, true},   // magnitudes
      {AlarmDefinition::kAbove, true, 5.0f, -6.0f, false},  // |5| > |-6| is false
      {AlarmDefinition::kBelow, true, -3.0f, -6.0f, true},
      {7, false, 5.0f, 5.0f, false},  // an unknown comparison is never true
      {-1, false, 5.0f, 5.0f, false},
  };
  int index = 0;
  for (const Case& c : cases) {
    const std::string name = "c" + std::to_string(index++);
    AlarmDefinition definition = Single(c.threshold, c.comparison);
    definition.absolute = c.absolute;
    manager.RegisterAlarm(name, definition);
    manager.UpdateValue(name, c.value, true, false);
    EXPECT_EQ(Triggered(name), c.triggered) << name;
  }
}

TEST_F(AlarmManager, ThresholdsAreClampedAndReevaluateTheValue) {
  AlarmDefinition definition = Single(6.0f, AlarmDefinition::kAbove);
  definition.minimum = 0.0f;
  definition.maximum = 20.0f;
  manager.RegisterAlarm("b", definition);
  manager.UpdateValue("b", 10.0f, false, false);
  ASSERT_TRUE(Triggered("b"));
  Heard();

  manager.SetThreshold("b", 50.0f);
  EXPECT_EQ(manager.GetThresholdByName("b"), 20.0f);
  EXPECT_EQ(Heard(), (Log{"aTHc b", "nval b", "clrA b"}));
  manager.SetThreshold("b", 20.0f);  // unchanged: told all the same
  EXPECT_EQ(Heard(), (Log{"aTHc b", "nval b"}));
  manager.SetThreshold("b", -3.0f);
  EXPECT_EQ(manager.GetThresholdByName("b"), 0.0f);
  EXPECT_EQ(Heard(), (Log{"aTHc b", "nval b", "trig b"}));

  manager.SetThreshold("b", kNaN);
  EXPECT_EQ(manager.GetThresholdByName("b"), 0.0f);
  EXPECT_TRUE(Heard().empty());

  manager.SetActive("b", false);
  Heard();
  manager.SetThreshold("b", 15.0f);
  EXPECT_EQ(manager.GetThresholdByName("b"), 15.0f);
  EXPECT_EQ(Heard(), (Log{"aTHc b"}));
}

TEST_F(AlarmManager, SeverityIsToldAndClamped) {
  manager.RegisterAlarm("a", Single(0.0f, AlarmDefinition::kAtLeast, 9));
  EXPECT_EQ(manager.FindAlarm("a")->severity, 4);
  manager.SetSeverity("a", 1);
  EXPECT_EQ(Heard(), (Log{"asev a"}));
  manager.UpdateValue("a", 1.0f, false, false);
  Heard();
  manager.SetSeverity("a", -2);
  EXPECT_EQ(manager.FindAlarm("a")->severity, 0);
  EXPECT_EQ(Heard(), (Log{"asev a", "trig a"}));
}

TEST_F(AlarmManager, DeactivationClearsAndSilencesTheAlarmUntilItIsRegisteredAgain) {
  manager.RegisterAlarm("a", Single(-25.0f, AlarmDefinition::kBelow, 2, 100.0f));
  manager.UpdateValue("a", -30.0f, false, false);
  Heard();
  manager.SetActive("a", true);  // unchanged
  EXPECT_TRUE(Heard().empty());
  manager.SetActive("a", false);
  EXPECT_EQ(Heard(), (Log{"clrA a", "nval a", "deac a"}));

  manager.UpdateValue("a", -50.0f, true, true);
  manager.ClearAlarm("a");
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.GetValueByName("a"), 100.0f);

  // Registering again reactivates; the new definition is ignored.
  manager.RegisterAlarm("a", Single(99.0f, AlarmDefinition::kAbove));
  EXPECT_EQ(Heard(), (Log{"acti a"}));
  manager.RegisterAlarm("a", Single(98.0f, AlarmDefinition::kAbove));
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.GetThresholdByName("a"), -25.0f);
  EXPECT_EQ(manager.FindAlarm("a")->definition.comparison, AlarmDefinition::kBelow);
}

TEST_F(AlarmManager, UnknownNamesDoNothing) {
  manager.UpdateValue("x", 1.0f, true, true);
  manager.SetThreshold("x", 1.0f);
  manager.SetSeverity("x", 1);
  manager.SetGroupTriggerSeverity("x", 1);
  manager.SetActive("x", false);
  manager.ClearAlarm("x");
  manager.ClearTriggeredMembers("x");
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.FindAlarm("x"), nullptr);
  EXPECT_EQ(manager.GetThresholdByName("x"), 0.0f);
  EXPECT_EQ(manager.GetValueByName("x"), 0.0f);
  EXPECT_FALSE(manager.IsGroup("x"));
}

}  // namespace
