#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "toolkit/drawing/RasterContext.h"

using PixelSet = std::set<std::pair<int32_t, int32_t>>;

// The pixels of the context's surface that are not 0.
inline PixelSet Painted(const RasterContext& context) {
  PixelSet set;
  const Surface& s = context.GetSurface();
  for (int32_t y = 0; y < s.height; ++y)
    for (int32_t x = 0; x < s.width; ++x)
      if (s.pixels[y * s.stride + x]) set.insert({x, y});
  return set;
}

inline uint32_t PixelAt(const RasterContext& context, int32_t x, int32_t y) {
  const Surface& s = context.GetSurface();
  return s.pixels[y * s.stride + x];
}
