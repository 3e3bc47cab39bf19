#include "tests/toolkit/support/TestBitmaps.h"

#include "toolkit/drawing/BitmapStore.h"

namespace {
constexpr std::uint32_t P(std::int32_t x, std::int32_t y) { return TestBitmapPixel(x, y); }
const std::uint32_t kPixels[] = {P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(0, 1), P(1, 1),
                                 P(2, 1), P(3, 1), P(0, 2), P(1, 2), P(2, 2), P(3, 2)};
const BitmapResource kBitmaps[] = {{kTestBitmapId, kTestBitmapWidth, kTestBitmapHeight, kPixels}};
}  // namespace

const BitmapResource* FindBitmapResource(std::int32_t id) {
  for (const BitmapResource& b : kBitmaps)
    if (b.id == id) return &b;
  return nullptr;
}
