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

// Every length from a dot to well past the chunked path, in every octant and both directions.
TEST(RasterLine, EveryLengthAndOctantFollowsTheExactRounding) {
  const Rect window{0, 0, 81, 81};
  const Point centre{40, 40};
  for (std::int32_t r = 0; r <= 40; ++r)
    for (std::int32_t t = -r; t <= r; ++t)
      for (const Point end :
           {Point{40 + r, 40 + t}, Point{40 - r, 40 + t}, Point{40 + t, 40 + r}, Point{40 + t, 40 - r}}) {
        const PixelSet expected = ExactLine(centre, end, window);
        ASSERT_EQ(Line(centre, end, 81), expected) << end.x << "," << end.y;
        ASSERT_EQ(Line(end, centre, 81), expected) << end.x << "," << end.y;
      }
}

// A polyline paints what its lines would, one LineTo after another, and leaves the pen at its
// last point: inside the clip, across it, through several clip rectangles and with an origin.
TEST(RasterLine, PolyLinePaintsWhatItsLinesWould) {
  std::mt19937 random(13);
  std::uniform_int_distribution<std::int32_t> inside(2, 61), anywhere(-30, 93), count(0, 40);
  for (int i = 0; i < 400; ++i) {
    std::uniform_int_distribution<std::int32_t>& coordinate = i % 2 ? inside : anywhere;
    std::vector<std::int32_t> xs, ys;
    for (std::int32_t n = count(random); n > 0; --n) {
      xs.push_back(coordinate(random));
      ys.push_back(coordinate(random));
    }
    const Point origin{i % 3 - 1, i % 5 - 2};
    OGWorld poly(Rect{0, 0, 64, 64}), lines(Rect{0, 0, 64, 64});
    for (OGWorld* world : {&poly, &lines}) {
      world->SetOrigin(origin);
      if (i % 4 == 3) {
        auto region = world->NewRegion();
        region->SetRect(Rect{0, 0, 64, 64});
        auto hole = world->NewRegion();
        hole->SetRect(Rect{20, 10, 40, 50});
        region->Subtract(*hole);
        world->SetClipRegion(*region);
      } else if (i % 4 == 2) {
        world->SetClipRect(Rect{5, 3, 50, 60});
      }
      world->SetForeColor(kRed);
    }
    poly.PolyLineTo(xs, ys, static_cast<std::int32_t>(xs.size()));
    if (!xs.empty()) lines.MoveTo(Point{xs[0], ys[0]});
    for (std::size_t k = 1; k < xs.size(); ++k) lines.LineTo(Point{xs[k], ys[k]});
    ASSERT_EQ(Painted(poly), Painted(lines)) << "polyline " << i;
    // The pen stays where the last line ended.
    poly.SetForeColor(Color{0, 0xFFFF, 0});
    lines.SetForeColor(Color{0, 0xFFFF, 0});
    poly.LineTo(Point{30, 30});
    lines.LineTo(Point{30, 30});
    ASSERT_EQ(Painted(poly), Painted(lines)) << "polyline " << i;
  }
}

// A polyline inside the clip but for one point a few pixels beyond one of its edges.
TEST(RasterLine, PolyLineWithOnePointJustOutsideTheClip) {
  const Rect clip{5, 3, 50, 60};
  for (std::int32_t by = 1; by <= 5; ++by)
    for (const Point stray : {Point{clip.left - by, 30}, Point{clip.right - 1 + by, 30},
                              Point{20, clip.top - by}, Point{20, clip.bottom - 1 + by}}) {
      const std::vector<std::int32_t> xs{10, stray.x, 40, 12}, ys{10, stray.y, 50, 55};
      OGWorld poly(Rect{0, 0, 64, 64}), lines(Rect{0, 0, 64, 64});
      for (OGWorld* world : {&poly, &lines}) {
        world->SetClipRect(clip);
        world->SetForeColor(kRed);
      }
      poly.PolyLineTo(xs, ys, 4);
      lines.MoveTo(Point{xs[0], ys[0]});
      for (std::size_t k = 1; k < xs.size(); ++k) lines.LineTo(Point{xs[k], ys[k]});
      ASSERT_EQ(Painted(poly), Painted(lines)) << stray.x << "," << stray.y;
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
