#include <algorithm>
#include <sstream>
#include <utility>

#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "framework/archive/XMLArchive.h"
#include "tests/analyser/engine/alarms/AlarmFixture.h"
#include "tests/support/TreeArchive.h"

namespace {

using namespace MeasurementIds;
using Attributes = std::vector<std::pair<std::string, std::string>>;
using AlarmPersistence = AlarmFixture;

constexpr char kObject[] = "KVNAlarmManager";

// The manager's object in an archive to load, holding the given count and entries "0", "1", ...
// (an empty entry leaves its index out).
class Settings : public TreeArchive {
 public:
  Settings(std::optional<std::string> count, const std::vector<Attributes>& entries) {
    auto object = std::make_unique<Node>();
    object->name = kObject;
    object->type = "QMR_KVNAlarmManager";
    if (count) object->attributes.emplace_back("alarm_count", *count);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].empty()) continue;
      auto entry = std::make_unique<Node>();
      entry->name = std::to_string(i);
      entry->type = "QMR_PersistentAlarmInfo";
      entry->attributes = entries[i];
      object->children.push_back(std::move(entry));
    }
    root.children.push_back(std::move(object));
  }
};

void Load(KVNAlarmManager& manager, TreeArchive& archive) { manager.LoadAsObject(archive, kObject); }

void RegisterShownAlarms(KVNAlarmManager& manager) {
  RegisterPhaseAndBalanceAlarms(manager);
  AlarmDefinition master;
  master.comparison = AlarmDefinition::kAbove;
  master.severity = 3;
  master.members = {kCorrelationInst, kCorrelationAvg, kAntiphaseSummary, kBalanceLevel, kSideToMidRatio};
  master.groupMode = AlarmDefinition::kAnyMember;
  master.groupTriggerSeverity = 1;
  manager.RegisterAlarm(kMasterAlarm, master);
}

TEST_F(AlarmPersistence, SavesEveryRegisteredAndPendingAlarmInNameOrder) {
  RegisterShownAlarms(manager);
  manager.SetThreshold(kBalanceLevel, 9.5f);
  manager.SetSeverity(kSideToMidRatio, 3);
  Settings pending("1", {{{"uai", "not.registered"}, {"severity", "1"}}});
  Load(manager, pending);  // kept pending, and saved with the rest so a save never loses it

  TreeArchive archive;
  manager.SaveAsObject(archive, kObject);
  const TreeArchive::Node& object = *archive.root.children.at(0);
  EXPECT_EQ(object.type, "QMR_KVNAlarmManager");
  EXPECT_EQ(object.attributes, (Attributes{{"alarm_count", "7"}}));
  const std::vector<std::string> order = {kMasterAlarm,    "not.registered", kAntiphaseSummary, kBalanceLevel,
                                          kCorrelationAvg, kCorrelationInst, kSideToMidRatio};
  ASSERT_EQ(object.children.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(object.children[i]->name, std::to_string(i));
    EXPECT_EQ(object.children[i]->type, "QMR_PersistentAlarmInfo");
    EXPECT_EQ(object.children[i]->attributes.at(0).second, order[i]);
  }
  EXPECT_EQ(object.children[1]->attributes, (Attributes{{"uai", "not.registered"}, {"severity", "1"}}));
  EXPECT_EQ(object.children[3]->attributes, (Attributes{{"uai", kBalanceLevel},
                                                        {"th", std::to_string(9.5)},
                                                        {"severity", "2"},
                                                        {"groupTriggerSeverity", "4"}}));
  EXPECT_EQ(object.children[6]->attributes.at(2), (std::pair<std::string, std::string>{"severity", "3"}));
}

// Settings go into registered alarms at once, and into alarms registered later when they are.
TEST_F(AlarmPersistence, SettingsComeBackWhetherTheAlarmsAreRegisteredBeforeOrAfter) {
  RegisterShownAlarms(manager);
  manager.SetThreshold(kCorrelationInst, -40.0f);
  manager.SetSeverity(kBalanceLevel, 0);
  manager.SetSeverity(kAntiphaseSummary, 1);
  manager.SetGroupTriggerSeverity(kMasterAlarm, 3);
  TreeArchive archive;
  manager.SaveAsObject(archive, kObject);

  for (const bool registeredFirst : {true, false}) {
    PluginServices otherServices;
    KVNAlarmManager other(&otherServices);
    if (registeredFirst) RegisterShownAlarms(other);
    Load(other, archive);
    if (!registeredFirst) RegisterShownAlarms(other);
    EXPECT_EQ(other.GetThresholdByName(kCorrelationInst), -40.0f) << registeredFirst;
    EXPECT_EQ(other.FindAlarm(kBalanceLevel)->severity, 0) << registeredFirst;
    EXPECT_EQ(other.FindAlarm(kAntiphaseSummary)->severity, 1) << registeredFirst;
    EXPECT_EQ(other.FindAlarm(kMasterAlarm)->definition.groupTriggerSeverity, 3) << registeredFirst;
    EXPECT_EQ(other.FindAlarm(kMasterAlarm)->definition.threshold, 1.0f) << registeredFirst;
  }
}

TEST_F(AlarmPersistence, LoadingIntoRegisteredAlarmsTellsTheWidgets) {
  manager.RegisterAlarm("a", Single(0.0f, AlarmDefinition::kAbove));
  manager.RegisterAlarm("g", Group({"a"}, 0, 1));
  Heard();
  Settings archive(
      "2", {{{"uai", "a"}, {"th", "5"}, {"severity", "1"}}, {{"uai", "g"}, {"groupTriggerSeverity", "2"}}});
  Load(manager, archive);
  EXPECT_EQ(Heard(), (Log{"asev a", "nval g", "aTHc a", "nval a", "gtsc g", "nval g"}));
}

// Stored values beyond what an alarm can hold are brought into range on either path.
TEST_F(AlarmPersistence, StoredValuesAreClampedOrRefused) {
  struct Case {
    Attributes entry;
    float threshold;
    std::int32_t severity;
    std::int32_t triggerSeverity;
  };
  // The antiphase group: severity 3, trigger severity 4. The balance alarm: 0..20, threshold 6.
  const Case cases[] = {
      {{{"uai", kAntiphaseSummary}, {"severity", "9"}, {"groupTriggerSeverity", "17"}}, 1.0f, 4, 4},
      {{{"uai", kAntiphaseSummary}, {"severity", "-3"}, {"groupTriggerSeverity", "-2147483648"}}, 1.0f, 0, 0},
      {{{"uai", kAntiphaseSummary}, {"th", "0.25"}, {"groupTriggerSeverity", "2"}}, 1.0f, 3, 2},
      {{{"uai", kBalanceLevel}, {"th", "500"}, {"severity", "2147483647"}}, 20.0f, 4, 4},
      {{{"uai", kBalanceLevel}, {"th", "-1e300"}}, 0.0f, 2, 4},
      {{{"uai", kBalanceLevel}, {"th", "1e300"}}, 20.0f, 2, 4},
      {{{"uai", kBalanceLevel}, {"th", "-inf"}}, 0.0f, 2, 4},
      {{{"uai", kBalanceLevel}, {"th", "nan"}, {"severity", "1"}}, 6.0f, 1, 4},
      {{{"uai", kBalanceLevel}, {"th", "12.5"}}, 12.5f, 2, 4},
  };
  for (const Case& c : cases) {
    for (const bool registeredFirst : {true, false}) {
      PluginServices otherServices;
      KVNAlarmManager other(&otherServices);
      if (registeredFirst) RegisterPhaseAndBalanceAlarms(other);
      Settings archive("1", {c.entry});
      Load(other, archive);
      if (!registeredFirst) RegisterPhaseAndBalanceAlarms(other);
      const AlarmRecord& record = *other.FindAlarm(c.entry[0].second);
      const std::string where = c.entry[1].second + (registeredFirst ? " registered" : " pending");
      EXPECT_EQ(record.definition.threshold, c.threshold) << where;
      EXPECT_EQ(record.severity, c.severity) << where;
      EXPECT_EQ(record.definition.groupTriggerSeverity, c.triggerSeverity) << where;
    }
  }
}

TEST_F(AlarmPersistence, TheStoredCountIsNotTrusted) {
  struct Case {
    std::string count;
    std::vector<Attributes> entries;
    std::vector<std::string> applied;
  };
  const Attributes a = {{"uai", "a"}, {"severity", "0"}};
  const Attributes b = {{"uai", "b"}, {"severity", "0"}};
  const Case cases[] = {
      {"2147483647", {a, b}, {"a", "b"}},
      {"1", {a, b}, {"a"}},
      {"3", {a, {}, b}, {"a"}},  // stops at the first missing entry
      {"0", {a, b}, {}},
      {"-2147483648", {a, b}, {}},
  };
  for (const Case& c : cases) {
    for (const bool registeredFirst : {true, false}) {
      PluginServices otherServices;
      KVNAlarmManager other(&otherServices);
      const auto registerBoth = [&] {
        other.RegisterAlarm("a", Single(0.0f, AlarmDefinition::kAbove, 3));
        other.RegisterAlarm("b", Single(0.0f, AlarmDefinition::kAbove, 3));
      };
      if (registeredFirst) registerBoth();
      Settings archive(c.count, c.entries);
      Load(other, archive);
      if (!registeredFirst) registerBoth();
      for (const char* name : {"a", "b"}) {
        const bool applied = std::find(c.applied.begin(), c.applied.end(), name) != c.applied.end();
        EXPECT_EQ(other.FindAlarm(name)->severity, applied ? 0 : 3) << c.count << name;
      }
    }
  }
}

TEST_F(AlarmPersistence, EachLoadReplacesThePendingSettings) {
  Settings first("2", {{{"uai", "a"}, {"severity", "1"}, {"th", "5"}}, {{"uai", "a"}, {"severity", "2"}}});
  Load(manager, first);
  Settings second("1", {{{"uai", "b"}, {"severity", "1"}}});
  Load(manager, second);
  Settings third("1", {{{"uai", "a"}, {"severity", "0"}}});
  Load(manager, third);
  manager.RegisterAlarm("b", Single(0.0f, AlarmDefinition::kAbove, 3));
  EXPECT_EQ(manager.FindAlarm("b")->severity, 3);  // the third load discarded it
  Load(manager, first);
  manager.RegisterAlarm("a", Single(0.0f, AlarmDefinition::kAbove, 3));
  // The later entry replaced the earlier one whole.
  EXPECT_EQ(manager.FindAlarm("a")->severity, 2);
  EXPECT_EQ(manager.GetThresholdByName("a"), 0.0f);
  EXPECT_TRUE(Heard().empty());

  Settings noCount(std::nullopt, {{{"uai", "c"}, {"severity", "1"}}});
  Load(manager, first);
  Load(manager, noCount);
  manager.RegisterAlarm("c", Single(0.0f, AlarmDefinition::kAbove, 3));
  EXPECT_EQ(manager.FindAlarm("c")->severity, 3);
  EXPECT_EQ(manager.FindAlarm("a")->severity, 2);
}

TEST_F(AlarmPersistence, AnArchiveThatFailsToReadChangesNothing) {
  manager.RegisterAlarm("a", Single(0.0f, AlarmDefinition::kAbove, 3));
  Settings earlier("1", {{{"uai", "later"}, {"severity", "1"}}});
  Load(manager, earlier);
  Heard();
  Settings broken("2", {{{"uai", "a"}, {"severity", "1"}, {"th", "50"}},
                        {{"uai", "later"}, {"severity", "not a number"}}});
  EXPECT_ANY_THROW(Load(manager, broken));
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(manager.FindAlarm("a")->severity, 3);
  EXPECT_EQ(manager.GetThresholdByName("a"), 0.0f);
  manager.RegisterAlarm("later", Single(0.0f, AlarmDefinition::kAbove, 3));
  EXPECT_EQ(manager.FindAlarm("later")->severity, 1);
}

TEST_F(AlarmPersistence, LoadSelectedAppliesOnlyTheNamedAlarms) {
  manager.RegisterAlarm("a", Single(0.0f, AlarmDefinition::kAbove, 1));
  manager.RegisterAlarm("b", Single(0.0f, AlarmDefinition::kAbove, 1));
  Settings kept("1", {{{"uai", "p"}, {"severity", "0"}}});
  Load(manager, kept);
  Settings archive("4", {{{"uai", "a"}, {"severity", "4"}, {"th", "7"}},
                         {{"uai", "b"}, {"severity", "3"}},
                         {{"uai", "q"}, {"severity", "4"}},
                         {{"uai", "r"}, {"severity", "3"}}});
  archive.EnterObject(kObject, "QMR_KVNAlarmManager");
  manager.LoadSelected(archive, {"a", "q", "p"}, 2);
  EXPECT_EQ(manager.FindAlarm("a")->severity, 2);
  EXPECT_EQ(manager.GetThresholdByName("a"), 7.0f);
  EXPECT_EQ(manager.FindAlarm("b")->severity, 1);
  for (const auto& [name, severity] : {std::pair{"p", 0}, std::pair{"q", 2}, std::pair{"r", 1}}) {
    manager.RegisterAlarm(name, Single(0.0f, AlarmDefinition::kAbove, 1));
    EXPECT_EQ(manager.FindAlarm(name)->severity, severity) << name;
  }
}

TEST_F(AlarmPersistence, SettingsRoundTripThroughXmlText) {
  RegisterShownAlarms(manager);
  manager.SetThreshold(kBalanceLevel, 9.25f);
  manager.SetThreshold(kSideToMidRatio, -33.5f);
  manager.SetSeverity(kCorrelationAvg, 2);
  manager.SetGroupTriggerSeverity(kMasterAlarm, 2);
  std::ostringstream out;
  {
    Serialization::XMLArchive archive(out, "Alarm Test", true);
    archive.BeginSave();
    manager.SaveAsObject(archive, kObject);
    archive.EndSave();
  }
  const std::string text = out.str();
  EXPECT_NE(text.find("\t<att name=\"alarm_count\" type=\"i\">6</att>\n"), std::string::npos);
  EXPECT_NE(text.find("\t\t<att name=\"uai\" type=\"str\">global.master_alarm</att>\n"
                      "\t\t<att name=\"th\" type=\"f\">1"),
            std::string::npos);

  PluginServices otherServices;
  KVNAlarmManager other(&otherServices);
  Serialization::XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  other.LoadAsObject(archive, kObject);
  RegisterShownAlarms(other);
  for (const char* name :
       {kMasterAlarm, kAntiphaseSummary, kBalanceLevel, kCorrelationAvg, kCorrelationInst, kSideToMidRatio}) {
    const AlarmRecord& saved = *manager.FindAlarm(name);
    const AlarmRecord& loaded = *other.FindAlarm(name);
    EXPECT_EQ(loaded.definition.threshold, saved.definition.threshold) << name;
    EXPECT_EQ(loaded.severity, saved.severity) << name;
    EXPECT_EQ(loaded.definition.groupTriggerSeverity, saved.definition.groupTriggerSeverity) << name;
  }
}

TEST_F(AlarmPersistence, AHandEditedXmlTextIsReadSafely) {
  const std::string text =
      "<obj_archive type=\"T\">\n"
      "<obj id=\"1\" name=\"KVNAlarmManager\" type=\"QMR_KVNAlarmManager\">\n"
      "\t<att name=\"alarm_count\" type=\"i\">2147483647</att>\n"
      "\t<obj id=\"2\" name=\"0\" type=\"QMR_PersistentAlarmInfo\">\n"
      "\t\t<att name=\"uai\" type=\"str\">phase_and_balance.balance.level</att>\n"
      "\t\t<att name=\"th\" type=\"f\">nan</att>\n"
      "\t\t<att name=\"severity\" type=\"i\">99</att>\n"
      "\t</obj>\n"
      "</obj>\n"
      "</obj_archive>\n";
  RegisterPhaseAndBalanceAlarms(manager);
  Serialization::XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  manager.LoadAsObject(archive, kObject);
  const AlarmRecord& balance = *manager.FindAlarm(kBalanceLevel);
  EXPECT_EQ(balance.definition.threshold, 6.0f);
  EXPECT_EQ(balance.severity, 4);
}

}  // namespace
