#pragma once

#include <cmath>
#include <cstdint>
#include <random>

#include "toolkit/drawing/DrawContext.h"

// What the phase scope's XY plot draws into its 200 x 200 frame: a black ground, grey axes with
// two letters, then ten layers of 2048 points joined by lines (or drawn as single-pixel dots), the
// oldest layer darkest. Shared by the drawing benchmark and the allocation test.
struct ScopePicture {
  static constexpr int kLayers = 10;
  static constexpr int kPoints = 2048;
  static constexpr std::int32_t kSize = 200;

  enum class Signal { kSines, kNoise };

  // Full-scale 1 kHz on the left against 1.5 kHz on the right at 44.1 kHz, or white noise.
  ScopePicture(Signal signal, bool dots) : mDots(dots) {
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
  static Point MapPoint(double left, double right) {
    return Point{std::int32_t((right + 1) * (kSize - 3) * 0.5 + 1) + 1,
                 std::int32_t((1 - left) * (kSize - 3) * 0.5 + 1) + 1};
  }

  void Draw(DrawContext& context, const Rect& area) const {
    context.SetForeColor(kBlack);
    context.FillRect(area);
    context.SetFont(DrawContext::kSmallFont, Color{0x7FFF, 0x7FFF, 0x7FFF});
    context.MoveTo(Point{kSize / 2, 16});
    context.LineTo(Point{kSize / 2, kSize});
    context.MoveTo(Point{kSize / 2 - 2, 12});
    context.DrawString("L");
    context.MoveTo(Point{0, kSize / 2});
    context.LineTo(Point{kSize - 16, kSize / 2});
    context.MoveTo(Point{kSize - 10, kSize / 2 + 3});
    context.DrawString("R");
    for (int layer = kLayers - 1; layer >= 0; --layer) {
      const double f = (std::pow(1.1, double(kLayers - layer) / kLayers) - 1) / 0.1;
      context.SetForeColor(
          Color{std::uint16_t(0x4000 * f), std::uint16_t(0xFFFF * f), std::uint16_t(0x8000 * f)});
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
