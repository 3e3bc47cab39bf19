#pragma once

#include <cstdint>

// A rectangle of pixels; right and bottom are exclusive.
struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(std::int32_t x, std::int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

// The smallest rectangle holding both; an empty one adds nothing.
PixelRect UniteRects(const PixelRect& a, const PixelRect& b);
// The part both share; empty (all zero) when they do not meet.
PixelRect IntersectRects(const PixelRect& a, const PixelRect& b);

// Pixels the toolkit draws and a window shows: 0x00RRGGBB, rows stride pixels apart.
struct PixelBuffer {
  std::uint32_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t stride = 0;

  std::uint32_t& At(std::int32_t x, std::int32_t y) const {
    return pixels[static_cast<std::int64_t>(y) * stride + x];
  }
};
