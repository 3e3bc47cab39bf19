#include "toolkit/window/ChangedArea.h"

#include <algorithm>
#include <cstring>

namespace {

bool RowDiffers(const PixelBuffer& now, const PixelBuffer& before, const PixelRect& area, std::int32_t y) {
  return std::memcmp(&now.At(area.left, y), &before.At(area.left, y),
                     sizeof(std::uint32_t) * static_cast<size_t>(area.Width())) != 0;
}

}  // namespace

PixelRect ChangedArea(const PixelBuffer& now, const PixelBuffer& before, const PixelRect& area) {
  if (area.IsEmpty()) return {};
  std::int32_t top = area.top;
  while (top < area.bottom && !RowDiffers(now, before, area, top)) ++top;
  if (top == area.bottom) return {};
  std::int32_t bottom = area.bottom;
  while (!RowDiffers(now, before, area, bottom - 1)) --bottom;
  // Each row between can only widen what the rows before it found.
  std::int32_t left = area.right, right = area.left;
  for (std::int32_t y = top; y < bottom; ++y) {
    const std::uint32_t* a = &now.At(0, y);
    const std::uint32_t* b = &before.At(0, y);
    std::int32_t x = area.left;
    while (x < left && a[x] == b[x]) ++x;
    left = x;
    x = area.right;
    while (x > right && a[x - 1] == b[x - 1]) --x;
    right = x;
  }
  return {left, top, right, bottom};
}

void CopyArea(const PixelBuffer& from, const PixelBuffer& to, const PixelRect& area) {
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    std::copy_n(&from.At(area.left, y), area.Width(), &to.At(area.left, y));
  }
}
