#include <gtest/gtest.h>

#include <random>

#include "tests/toolkit/support/Pixels.h"
#include "toolkit/drawing/OGWorld.h"

namespace {

constexpr Color kRed{0xFFFF, 0, 0};

PixelSet Line(Point from, Point to, std::int32_t size = 64) {
  OGWorld world(Rect{0, 0, size, size});
  world.SetForeColor(kRed);
  world.MoveTo(from);
  world.LineTo(to);
  return Painted(world);
}

struct LineCase {
  Point from;
  Point to;
  PixelSet pixels;
};

TEST(RasterLine, PaintsBothEndsAndTheBresenhamPixels) {
  const LineCase cases[] = {
      {{0, 0}, {5, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
      {{3, 3}, {3, 3}, {{3, 3}}},
      {{2, 1}, {2, 4}, {{2, 1}, {2, 2}, {2, 3}, {2, 4}}},
      {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      // Half-way steps go toward the positive minor axis.
      {{0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {{0, 4}, {4, 2}, {{0, 4}, {1, 4}, {2, 3}, {3, 3}, {4, 2}}},
      {{0, 0}, {2, 4}, {{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}},
      {{10, 0},
       {0, 1},
       {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {10, 0}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.from.x << "," << c.from.y << ")-(" << c.to.x << "," << c.to.y
                                    << ")");
    EXPECT_EQ(Line(c.from, c.to), c.pixels);
    EXPECT_EQ(Line(c.to, c.from), c.pixels);
  }
}

TEST(RasterLine, BothDirectionsAndAnyClipPaintTheSamePixels) {
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> coordinate(-20, 83);
  for (int i = 0; i < 2000; ++i) {
    const Point a{coordinate(random), coordinate(random)}, b{coordinate(random), coordinate(random)};
    const PixelSet forward = Line(a, b), backward = Line(b, a);
    ASSERT_EQ(forward, backward);
    // Clipped to a window: exactly the unclipped pixels inside it.
    OGWorld world(Rect{0, 0, 64, 64});
    world.SetClipRect(Rect{13, 7, 41, 50});
    world.SetForeColor(kRed);
    world.MoveTo(a);
    world.LineTo(b);
    PixelSet expected;
    for (const auto& p : forward)
      if (p.first >= 13 && p.first < 41 && p.second >= 7 && p.second < 50) expected.insert(p);
    ASSERT_EQ(Painted(world), expected);
  }
}

TEST(RasterLine, LongLinesFollowTheExactRoundingOfTheLine) {
  std::mt19937 random(3);
  const Rect window{0, 0, 700, 700};
  std::uniform_int_distribution<std::int32_t> coordinate(0, 699);
  for (int i = 0; i < 300; ++i) {
    const Point a{coordinate(random), coordinate(random)}, b{coordinate(random), coordinate(random)};
    ASSERT_EQ(Line(a, b, 700), ExactLine(a, b, window)) << a.x << "," << a.y << " " << b.x << "," << b.y;
  }
  // The longest lines of the short-line path, in both majors, and beyond it.
  const std::pair<Point, Point> lines[] = {{{0, 3}, {4095, 20}},
                                           {{4095, 0}, {0, 37}},
                                           {{1, 4096}, {30, 0}},
                                           {{0, 0}, {4096, 1}},
                                           {{4097, 9}, {0, 30}}};
  for (const auto& [a, b] : lines) {
    const Rect bounds{0, 0, std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    OGWorld world(bounds);
    world.SetForeColor(kRed);
    world.MoveTo(a);
    world.LineTo(b);
    EXPECT_EQ(Painted(world), ExactLine(a, b, bounds));
  }
}

TEST(RasterLine, LineToTheLastPointPaintsOnePixelAndMovesThePen) {
  OGWorld world(Rect{0, 0, 8, 8});
  world.SetForeColor(kRed);
  world.MoveTo(Point{2, 2});
  world.LineTo(Point{2, 2});
  EXPECT_EQ(Painted(world), (PixelSet{{2, 2}}));
  world.LineTo(Point{4, 2});
  EXPECT_EQ(Painted(world), (PixelSet{{2, 2}, {3, 2}, {4, 2}}));
}

TEST(RasterLine, OriginAndClipApplyToLinesAndPolyLines) {
  OGWorld world(Rect{0, 0, 16, 16});
  world.SetOrigin(Point{-4, -2});  // local (0, 0) is device (4, 2)
  world.SetClipRect(Rect{0, 0, 3, 10});
  world.SetForeColor(kRed);
  world.PolyLineTo({0, 5, 5}, {0, 0, 4}, 3);
  // (0,0)-(5,0) clipped to x < 3, then (5,0)-(5,4) lies outside the clip.
  EXPECT_EQ(Painted(world), (PixelSet{{4, 2}, {5, 2}, {6, 2}}));
}

TEST(RasterLine, PolyLineReadsNoFurtherThanTheShorterVector) {
  struct Case {
    std::vector<std::int32_t> xs, ys;
    std::int32_t count;
    PixelSet pixels;
  };
  const Case cases[] = {
      {{}, {}, 3, {}},
      {{1}, {}, 1, {}},
      {{1, 3, 7}, {1, 1}, 5, {{1, 1}, {2, 1}, {3, 1}}},
      {{1, 3, 7}, {1, 1, 1}, 2, {{1, 1}, {2, 1}, {3, 1}}},
      {{1, 3}, {1, 1}, -1, {}},
      {{2}, {2}, 1, {}},
  };
  for (const Case& c : cases) {
    OGWorld world(Rect{0, 0, 8, 8});
    world.SetForeColor(kRed);
    world.PolyLineTo(c.xs, c.ys, c.count);
    EXPECT_EQ(Painted(world), c.pixels);
  }
}

}  // namespace
