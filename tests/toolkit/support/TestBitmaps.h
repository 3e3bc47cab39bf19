#pragma once

#include <cstdint>

// The bitmaps the toolkit's tests link: id kTestBitmapId is 4 x 3, pixel (x, y) = TestBitmapPixel.
constexpr std::int32_t kTestBitmapId = 100;
constexpr std::int32_t kTestBitmapWidth = 4;
constexpr std::int32_t kTestBitmapHeight = 3;
constexpr std::uint32_t TestBitmapPixel(std::int32_t x, std::int32_t y) {
  return 0x100000u * std::uint32_t(y + 1) + std::uint32_t(x + 1);
}
