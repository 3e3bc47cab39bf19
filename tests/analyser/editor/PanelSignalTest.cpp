#include <gtest/gtest.h>

#include <set>
#include <string>

#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"
#include "analyser/editor/alarms/KVNMasterAlarmFrame.h"
#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/engine/MeasurementIds.h"
#include "tests/analyser/editor/support/PanelFixture.h"

using namespace MeasurementIds;

namespace {

struct SignalCase {
  const char* name;
  float left;   // amplitude of the shared sine
  float right;  // negative: inverted
  std::set<std::string> triggered;
};

std::set<std::string> TriggeredAlarms(PanelFixture& f) {
  std::set<std::string> names;
  for (const char* name :
       {kCorrelationInst, kCorrelationAvg, kAntiphaseSummary, kBalanceLevel, kSideToMidRatio, kMasterAlarm})
    if (f.Triggered(name)) names.insert(name);
  return names;
}

}  // namespace

// Five seconds of each signal through the plug-in, with the editor's timers at every tick.
TEST(PanelSignals, EachSignalTriggersItsAlarmsAndTheMaster) {
  const float k10dB = 3.16227766f, k3dB = 1.41253754f;
  const SignalCase cases[] = {
      {"inverted", 0.5f, -0.5f, {kCorrelationInst, kCorrelationAvg, kAntiphaseSummary, kMasterAlarm}},
      {"left only", 0.5f, 0.0f, {kBalanceLevel, kMasterAlarm}},
      {"one side +10 dB", 0.5f * k10dB, 0.5f, {kBalanceLevel, kMasterAlarm}},
      {"one side +3 dB", 0.5f * k3dB, 0.5f, {}},
      {"mono", 0.5f, 0.5f, {kSideToMidRatio, kMasterAlarm}},
      {"silence", 0.0f, 0.0f, {}},
  };
  for (const SignalCase& c : cases) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    ASSERT_NE(f.main, nullptr);
    f.Play(Sine(c.left), Sine(c.right), 300);
    EXPECT_EQ(TriggeredAlarms(f), c.triggered);
    // The master's bar shows the highest severity it counts.
    const AlarmRecord* master = f.Alarms().FindAlarm(kMasterAlarm);
    ASSERT_NE(master, nullptr);
    const std::int32_t expected = c.triggered.count(kAntiphaseSummary) ? 3
                                  : c.triggered.count(kBalanceLevel)   ? 2
                                  : c.triggered.count(kSideToMidRatio) ? 1
                                                                       : 0;
    EXPECT_EQ(master->highestMemberSeverity, expected);
  }
}

// The host's reset parameter reaches the master alarm now that the editor registers it.
TEST(PanelSignals, TheResetParameterClearsTheMasterAndItsMembers) {
  PanelFixture f;
  f.Play(Sine(0.5f), Sine(-0.5f), 120);
  ASSERT_TRUE(f.Triggered(kMasterAlarm));
  f.plugin.SetParameterByIndex(0, 1.0f);
  f.plugin.DispatchParameterChanges();
  EXPECT_FALSE(f.Triggered(kMasterAlarm));
  EXPECT_FALSE(f.Triggered(kAntiphaseSummary));
  EXPECT_FALSE(f.Triggered(kCorrelationInst));
  EXPECT_EQ(f.Alarms().GetValueByName(kCorrelationInst), 100.0f);
}
