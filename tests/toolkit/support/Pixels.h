#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "toolkit/drawing/RasterContext.h"

using PixelSet = std::set<std::pair<std::int32_t, std::int32_t>>;

// The pixels of the context's surface that are not 0.
inline PixelSet Painted(const RasterContext& context) {
  PixelSet set;
  const Surface& s = context.GetSurface();
  for (std::int32_t y = 0; y < s.height; ++y)
    for (std::int32_t x = 0; x < s.width; ++x)
      if (s.pixels[y * s.stride + x]) set.insert({x, y});
  return set;
}

inline std::uint32_t PixelAt(const RasterContext& context, std::int32_t x, std::int32_t y) {
  const Surface& s = context.GetSurface();
  return s.pixels[y * s.stride + x];
}

// The pixels of the line from a to b inside the window, by the exact rounding of the line: x is
// major when |dx| >= |dy|; each major step takes the minor value nearest the true line, half-way
// toward the larger minor value. Independent of the raster's own arithmetic.
inline PixelSet ExactLine(Point a, Point b, const Rect& window) {
  using Wide = __int128;
  const bool xMajor = (Wide(b.x) - a.x) * (Wide(b.x) - a.x) >= (Wide(b.y) - a.y) * (Wide(b.y) - a.y);
  auto major = [&](Point p) { return Wide(xMajor ? p.x : p.y); };
  auto minor = [&](Point p) { return Wide(xMajor ? p.y : p.x); };
  if (major(a) > major(b)) std::swap(a, b);
  const Wide run = major(b) - major(a), rise = minor(b) - minor(a);
  PixelSet set;
  const Wide from = std::max(major(a), Wide(xMajor ? window.left : window.top));
  const Wide to = std::min(major(b), Wide(xMajor ? window.right : window.bottom) - 1);
  for (Wide m = from; m <= to; ++m) {
    Wide n = minor(a);
    if (run != 0) {
      // n = minor(a) + round((m - major(a)) * rise / run), halves upward.
      const Wide num = 2 * (m - major(a)) * rise + run, den = 2 * run;
      n += num >= 0 ? num / den : -((-num + den - 1) / den);
    }
    const Wide x = xMajor ? m : n, y = xMajor ? n : m;
    if (x >= window.left && x < window.right && y >= window.top && y < window.bottom)
      set.insert({std::int32_t(x), std::int32_t(y)});
  }
  return set;
}
