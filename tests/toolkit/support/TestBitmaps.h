#pragma once

#include <cstdint>

// The bitmaps the toolkit's tests link: id kTestBitmapId is 4 x 3, pixel (x, y) = TestBitmapPixel.
constexpr int32_t kTestBitmapId = 100;
constexpr int32_t kTestBitmapWidth = 4;
constexpr int32_t kTestBitmapHeight = 3;
constexpr uint32_t TestBitmapPixel(int32_t x, int32_t y) {
  return 0x100000u * uint32_t(y + 1) + uint32_t(x + 1);
}
