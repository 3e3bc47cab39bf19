#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/PixMapDrawFrame.h"

// A 200 x 200 buffered frame that draws like the phase scope's XY plot: a black ground, grey axes
// with two letters, then ten layers of 2048 points joined by lines (or drawn as single-pixel dots),
// the oldest layer darkest.
class ScopeLikeFrame : public Frame {
 public:
  static constexpr int kLayers = 10;
  static constexpr int kPoints = 2048;

  enum class Signal { kSines, kNoise };

  ScopeLikeFrame(Frame* parent, int32_t x, int32_t y, Signal signal, bool dots)
      : Frame(parent, x, y, 200, 200, kBuffered, 0), mDots(dots) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    for (int layer = 0; layer < kLayers; ++layer)
      for (int i = 0; i < kPoints; ++i) {
        const int n = layer * kPoints + i;
        const double left =
            signal == Signal::kSines ? std::sin(2 * M_PI * 1000.0 * n / 44100.0) : noise(random);
        const double right =
            signal == Signal::kSines ? std::sin(2 * M_PI * 1500.0 * n / 44100.0) : noise(random);
        mPoints[layer][i] = MapPoint(left, right);
      }
  }

  // The scope's mapping: right channel across, left channel up.
  Point MapPoint(double left, double right) const {
    const int32_t w = GetWidth(), h = GetHeight();
    return Point{int32_t((right + 1) * (w - 3) * 0.5 + 1) + 1, int32_t((1 - left) * (h - 3) * 0.5 + 1) + 1};
  }

  void Draw(DrawContext& context, const Rect& area) override {
    const int32_t w = GetWidth(), h = GetHeight();
    context.SetForeColor(kBlack);
    context.FillRect(area);
    context.SetFont(DrawContext::kSmallFont, Color{0x7FFF, 0x7FFF, 0x7FFF});
    context.MoveTo(Point{w / 2, 16});
    context.LineTo(Point{w / 2, h});
    context.MoveTo(Point{w / 2 - 2, 12});
    context.DrawString("L");
    context.MoveTo(Point{0, h / 2});
    context.LineTo(Point{w - 16, h / 2});
    context.MoveTo(Point{w - 10, h / 2 + 3});
    context.DrawString("R");
    for (int layer = kLayers - 1; layer >= 0; --layer) {
      const double f = (std::pow(1.1, double(kLayers - layer) / kLayers) - 1) / 0.1;
      context.SetForeColor(Color{uint16_t(0x4000 * f), uint16_t(0xFFFF * f), uint16_t(0x8000 * f)});
      const Point* points = mPoints[layer];
      if (mDots) {
        for (int i = 0; i < kPoints; ++i) {
          context.MoveTo(points[i]);
          context.LineTo(points[i]);
        }
      } else {
        context.MoveTo(points[0]);
        for (int i = 1; i < kPoints; ++i) context.LineTo(points[i]);
      }
    }
  }

 private:
  bool mDots{false};
  Point mPoints[kLayers][kPoints]{};
};

// The editor's four strips at full size, 399 x 470, drawn from one background image.
struct EditorScene {
  explicit EditorScene(TestRoot& root) : background(Rect{0, 0, 399, 650}) {
    for (int32_t y = 0; y < 650; ++y) {
      background.SetForeColor(Color{uint16_t(y * 97), uint16_t(y * 61), uint16_t(y * 13)});
      background.FillRect(Rect{0, y, 399, y + 1});
    }
    Frame* top = root.GetRootFrame();
    new PixMapDrawFrame(top, 0, 0, 399, 24, 0, 497, &background, 0, 1);
    new PixMapDrawFrame(top, 0, 24, 399, 369, 0, 0, &background, 0, 2);
    new PixMapDrawFrame(top, 0, 393, 399, 41, 0, 521, &background, 0, 3);
    new PixMapDrawFrame(top, 0, 434, 399, 36, 0, 562, &background, 0, 4);
  }
  OGWorld background;
};
