// What of a damaged rectangle differs from what the window was last sent.
#include "toolkit/window/ChangedArea.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int32_t kWidth = 20, kHeight = 10;

struct Case {
  const char* name;
  std::vector<std::pair<std::int32_t, std::int32_t>> changed;  // pixels, x and y
  PixelRect area;
  PixelRect expected;
};

TEST(ChangedArea, IsTheBoxOfTheChangedPixelsInsideTheArea) {
  const Case cases[] = {
      {"nothing changed", {}, {2, 2, 18, 8}, {}},
      {"one pixel", {{5, 4}}, {2, 2, 18, 8}, {5, 4, 6, 5}},
      {"the area's corners", {{2, 2}, {17, 7}}, {2, 2, 18, 8}, {2, 2, 18, 8}},
      {"the other diagonal", {{17, 2}, {2, 7}}, {2, 2, 18, 8}, {2, 2, 18, 8}},
      {"widest in a middle row", {{9, 3}, {3, 5}, {15, 5}, {9, 6}}, {2, 2, 18, 8}, {3, 3, 16, 7}},
      {"outside the area only", {{1, 4}, {18, 4}, {5, 1}, {5, 8}}, {2, 2, 18, 8}, {}},
      {"inside and outside", {{0, 0}, {10, 5}, {19, 9}}, {2, 2, 18, 8}, {10, 5, 11, 6}},
      {"an empty area", {{5, 4}}, {5, 4, 5, 4}, {}},
      {"the whole buffer", {{0, 9}, {19, 0}}, {0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint32_t> now(kWidth * kHeight, 0x123456), before(now);
    const PixelBuffer nowBuffer{now.data(), kWidth, kHeight, kWidth};
    const PixelBuffer beforeBuffer{before.data(), kWidth, kHeight, kWidth};
    for (const auto& [x, y] : c.changed) nowBuffer.At(x, y) = 0x654321;
    const PixelRect found = ChangedArea(nowBuffer, beforeBuffer, c.area);
    EXPECT_EQ(found.left, c.expected.left);
    EXPECT_EQ(found.top, c.expected.top);
    EXPECT_EQ(found.right, c.expected.right);
    EXPECT_EQ(found.bottom, c.expected.bottom);
    // Once copied, nothing differs any more.
    CopyArea(nowBuffer, beforeBuffer, found);
    EXPECT_TRUE(ChangedArea(nowBuffer, beforeBuffer, c.area).IsEmpty());
  }
}

}  // namespace
