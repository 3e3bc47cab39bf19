#include "platform/PixelBuffer.h"

#include <algorithm>

PixelRect UniteRects(const PixelRect& a, const PixelRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

PixelRect IntersectRects(const PixelRect& a, const PixelRect& b) {
  const PixelRect common{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                         std::min(a.bottom, b.bottom)};
  return common.IsEmpty() ? PixelRect{} : common;
}
