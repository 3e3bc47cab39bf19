// The phase scope's work per timer tick, per mode: advancing its state from one scope buffer,
// then painting it into the back buffer as its frame's draw does (the polar background copied
// from the panel's bitmap first), and the back buffer copied to the window.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "analyser/editor/scope/PhaseScopeModel.h"
#include "analyser/editor/scope/PhaseScopePainter.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"

namespace {

constexpr std::int32_t kSize = 200;
constexpr Rect kArea{0, 0, kSize, kSize};
constexpr Point kScopeAt{9, 112};

// Buffers of a stereo signal: correlated noise (a typical mix) or independent full-scale noise.
std::vector<std::vector<float>> Buffers(bool fullScale, std::int32_t count) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  std::vector<std::vector<float>> buffers;
  for (std::int32_t b = 0; b < count; ++b) {
    std::vector<float> left(phasescope::kFrames), right(phasescope::kFrames);
    for (std::int32_t i = 0; i < phasescope::kFrames; ++i) {
      const float mid = noise(random), side = noise(random);
      left[i] = fullScale ? mid : 0.4f * mid + 0.1f * side;
      right[i] = fullScale ? side : 0.4f * mid - 0.1f * side;
    }
    buffers.push_back(std::move(left));
    buffers.push_back(std::move(right));
  }
  return buffers;
}

void ScopeTick(benchmark::State& state, ScopeSettings settings, bool fullScale) {
  const auto buffers = Buffers(fullScale, 8);
  PhaseScopeModel model(kSize, kSize);
  PhaseScopePainter painter(kSize, kSize);
  const ScopeLook look{Color{0, 0xFFFF, 0}, settings.density, settings.decay};
  OGWorld panel(bitmaps::kPanel);
  OGWorld back(kArea);
  OGWorld window(Rect{0, 0, 399, 470});
  DrawContext& backContext = back;
  DrawContext& windowContext = window;
  std::size_t next = 0;
  // Steady state: every layer made.
  for (int i = 0; i < 12; ++i, next = (next + 2) % buffers.size())
    model.Advance(settings, buffers[next].data(), buffers[next + 1].data());
  for (auto _ : state) {
    model.Advance(settings, buffers[next].data(), buffers[next + 1].data());
    next = (next + 2) % buffers.size();
    backContext.BeginDraw();
    backContext.SetOrigin(Point{0, 0});
    backContext.SetClipRect(kArea);
    if (model.IsPolar())
      backContext.CopyFromWorld(panel, Rect{9, 88, 9 + kSize, 88 + kSize}, Point{0, 0}, true);
    painter.Paint(backContext, kArea, model, look);
    backContext.EndDraw();
    windowContext.BeginDraw();
    windowContext.SetOrigin(Point{-kScopeAt.x, -kScopeAt.y});
    windowContext.ClipToRect(kArea);
    windowContext.CopyFromWorld(back, kArea, Point{0, 0}, true);
    windowContext.SetOrigin(Point{0, 0});
    windowContext.EndDraw();
  }
  benchmark::DoNotOptimize(window.GetSurface().pixels[(kScopeAt.y + 100) * 399 + kScopeAt.x + 100]);
}

ScopeSettings Mode(std::int32_t type, std::int32_t xyStyle, std::int32_t polarStyle, std::int32_t density,
                   std::int32_t decay) {
  ScopeSettings s;
  s.plotType = type;
  s.xyStyle = xyStyle;
  s.polarStyle = polarStyle;
  s.density = density;
  s.decay = decay;
  return s;
}

}  // namespace

// The defaults: polar rays at density 8, decay 2.
BENCHMARK_CAPTURE(ScopeTick, PolarRaysDefaults, Mode(2, 0, 1, 8, 2), false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScopeTick, PolarLinesDefaults, Mode(2, 0, 2, 8, 2), false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScopeTick, PolarPointsDensity10Decay10, Mode(2, 0, 0, 10, 10), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScopeTick, XYPointsDefaults, Mode(0, 0, 1, 6, 6), false)->Unit(benchmark::kMicrosecond);
// The worst: XY lines through every sample of ten layers of full-scale noise.
BENCHMARK_CAPTURE(ScopeTick, XYLinesDensity10Decay10FullScale, Mode(0, 1, 1, 10, 10), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScopeTick, VectorLinesDensity10Decay10FullScale, Mode(1, 1, 1, 10, 10), true)
    ->Unit(benchmark::kMicrosecond);

namespace {

// The state's part alone.
void ScopeAdvance(benchmark::State& state, ScopeSettings settings) {
  const auto buffers = Buffers(true, 8);
  PhaseScopeModel model(kSize, kSize);
  std::size_t next = 0;
  for (auto _ : state) {
    model.Advance(settings, buffers[next].data(), buffers[next + 1].data());
    next = (next + 2) % buffers.size();
  }
  benchmark::DoNotOptimize(model.GetBinHold()[0]);
}

}  // namespace

BENCHMARK_CAPTURE(ScopeAdvance, PolarRaysDefaults, Mode(2, 0, 1, 8, 2))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScopeAdvance, XYLinesDensity10, Mode(0, 1, 1, 10, 10))->Unit(benchmark::kMicrosecond);
