#pragma once

#include <cstdint>

// Pixels 0x00RRGGBB, rows stride pixels apart. A surface of width or height 0 has no pixels.
struct Surface {
  std::uint32_t* pixels{nullptr};
  std::int32_t width{0};
  std::int32_t height{0};
  std::int32_t stride{0};
};

// A surface that is only read.
struct PixelView {
  const std::uint32_t* pixels{nullptr};
  std::int32_t width{0};
  std::int32_t height{0};
  std::int32_t stride{0};
};

inline PixelView ViewOf(const Surface& s) { return PixelView{s.pixels, s.width, s.height, s.stride}; }
