// The panel's two timers, the alarms they trigger (the master alarm among them) and the widgets
// that show them allocate nothing once the editor runs: every operator new is counted.
#include <gtest/gtest.h>

#include <vector>

#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/engine/MeasurementIds.h"
#include "tests/analyser/editor/support/PanelFixture.h"
#include "tests/support/AllocationCounter.h"

TEST(PanelNoAllocation, TimersTriggeringAlarmsAndTheirDraws) {
  PanelFixture f;
  f.Play(Sine(0.5f), Sine(-0.05f), 60);
  f.root.Flush();
  auto* panel = f.Find<KorvanePhaseAndBalanceMeterFrame>();
  ASSERT_NE(panel, nullptr);
  const auto sine = Sine(0.5f);
  std::vector<float> left(PanelFixture::kFramesPerTick), right(left.size()), outLeft(left.size()),
      outRight(left.size());
  // Out of phase, and louder on the left: the balance alarm counts for the master alarm.
  for (std::size_t i = 0; i < left.size(); ++i) right[i] = -0.1f * (left[i] = sine(std::int64_t(i)));
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  long allocations = 0;
  for (int i = 0; i < 10; ++i) {
    // A click's clear is no timer's work; every alarm triggers again in the timers below.
    f.Alarms().ClearAlarm(MeasurementIds::kMasterAlarm);
    f.root.Flush();
    for (int block = 0; block < 30; ++block)
      f.plugin.Process(inputs, outputs, PanelFixture::kFramesPerTick, false, 0);
    const long before = gAllocations.load();
    f.tick.Advance(2);
    panel->UpdateMidSideMeters();
    panel->PushAlarmValues();
    f.root.Flush();
    if (i > 0) allocations += gAllocations.load() - before;  // the first pass grows what it needs
    EXPECT_TRUE(f.Triggered(MeasurementIds::kCorrelationInst)) << i;
    EXPECT_TRUE(f.Triggered(MeasurementIds::kMasterAlarm)) << i;
  }
  EXPECT_EQ(allocations, 0);
}
