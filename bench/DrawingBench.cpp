// The editor's drawing through the real path: a buffered frame draws with the virtual LineTo
// (origin and clip applied) into the back buffer, which is then copied to the window's buffer.
// Ten layers of 2048 points, as the phase scope draws at density 10 and decay 10.
#include <benchmark/benchmark.h>

#include "tests/toolkit/support/ScopeScene.h"

namespace {

void DrawScope(benchmark::State& state, ScopeLikeFrame::Signal signal, bool dots) {
  TestRoot root(399, 470);
  auto* scope = new ScopeLikeFrame(root.GetRootFrame(), 9, 112, signal, dots);
  root.Flush();
  for (auto _ : state) {
    PluginUIRoot::DrawingScope scope_(root, false);
    scope->Redraw(nullptr, true);
  }
  state.counters["points"] = benchmark::Counter(ScopeLikeFrame::kLayers * ScopeLikeFrame::kPoints);
}

void BM_ScopeSineLines(benchmark::State& state) { DrawScope(state, ScopeLikeFrame::Signal::kSines, false); }
void BM_ScopeNoiseLines(benchmark::State& state) { DrawScope(state, ScopeLikeFrame::Signal::kNoise, false); }
void BM_ScopeDots(benchmark::State& state) { DrawScope(state, ScopeLikeFrame::Signal::kNoise, true); }

void BM_FullRepaint(benchmark::State& state) {
  TestRoot root(399, 470);
  EditorScene scene(root);
  root.Flush();
  for (auto _ : state) {
    PluginUIRoot::DrawingScope scope(root, false);
    root.GetRootFrame()->Redraw(nullptr, true);
  }
}

BENCHMARK(BM_ScopeSineLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeNoiseLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeDots)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
