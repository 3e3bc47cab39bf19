#include <gtest/gtest.h>

#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"
#include "tests/toolkit/support/Pixels.h"
#include "tests/toolkit/support/TestBitmaps.h"
#include "toolkit/drawing/OGWorld.h"

namespace {

constexpr Color kGreen{0, 0xFFFF, 0};

PixelSet RectPixels(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  PixelSet set;
  for (std::int32_t y = t; y < b; ++y)
    for (std::int32_t x = l; x < r; ++x) set.insert({x, y});
  return set;
}

TEST(RasterColor, ComponentsMapByTheirHighByteAndReadBackTimes0x101) {
  struct Case {
    std::uint16_t component;
    std::uint32_t byte;
  };
  const Case cases[] = {{0xFFFF, 0xFF}, {0x7FFF, 0x7F}, {0x00FF, 0x00},
                        {0x01FF, 0x01}, {0x8000, 0x80}, {0, 0}};
  for (const Case& c : cases) {
    OGWorld world(Rect{0, 0, 1, 1});
    world.SetForeColor(Color{c.component, 0, c.component});
    world.FillRect(Rect{0, 0, 1, 1});
    EXPECT_EQ(PixelAt(world, 0, 0), c.byte << 16 | c.byte) << std::hex << c.component;
    const Color read = world.GetPixelColor(Point{0, 0});
    EXPECT_EQ(read, (Color{std::uint16_t(c.byte * 0x101), 0, std::uint16_t(c.byte * 0x101)}));
    // What was read paints the same pixel again.
    world.SetForeColor(read);
    world.FillRect(Rect{0, 0, 1, 1});
    EXPECT_EQ(PixelAt(world, 0, 0), c.byte << 16 | c.byte);
  }
}

TEST(RasterFill, CoversLeftTopInclusiveRightBottomExclusive) {
  struct Case {
    Rect rect;
    PixelSet pixels;
  };
  const Case cases[] = {
      {{1, 2, 4, 3}, RectPixels(1, 2, 4, 3)},
      {{2, 2, 2, 5}, {}},
      {{5, 5, 2, 2}, {}},
      {{-3, -3, 2, 1}, RectPixels(0, 0, 2, 1)},
      {{6, 6, 100, 100}, RectPixels(6, 6, 8, 8)},
  };
  for (const Case& c : cases) {
    OGWorld world(Rect{0, 0, 8, 8});
    world.SetForeColor(kGreen);
    world.FillRect(c.rect);
    EXPECT_EQ(Painted(world), c.pixels);
  }
}

TEST(RasterFill, FrameRectIsTheInnerOnePixelRing) {
  OGWorld world(Rect{0, 0, 8, 8});
  world.SetForeColor(kGreen);
  world.FrameRect(Rect{1, 1, 5, 4});
  PixelSet ring = RectPixels(1, 1, 5, 4);
  for (const auto& inner : RectPixels(2, 2, 4, 3)) ring.erase(inner);
  EXPECT_EQ(Painted(world), ring);

  OGWorld thin(Rect{0, 0, 8, 8});
  thin.SetForeColor(kGreen);
  thin.FrameRect(Rect{2, 2, 3, 6});
  EXPECT_EQ(Painted(thin), RectPixels(2, 2, 3, 6));
}

TEST(RasterEllipse, FilledShapeStaysInsideItsRectAndIsSymmetric) {
  OGWorld world(Rect{0, 0, 20, 20});
  world.SetForeColor(kGreen);
  world.FillEllipse(Rect{3, 2, 14, 9});
  const PixelSet filled = Painted(world);
  ASSERT_FALSE(filled.empty());
  for (const auto& [x, y] : filled) {
    EXPECT_TRUE(x >= 3 && x < 14 && y >= 2 && y < 9);
    EXPECT_TRUE(filled.count({3 + 13 - x, y}) && filled.count({x, 2 + 8 - y}));
  }
  // Touches all four sides; the middle row is full.
  EXPECT_EQ(RectPixels(3, 5, 14, 6).size(),
            std::count_if(filled.begin(), filled.end(), [](auto p) { return p.second == 5; }));
  OGWorld outline(Rect{0, 0, 20, 20});
  outline.SetForeColor(kGreen);
  outline.FrameEllipse(Rect{3, 2, 14, 9});
  const PixelSet ring = Painted(outline);
  EXPECT_TRUE(std::includes(filled.begin(), filled.end(), ring.begin(), ring.end()));
  EXPECT_FALSE(ring.count({8, 5}));
  EXPECT_TRUE(ring.count({3, 5}) && ring.count({13, 5}) && ring.count({8, 2}) && ring.count({8, 8}));
}

// Pixel (x, y) = 0x010000 (y + 1) + x + 1.
struct Numbered : OGWorld {
  Numbered(std::int32_t w, std::int32_t h) : OGWorld(Rect{0, 0, w, h}) {
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) {
        SetForeColor(FromPixel(0x010000u * std::uint32_t(y + 1) + std::uint32_t(x + 1)));
        FillRect(Rect{x, y, x + 1, y + 1});
      }
  }
};

TEST(RasterCopy, CopiesExactlyAndClipsAtTheSourceAndTheDestination) {
  const Numbered source(6, 5);
  OGWorld target(Rect{0, 0, 8, 8});
  target.SetOrigin(Point{1, 0});
  target.SetClipRect(Rect{0, 0, 100, 5});  // device rows 0-4
  // Source rect sticks out left and bottom; destination is local (3, 2) = device (2, 2).
  target.CopyFromWorld(source, Rect{-2, 3, 3, 9}, Point{3, 2}, true);
  PixelSet expected;
  // Source columns 0..2 of rows 3..4 land at device x 4..6, y 2..3; row 4 at device y 3.
  for (std::int32_t sy = 3; sy < 5; ++sy)
    for (std::int32_t sx = 0; sx < 3; ++sx) {
      const std::int32_t dx = 2 + (sx + 2), dy = 2 + (sy - 3);
      expected.insert({dx, dy});
      EXPECT_EQ(PixelAt(target, dx, dy), 0x010000u * std::uint32_t(sy + 1) + std::uint32_t(sx + 1));
    }
  EXPECT_EQ(Painted(target), expected);
  EXPECT_EQ(target.GetForeColor(), kBlack);
}

TEST(RasterCopy, XorAndAndMaskedCopies) {
  OGWorld image(Rect{0, 0, 2, 1}), mask(Rect{0, 0, 2, 1}), target(Rect{0, 0, 2, 1});
  image.SetForeColor(FromPixel(0x00F0F0F0));
  image.FillRect(Rect{0, 0, 2, 1});
  mask.SetForeColor(FromPixel(0x00FFFFFF));
  mask.FillRect(Rect{1, 0, 2, 1});  // mask: 0 at x 0 (image shows), white at x 1 (target shows)
  target.SetForeColor(FromPixel(0x00123456));
  target.FillRect(Rect{0, 0, 2, 1});
  target.CopyMasked(image, Rect{0, 0, 2, 1}, mask, Point{0, 0}, Point{0, 0});
  EXPECT_EQ(PixelAt(target, 0, 0), 0x00F0F0F0u);
  EXPECT_EQ(PixelAt(target, 1, 0), 0x00123456u);
}

TEST(RasterCopy, OverlappingCopyWithinOneImageReadsBeforeItWrites) {
  Numbered world(5, 5);
  world.CopyFromWorld(world, Rect{0, 0, 4, 4}, Point{1, 1}, false);
  const Numbered original(5, 5);
  for (std::int32_t y = 1; y < 5; ++y)
    for (std::int32_t x = 1; x < 5; ++x) EXPECT_EQ(PixelAt(world, x, y), PixelAt(original, x - 1, y - 1));
  Numbered back(5, 5);
  back.CopyFromWorld(back, Rect{1, 1, 5, 5}, Point{0, 0}, false);
  for (std::int32_t y = 0; y < 4; ++y)
    for (std::int32_t x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(back, x, y), PixelAt(original, x + 1, y + 1));
}

TEST(RasterBitmap, BitmapResourcesLoadAndDrawByIdAndAnUnknownIdThrows) {
  const OGWorld image(kTestBitmapId);
  EXPECT_EQ(image.GetBounds(), (Rect{0, 0, kTestBitmapWidth, kTestBitmapHeight}));
  EXPECT_EQ(PixelAt(image, 3, 2), TestBitmapPixel(3, 2));
  OGWorld target(Rect{0, 0, 8, 8});
  target.DrawBitmapResource(kTestBitmapId, Rect{2, 2, 4, 9});
  EXPECT_EQ(Painted(target), RectPixels(2, 2, 4, 5));
  EXPECT_EQ(PixelAt(target, 3, 4), TestBitmapPixel(1, 2));
  EXPECT_THROW(OGWorld{12345}, AppFrame::ResAlloc);
  EXPECT_EQ(AppFrame::GetLastExceptionSite().line, ThrowSites::kOffscreenImageCopy.line);
  EXPECT_THROW(target.DrawBitmapResource(12345, Rect{0, 0, 1, 1}), AppFrame::ResAlloc);
  EXPECT_EQ(AppFrame::GetLastExceptionSite().line, ThrowSites::kDrawingContextResource.line);
}

TEST(RasterBitmap, ResizingKeepsTheContentsOnlyAtTheSameSize) {
  OGWorld world(Rect{0, 0, 4, 4});
  world.SetForeColor(kGreen);
  world.FillRect(Rect{0, 0, 4, 4});
  world.Resize(Rect{10, 10, 14, 14});
  EXPECT_EQ(Painted(world).size(), 16u);
  EXPECT_EQ(world.GetBounds(), (Rect{0, 0, 4, 4}));
  world.Resize(Rect{0, 0, 5, 4});
  EXPECT_TRUE(Painted(world).empty());
  EXPECT_EQ(world.GetBounds(), (Rect{0, 0, 5, 4}));
}

}  // namespace
