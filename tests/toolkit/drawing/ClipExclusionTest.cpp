#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "tests/toolkit/support/Pixels.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/drawing/RasterRegion.h"

namespace {

constexpr Color kBlue{0, 0, 0xFFFF};

PixelSet RectPixels(const Rect& r) {
  PixelSet set;
  for (std::int32_t y = r.top; y < r.bottom; ++y)
    for (std::int32_t x = r.left; x < r.right; ++x) set.insert({x, y});
  return set;
}

PixelSet Without(PixelSet set, const Rect& r) {
  for (const auto& p : RectPixels(r)) set.erase(p);
  return set;
}

// Clips the world to its whole area with ClipToRect, fills it and answers what was painted.
PixelSet ClippedFill(OGWorld& world) {
  std::fill_n(world.GetSurface().pixels, 16 * 16, 0u);
  world.ClipToRect(world.GetBounds());
  world.SetForeColor(kBlue);
  world.FillRect(world.GetBounds());
  return Painted(world);
}

const Rect kAll{0, 0, 16, 16};
int keys[3];

TEST(ClipExclusion, WithNoEntryMarkedEveryRectangleIsExcluded) {
  OGWorld world(kAll);
  world.AddExclusionRect(&keys[0], Rect{1, 1, 4, 4}, 1);
  world.AddExclusionRect(&keys[1], Rect{8, 8, 12, 10}, 2);
  EXPECT_EQ(ClippedFill(world), Without(Without(RectPixels(kAll), Rect{1, 1, 4, 4}), Rect{8, 8, 12, 10}));
}

TEST(ClipExclusion, AKeyAlreadyPresentKeepsItsRectangleAndPriority) {
  OGWorld world(kAll);
  world.AddExclusionRect(&keys[0], Rect{1, 1, 4, 4}, 2);
  world.AddExclusionRect(&keys[0], Rect{5, 5, 9, 9}, 1);
  world.AddExclusionRect(&keys[1], Rect{10, 10, 12, 12}, 1);
  world.UpdateExclusionRect(&keys[1], true);  // marks the priority-1 entry: the priority-2 one stays out
  EXPECT_EQ(ClippedFill(world), Without(RectPixels(kAll), Rect{1, 1, 4, 4}));
}

TEST(ClipExclusion, MarkingTheFirstOfTwoEqualPrioritiesExcludesOnlyTheSecond) {
  OGWorld world(kAll);
  const Rect a{0, 0, 3, 3}, b{4, 4, 7, 7}, c{8, 8, 11, 11};
  world.AddExclusionRect(&keys[0], a, 1);
  world.AddExclusionRect(&keys[1], b, 2);
  world.AddExclusionRect(&keys[2], c, 2);
  world.UpdateExclusionRect(&keys[1], true);
  EXPECT_EQ(ClippedFill(world), Without(RectPixels(kAll), c));
  world.UpdateExclusionRect(&keys[1], false);
  EXPECT_EQ(ClippedFill(world), Without(Without(Without(RectPixels(kAll), a), b), c));
}

TEST(ClipExclusion, ClipToRectIntersectsWithTheAreaAndObeysTheOrigin) {
  OGWorld world(kAll);
  world.AddExclusionRect(&keys[0], Rect{4, 4, 8, 8}, 1);
  world.SetOrigin(Point{-2, -2});
  world.ClipToRect(Rect{0, 0, 4, 4});  // device {2, 2, 6, 6}
  world.SetForeColor(kBlue);
  world.FillRect(Rect{-10, -10, 30, 30});
  EXPECT_EQ(Painted(world), Without(RectPixels(Rect{2, 2, 6, 6}), Rect{4, 4, 8, 8}));
}

TEST(ClipExclusion, RemovingTheLastEntryDeletesTheRegionAndLeavesThePlainClip) {
  OGWorld world(kAll);
  world.AddExclusionRect(&keys[0], Rect{1, 1, 4, 4}, 3);
  ASSERT_NE(world.GetExclusionRegion(), nullptr);
  world.RemoveExclusionRect(&keys[0]);
  EXPECT_EQ(world.GetExclusionRegion(), nullptr);
  EXPECT_EQ(ClippedFill(world), RectPixels(kAll));
  world.AddExclusionRect(&keys[0], Rect{1, 1, 4, 4}, 3);
  world.ClearExclusionRects();
  EXPECT_EQ(world.GetExclusionRegion(), nullptr);
}

// A cleared region is empty: device pixel (0, 0) is not kept out of every clip while a modal frame
// is up.
TEST(ClipExclusion, AClearedRegionIsEmptySoPixelZeroStaysPaintable) {
  OGWorld world(kAll);
  world.AddExclusionRect(&keys[0], Rect{8, 8, 10, 10}, 1);
  EXPECT_TRUE(ClippedFill(world).count({0, 0}));
  std::unique_ptr<DrawContext::Region> region = world.NewRegion();
  EXPECT_TRUE(region->IsEmpty());
  region->SetRect(Rect{0, 0, 2, 2});
  region->Clear();
  EXPECT_TRUE(region->IsEmpty());
}

TEST(ClipRegion, RegionOperationsAndClipping) {
  OGWorld world(kAll);
  auto a = world.NewRegion(), b = world.NewRegion();
  a->SetRect(Rect{0, 0, 6, 6});
  b->SetRect(Rect{4, 4, 10, 10});
  a->Union(*b);
  b->SetRect(Rect{2, 2, 8, 8});
  a->Subtract(*b);  // an L at the top-left, an L at the bottom-right
  auto c = world.NewRegion();
  c->SetRect(Rect{0, 0, 16, 5});
  a->Intersect(*c);
  world.SetClipRegion(*a);
  world.SetForeColor(kBlue);
  world.FillRect(kAll);
  PixelSet expected = RectPixels(Rect{0, 0, 6, 5});
  expected.insert({8, 4});
  expected.insert({9, 4});
  expected = Without(expected, Rect{2, 2, 8, 8});
  EXPECT_EQ(Painted(world), expected);
  b->SetRect(Rect{5, 5, 2, 9});
  EXPECT_TRUE(b->IsEmpty());
}

}  // namespace

namespace {

// The pixels a region covers, counting each rectangle's pixels; a pixel covered twice is an error.
PixelSet Covered(const RasterRegion& region, bool& overlapping) {
  PixelSet set;
  for (const Rect& r : region.Rects())
    for (std::int32_t y = r.top; y < r.bottom; ++y)
      for (std::int32_t x = r.left; x < r.right; ++x) overlapping |= !set.insert({x, y}).second;
  return set;
}

TEST(ClipRegion, OperationsCoverWhatTheSetOperationsOfTheirPixelsGive) {
  std::mt19937 random(5);
  std::uniform_int_distribution<std::int32_t> coordinate(0, 12);
  auto randomRegion = [&](RasterRegion& region, PixelSet& pixels) {
    region.Clear();
    pixels.clear();
    RasterRegion one;
    for (int i = 0; i < 3; ++i) {
      const Rect r{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
      one.SetRect(r);
      region.Union(one);
      for (const auto& p : RectPixels(r)) pixels.insert(p);
    }
  };
  for (int i = 0; i < 300; ++i) {
    RasterRegion a, b;
    PixelSet pa, pb;
    randomRegion(a, pa);
    randomRegion(b, pb);
    const int op = i % 3;
    PixelSet expected;
    if (op == 0) {
      a.Union(b);
      std::set_union(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(expected, expected.end()));
    } else if (op == 1) {
      a.Subtract(b);
      std::set_difference(pa.begin(), pa.end(), pb.begin(), pb.end(),
                          std::inserter(expected, expected.end()));
    } else {
      a.Intersect(b);
      std::set_intersection(pa.begin(), pa.end(), pb.begin(), pb.end(),
                            std::inserter(expected, expected.end()));
    }
    bool overlapping = false;
    ASSERT_EQ(Covered(a, overlapping), expected) << "operation " << op;
    ASSERT_FALSE(overlapping);
    ASSERT_EQ(a.IsEmpty(), expected.empty());
  }
}

}  // namespace
