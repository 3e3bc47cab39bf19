#include <gtest/gtest.h>

#include "tests/toolkit/support/TestRoot.h"

namespace {

constexpr Color kRed{0xFFFF, 0, 0}, kGreen{0, 0xFFFF, 0}, kBlue{0, 0, 0xFFFF}, kGrey{0x8080, 0x8080, 0x8080};

using Frames = std::vector<Frame*>;

TEST(UpdateSet, ARedrawOutsideAScopeOnlyInvalidatesTheNearestVisibleFrame) {
  TestRoot root;
  std::vector<std::int32_t> log;
  auto* parent = new PaintFrame(root.GetRootFrame(), 10, 10, 50, 50, 0, 1, kRed, &log);
  auto* child = new PaintFrame(parent, 5, 5, 10, 10, 0, 2, kGreen, &log);
  EXPECT_EQ(root.GetUpdateSet(), (Frames{parent}));  // the child joined under its parent
  root.Flush();
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 2}));
  log.clear();

  child->SetVisible(false, true);
  child->Redraw(nullptr, true);
  EXPECT_EQ(root.GetUpdateSet(), (Frames{parent}));  // a hidden frame hands it to its parent
  EXPECT_TRUE(log.empty());
  root.Flush();
  log.clear();
  child->SetVisible(true, true);
  child->Redraw(nullptr, true);
  EXPECT_EQ(root.GetUpdateSet(), (Frames{child}));
  parent->Invalidate();
  EXPECT_EQ(root.GetUpdateSet(), (Frames{parent}));  // the parent replaces its child
  child->Invalidate();
  EXPECT_EQ(root.GetUpdateSet(), (Frames{parent}));
  EXPECT_TRUE(log.empty());
}

TEST(UpdateSet, AFlushRedrawsInSetOrderParentsBeforeChildrenAndPaintsTheWindow) {
  TestRoot root;
  std::vector<std::int32_t> log;
  auto* a = new PaintFrame(root.GetRootFrame(), 0, 0, 40, 40, 0, 1, kRed, &log);
  auto* a1 = new PaintFrame(a, 10, 10, 10, 10, 0, 11, kGreen, &log);
  new PaintFrame(a, 15, 15, 10, 10, 0, 12, kBlue, &log);
  auto* b = new PaintFrame(root.GetRootFrame(), 50, 0, 20, 20, 0, 2, kGrey, &log);
  root.Flush();
  log.clear();
  b->Invalidate();
  a1->Invalidate();
  a->Invalidate();
  root.Flush();
  EXPECT_EQ(log, (std::vector<std::int32_t>{2, 1, 11, 12}));
  EXPECT_TRUE(root.GetUpdateSet().empty());
  EXPECT_EQ(root.WindowPixel(5, 5), ToPixel(kRed));
  EXPECT_EQ(root.WindowPixel(12, 12), ToPixel(kGreen));
  EXPECT_EQ(root.WindowPixel(16, 16), ToPixel(kBlue));  // drawn last, on top
  EXPECT_EQ(root.WindowPixel(69, 19), ToPixel(kGrey));
  EXPECT_EQ(root.WindowPixel(70, 19), 0u);
  // Inside a scope a redraw draws at once and only within the area asked.
  log.clear();
  {
    PluginUIRoot::DrawingScope scope(root, false);
    const Rect area{0, 0, 2, 2};
    a->Redraw(&area, true);
  }
  EXPECT_EQ(log, (std::vector<std::int32_t>{1}));  // no child meets the area
  EXPECT_TRUE(root.GetUpdateSet().empty());
}

TEST(UpdateSet, ATransparentChildIsRedrawnByItsParentWithoutBouncingBack) {
  TestRoot root;
  std::vector<std::int32_t> log;
  auto* parent = new PaintFrame(root.GetRootFrame(), 10, 10, 60, 60, 0, 1, kRed, &log);
  auto* glass = new PaintFrame(parent, 20, 20, 10, 10, Frame::kTransparent, 2, kGreen, &log);
  root.Flush();
  log.clear();
  {
    PluginUIRoot::DrawingScope scope(root, false);
    glass->Redraw(nullptr, true);
  }
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 2}));
  // Only the child's area was repainted: pixels outside it keep what was there.
  root.Window().SetClipRect(Rect{0, 0, 100, 80});
  root.Window().SetForeColor(kBlue);
  root.Window().FillRect(Rect{0, 0, 100, 80});
  {
    PluginUIRoot::DrawingScope scope(root, false);
    glass->Redraw(nullptr, true);
  }
  EXPECT_EQ(root.WindowPixel(30, 30), ToPixel(kGreen));
  EXPECT_EQ(root.WindowPixel(29, 30), ToPixel(kBlue));
  EXPECT_EQ(root.WindowPixel(40, 40), ToPixel(kBlue));
}

TEST(UpdateSet, BufferedFramesDrawIntoTheBackBufferWhichGrowsAndNeverShrinks) {
  TestRoot root;
  std::vector<std::int32_t> log;
  auto* buffered = new PaintFrame(root.GetRootFrame(), 10, 20, 30, 15, Frame::kBuffered, 1, kRed, &log);
  ASSERT_NE(root.GetBackBuffer(), nullptr);
  EXPECT_EQ(root.GetBackBuffer()->GetBounds(), (Rect{0, 0, 30, 15}));
  root.Flush();
  EXPECT_EQ(root.WindowPixel(10, 20), ToPixel(kRed));
  EXPECT_EQ(root.WindowPixel(39, 34), ToPixel(kRed));
  EXPECT_EQ(root.WindowPixel(40, 34), 0u);
  EXPECT_EQ(root.GetBackBuffer()->GetPixelColor(Point{0, 0}), FromPixel(ToPixel(kRed)));
  new PaintFrame(root.GetRootFrame(), 0, 0, 50, 10, Frame::kBuffered, 2, kGreen, &log);
  EXPECT_EQ(root.GetBackBuffer()->GetBounds(), (Rect{0, 0, 50, 15}));  // only the width grew
  buffered->SetSize(5, 5, true);
  EXPECT_EQ(root.GetBackBuffer()->GetBounds(), (Rect{0, 0, 50, 15}));
}

// A modal frame keeps frames of lower priority from painting over it.
TEST(UpdateSet, ModalFramesAreExcludedFromOtherFramesDrawing) {
  TestRoot root;
  std::vector<std::int32_t> log;
  auto* modal = new PaintFrame(root.GetRootFrame(), 20, 20, 10, 10, 0x1000, 2, kGreen, &log);
  auto* cover = new PaintFrame(root.GetRootFrame(), 0, 0, 100, 80, 0, 1, kRed, &log);
  EXPECT_EQ(root.GetModalFrames(), (Frames{modal}));
  root.Flush();
  EXPECT_EQ(root.WindowPixel(25, 25), ToPixel(kGreen));
  EXPECT_EQ(root.WindowPixel(5, 5), ToPixel(kRed));
  auto redrawCover = [&] {
    PluginUIRoot::DrawingScope scope(root, true);
    cover->Redraw(nullptr, true);
  };
  // Moving keeps the exclusion where it was.
  modal->SetPosition(50, 50);
  redrawCover();
  EXPECT_EQ(root.WindowPixel(25, 25), ToPixel(kGreen));
  EXPECT_EQ(root.WindowPixel(55, 55), ToPixel(kRed));
  // Hiding and showing moves it.
  modal->SetVisible(false, false);
  EXPECT_TRUE(root.GetModalFrames().empty());
  EXPECT_EQ(root.Window().GetExclusionRegion(), nullptr);
  modal->SetVisible(true, false);
  redrawCover();
  EXPECT_EQ(root.WindowPixel(25, 25), ToPixel(kRed));
  EXPECT_EQ(root.WindowPixel(55, 55), ToPixel(kGreen));
}

}  // namespace
