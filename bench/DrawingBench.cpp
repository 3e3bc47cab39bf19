// The editor's drawing through the path a buffered frame takes: the frame draws with the virtual
// operations (origin and clip applied) into the back buffer, which is then copied to the window's
// buffer. The scope draws ten layers of 2048 points, as at density 10 and decay 10.
#include <benchmark/benchmark.h>

#include "tests/toolkit/drawing/ScopeDrawing.h"
#include "toolkit/drawing/BitmapStore.h"
#include "toolkit/drawing/OGWorld.h"

// The benchmark loads no bitmap.
const BitmapResource* FindBitmapResource(std::int32_t) { return nullptr; }

namespace {

constexpr Rect kWindow{0, 0, 399, 470};
constexpr Point kScopeAt{9, 112};  // the scope's place in the editor

void DrawScope(benchmark::State& state, ScopePicture::Signal signal, bool dots) {
  const ScopePicture picture(signal, dots);
  OGWorld back(Rect{0, 0, ScopePicture::kSize, ScopePicture::kSize});
  OGWorld window(kWindow);
  DrawContext& backContext = back;
  DrawContext& windowContext = window;
  const Rect area{0, 0, ScopePicture::kSize, ScopePicture::kSize};
  for (auto _ : state) {
    backContext.BeginDraw();
    backContext.SetOrigin(Point{0, 0});
    backContext.SetClipRect(backContext.GetBounds());
    picture.Draw(backContext, area);
    backContext.EndDraw();
    windowContext.BeginDraw();
    windowContext.ResetColors();
    windowContext.SetOrigin(Point{-kScopeAt.x, -kScopeAt.y});
    windowContext.ClipToRect(area);
    windowContext.CopyFromWorld(back, area, Point{0, 0}, true);
    windowContext.SetOrigin(Point{0, 0});
    windowContext.EndDraw();
  }
  benchmark::DoNotOptimize(window.GetSurface().pixels[(kScopeAt.y + 100) * 399 + kScopeAt.x + 100]);
}

void BM_ScopeSineLines(benchmark::State& state) { DrawScope(state, ScopePicture::Signal::kSines, false); }
void BM_ScopeNoiseLines(benchmark::State& state) { DrawScope(state, ScopePicture::Signal::kNoise, false); }
void BM_ScopeDots(benchmark::State& state) { DrawScope(state, ScopePicture::Signal::kNoise, true); }

// The four strips of the editor copied from their background image, as their picture frames do.
void BM_FullRepaint(benchmark::State& state) {
  OGWorld background(Rect{0, 0, 399, 650});
  OGWorld window(kWindow);
  DrawContext& context = window;
  struct Strip {
    std::int32_t y, height, sourceY;
  };
  const Strip strips[] = {{0, 24, 497}, {24, 369, 0}, {393, 41, 521}, {434, 36, 562}};
  for (auto _ : state) {
    for (const Strip& strip : strips) {
      const Rect local{0, 0, 399, strip.height};
      context.BeginDraw();
      context.SetOrigin(Point{0, -strip.y});
      context.ClipToRect(local);
      context.ResetColors();
      context.CopyFromWorld(background, Rect{0, strip.sourceY, 399, strip.sourceY + strip.height},
                            Point{0, 0}, true);
      context.SetOrigin(Point{0, 0});
      context.EndDraw();
    }
  }
  benchmark::DoNotOptimize(window.GetSurface().pixels[100]);
}

BENCHMARK(BM_ScopeSineLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeNoiseLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeDots)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
