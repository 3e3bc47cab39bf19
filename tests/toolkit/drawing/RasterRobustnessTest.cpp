// Nothing the raster is given reads or writes outside an image (run under ASan and UBSan).
#include <gtest/gtest.h>

#include <climits>

#include "tests/toolkit/support/Pixels.h"
#include "toolkit/drawing/OGWorld.h"

namespace {

constexpr Color kWhiteColor = kWhite;

TEST(RasterRobustness, LinesWithFarEndPointsPaintWhatTheUnclippedLineWould) {
  const std::pair<Point, Point> lines[] = {
      {{-1000000, -999990}, {1000000, 1000000}},
      {{1000000, -3}, {-1000000, 40}},
      {{INT32_MIN, INT32_MIN / 3}, {INT32_MAX, INT32_MAX / 3}},
      {{INT32_MAX, 5}, {INT32_MIN, 9}},
      {{-1000000, 7}, {1000000, 7}},
  };
  for (const auto& [a, b] : lines) {
    OGWorld world(Rect{0, 0, 32, 32});
    world.SetForeColor(kWhiteColor);
    world.MoveTo(a);
    world.LineTo(b);
    const PixelSet painted = Painted(world);
    EXPECT_EQ(painted, ExactLine(a, b, Rect{0, 0, 32, 32})) << a.x << "," << a.y << " " << b.x << "," << b.y;
    // The other direction and an origin far away give the same.
    OGWorld back(Rect{0, 0, 32, 32});
    back.SetForeColor(kWhiteColor);
    back.MoveTo(b);
    back.LineTo(a);
    EXPECT_EQ(Painted(back), painted);
  }
  OGWorld world(Rect{0, 0, 8, 8});
  world.SetForeColor(kWhiteColor);
  world.SetOrigin(Point{INT32_MIN, INT32_MAX});
  world.MoveTo(Point{INT32_MAX, INT32_MIN});
  world.LineTo(Point{INT32_MIN, INT32_MAX});
  world.FillRect(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  world.FillEllipse(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  world.FrameEllipse(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  world.FrameRect(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  world.SetClipRect(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  world.DrawString("far away");
}

TEST(RasterRobustness, EmptyAndNegativeImagesAndSourcesPartlyOutside) {
  const Rect sizes[] = {{0, 0, 0, 0}, {0, 0, -5, 3}, {4, 4, 2, 9}, {0, 0, 3, 0}};
  for (const Rect& size : sizes) {
    OGWorld empty(size);
    EXPECT_EQ(empty.GetSurface().pixels, nullptr);
    empty.SetForeColor(kWhiteColor);
    empty.MoveTo(Point{0, 0});
    empty.LineTo(Point{5, 5});
    empty.FillRect(Rect{0, 0, 5, 5});
    empty.FrameEllipse(Rect{0, 0, 5, 5});
    empty.DrawString("x");
    EXPECT_EQ(empty.GetPixelColor(Point{0, 0}), kBlack);
    OGWorld target(Rect{0, 0, 4, 4});
    target.CopyFromWorld(empty, Rect{0, 0, 4, 4}, Point{0, 0}, false);
    target.CopyMasked(empty, Rect{0, 0, 4, 4}, empty, Point{0, 0}, Point{0, 0});
    empty.CopyFromWorld(target, Rect{0, 0, 4, 4}, Point{0, 0}, false);
    EXPECT_TRUE(Painted(target).empty());
  }
  OGWorld source(Rect{0, 0, 3, 3});
  source.SetForeColor(kWhiteColor);
  source.FillRect(Rect{0, 0, 3, 3});
  struct Case {
    Rect sourceRect;
    PixelSet pixels;  // copied to the source rect's top-left moved by (4, 4)
  };
  const Case cases[] = {
      {{-5, -5, 1, 1}, {{4, 4}}},
      {{2, 2, 50, 50}, {{6, 6}}},
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
       {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {5, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}}},
      {{3, 0, 6, 3}, {}},
      {{1, 1, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    OGWorld target(Rect{0, 0, 8, 8});
    target.CopyFromWorld(source, c.sourceRect, Point{c.sourceRect.left + 4, c.sourceRect.top + 4}, false);
    EXPECT_EQ(Painted(target), c.pixels);
    OGWorld far(Rect{0, 0, 8, 8});
    far.CopyFromWorld(source, c.sourceRect, Point{INT32_MAX, INT32_MIN}, false);
    EXPECT_TRUE(Painted(far).empty());
  }
}

TEST(RasterRobustness, PixelsOutsideReadAsBlack) {
  OGWorld world(Rect{0, 0, 2, 2});
  world.SetForeColor(kWhiteColor);
  world.FillRect(Rect{0, 0, 2, 2});
  const Point outside[] = {{-1, 0}, {2, 0}, {0, 2}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}};
  for (const Point& p : outside) EXPECT_EQ(world.GetPixelColor(p), kBlack);
  world.SetOrigin(Point{-1, -1});
  EXPECT_EQ(world.GetPixelColor(Point{-1, -1}), kWhite);
  EXPECT_EQ(world.GetPixelColor(Point{1, 1}), kBlack);
}

}  // namespace
