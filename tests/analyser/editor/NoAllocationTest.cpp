// The editor's ticks and draws allocate nothing once it runs: every operator new is counted.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/analyser/editor/support/EditorFixture.h"
#include "tests/support/AllocationCounter.h"

namespace {

TEST(NoAllocation, TicksAndDrawsOfTheWholeEditorInEveryMode) {
  EditorFixture f;
  f.plugin.CreateEditorFrame(&f.root);
  std::vector<float> left(2048), right(2048);
  for (std::int32_t i = 0; i < 2048; ++i) {
    left[i] = 0.7f * std::sin(float(i) * 0.05f);
    right[i] = 0.4f * std::sin(float(i) * 0.07f);
  }
  const AnalysisView view{left.data(), right.data()};
  auto tick = [&] {
    for (KorvaneServiceBase* service : f.plugin.GetServiceList().GetServices()) service->Process(view, 2048);
    TickAllFrames(*f.root.GetRootFrame());
    f.root.Flush();
  };
  const struct {
    std::int32_t type, xyStyle, polarStyle;
  } modes[] = {{2, 0, 1}, {2, 0, 2}, {2, 0, 0}, {0, 1, 0}, {0, 0, 0}, {1, 1, 0}};
  for (const auto& mode : modes) {
    f.Config().SetPlotType(mode.type, true);
    f.Config().SetXYPlotStyle(mode.xyStyle, true);
    f.Config().SetPolarPlotStyle(mode.polarStyle, true);
    f.Config().SetPlotDensity(10, true);
    f.Config().SetPlotDecay(10, true);
    for (int i = 0; i < 3; ++i) tick();
    const long before = gAllocations.load();
    for (int i = 0; i < 12; ++i) tick();
    EXPECT_EQ(gAllocations.load() - before, 0) << "mode " << mode.type << mode.xyStyle << mode.polarStyle;
  }
}

}  // namespace
