#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/services/Exceptions.h"
#include "tests/toolkit/support/TestBitmaps.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/editor/PixMapCache.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

namespace {

class CountingRoot : public TestRoot {
 public:
  std::unique_ptr<OGWorld> CreatePixMapFromResource(std::int32_t id) override {
    ++created;
    return TestRoot::CreatePixMapFromResource(id);
  }
  int created{0};
};

TEST(PixMapCache, HoldersOfOneIdShareOneImageUntilTheLastGoes) {
  CountingRoot root;
  auto first = std::make_unique<PixMapRef>(&root, kTestBitmapId);
  auto second = std::make_unique<PixMapRef>(&root, kTestBitmapId);
  EXPECT_EQ(first->Get(), second->Get());
  EXPECT_EQ(root.created, 1);
  first.reset();
  PixMapRef third(&root, kTestBitmapId);
  EXPECT_EQ(root.created, 1);
  second.reset();
  EXPECT_EQ(third.Get()->GetPixelColor(Point{1, 2}), FromPixel(TestBitmapPixel(1, 2)));
}

TEST(PixMapCache, OnItsOwnItMakesAnImageOncePerIdAndDropsItWithTheLastHolder) {
  std::vector<std::int32_t> made;
  PixMapCache cache([&made](std::int32_t id) {
    made.push_back(id);
    if (id < 0) throw std::runtime_error("no bitmap");
    return std::make_unique<OGWorld>(Rect{0, 0, id, 1});
  });
  OGWorld* two = cache.Acquire(2);
  EXPECT_EQ(cache.Acquire(2), two);
  EXPECT_NE(cache.Acquire(3), two);
  EXPECT_THROW(cache.Acquire(-1), std::runtime_error);
  EXPECT_THROW(cache.Acquire(-1), std::runtime_error);  // a failure leaves no entry to hand out
  EXPECT_EQ(made, (std::vector<std::int32_t>{2, 3, -1, -1}));
  cache.Release(two);
  cache.Release(nullptr);  // not held here: ignored
  EXPECT_EQ(cache.Acquire(2), two);
  cache.Release(two);
  cache.Release(two);
  EXPECT_EQ(cache.Acquire(2)->GetBounds(), (Rect{0, 0, 2, 1}));
  EXPECT_EQ(made, (std::vector<std::int32_t>{2, 3, -1, -1, 2}));
}

TEST(PixMapCache, AnUnknownIdThrowsAndLeavesNoEntry) {
  CountingRoot root;
  EXPECT_THROW(PixMapRef(&root, 999), AppFrame::ResAlloc);
  EXPECT_THROW(PixMapRef(&root, 999), AppFrame::ResAlloc);
  EXPECT_EQ(root.created, 2);
  root.ReleasePixMap(nullptr);
}

TEST(PixMapCache, APixMapFrameShowsItsImageFromTheSourcePoint) {
  TestRoot root;
  PixMapRef image(&root, kTestBitmapId);
  new PixMapDrawFrame(root.GetRootFrame(), 20, 30, 3, 2, 1, 1, image.Get(), 0, 1);
  auto* empty = new PixMapDrawFrame(root.GetRootFrame(), 40, 30, 3, 2, 0, 0, nullptr, 0, 2);
  root.Flush();
  for (std::int32_t y = 0; y < 2; ++y)
    for (std::int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(root.WindowPixel(20 + x, 30 + y), TestBitmapPixel(1 + x, 1 + y));
  EXPECT_EQ(root.WindowPixel(23, 30), 0u);
  EXPECT_EQ(root.WindowPixel(40, 30), 0u);
  {
    PluginUIRoot::DrawingScope scope(root, false);
    empty->SetPixMap(image.Get(), 0, 0, true);
  }
  EXPECT_EQ(root.WindowPixel(40, 30), TestBitmapPixel(0, 0));
}

}  // namespace
