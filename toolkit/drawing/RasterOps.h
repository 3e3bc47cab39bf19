#pragma once

#include <cstddef>
#include <cstdint>

#include "toolkit/drawing/Geometry.h"
#include "toolkit/drawing/Surface.h"

// Pixel rules of the raster. Every clip rect is in device coordinates and lies inside the
// surface; coordinates are 64-bit so that any 32-bit point less any 32-bit origin is exact.
namespace raster {

struct Point64 {
  std::int64_t x{0};
  std::int64_t y{0};
};

// A line longer than one pixel; DrawLine's rules.
void DrawLongLine(const Surface& surface, const Rect& clip, Point64 from, Point64 to, std::uint32_t pixel);

// Both end points included. Bresenham from the end with the smaller major coordinate (x is major
// when |dx| >= |dy|), ties toward the positive minor axis, so both directions paint the same
// pixels; clipping skips ahead exactly, so a clipped line paints what the unclipped one would.
// A line of one point, the scope's dot, is handled here without a call.
inline void DrawLine(const Surface& surface, const Rect& clip, Point64 from, Point64 to,
                     std::uint32_t pixel) {
  if (from.x != to.x || from.y != to.y) return DrawLongLine(surface, clip, from, to, pixel);
  if (to.x >= clip.left && to.x < clip.right && to.y >= clip.top && to.y < clip.bottom)
    surface.pixels[to.y * surface.stride + to.x] = pixel;
}

// Connected lines through the points moved by `offset` into device coordinates, each as
// DrawLine paints it; fewer than two points paint nothing.
void DrawPolyline(const Surface& surface, const Rect& clip, const std::int32_t* xs, const std::int32_t* ys,
                  size_t count, Point64 offset, std::uint32_t pixel);

// [left, right) x [top, bottom) of the given device rect, within the clip.
void FillRect(const Surface& surface, const Rect& clip, const Rect& rect, std::uint32_t pixel);

// The pixels whose centres lie inside the ellipse inscribed in the rect; outline only when asked
// (inside pixels with a 4-neighbour outside).
inline constexpr bool kOutlineOnly = true, kFilled = false;
void DrawEllipse(const Surface& surface, const Rect& clip, const Rect& rect, std::uint32_t pixel,
                 bool outline);

enum class CopyMode { kCopy, kXor, kAnd };

// The source rect, cut to the source's pixels, lands at destination (its top-left) within the
// clip. Overlapping copies within one surface read before they write.
void CopyPixels(const Surface& target, const Rect& clip, const PixelView& source, const Rect& sourceRect,
                Point64 destination, CopyMode mode);

// Sets every pixel where the 8-bit mask is non-zero; the mask's top-left lands at destination.
void FillMask(const Surface& target, const Rect& clip, const std::uint8_t* mask, std::int32_t maskWidth,
              std::int32_t maskHeight, Point64 destination, std::uint32_t pixel);

}  // namespace raster
