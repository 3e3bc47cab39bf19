#include <gtest/gtest.h>

#include "tests/toolkit/support/TestRoot.h"

namespace {

TEST(FrameHit, EdgesAndOverlaps) {
  TestRoot root;
  auto* panel = new Frame(root.GetRootFrame(), 10, 10, 50, 40, 0, 1);
  auto* first = new Frame(panel, 5, 5, 20, 20, 0, 2);
  auto* second = new Frame(panel, 15, 15, 20, 20, 0, 3);
  struct Case {
    std::int32_t x, y;
    Frame* hit;
  };
  const Case cases[] = {
      {10, 30, root.GetRootFrame()},  // the panel's left edge does not hit it
      {11, 11, panel},
      {30, 10, root.GetRootFrame()},
      {59, 49, panel},
      {60, 30, root.GetRootFrame()},
      {15, 20, panel},  // first's left edge
      {16, 16, first},
      {30, 30, first},  // overlap: the child added first wins
      {40, 40, second},
      {0, 0, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(root.GetRootFrame()->FindFrameAt(c.x, c.y, true), c.hit) << c.x << "," << c.y;
  second->SetVisible(false, false);
  EXPECT_EQ(root.GetRootFrame()->FindFrameAt(40, 40, true), panel);
  EXPECT_EQ(second->FindFrameAt(40, 40, false), second);
}

TEST(FrameLayout, AnchoredChildrenFollowTheirParentsEdges) {
  TestRoot root(400, 300);
  auto* parent = new Frame(root.GetRootFrame(), 0, 0, 200, 100, 0, 1);
  auto* right = new Frame(parent, 150, 10, 30, 20, Frame::kAnchorRight, 2);
  auto* stretch = new Frame(parent, 10, 10, 170, 20, Frame::kAnchorLeft | Frame::kAnchorRight, 3);
  auto* bottom = new Frame(parent, 10, 60, 30, 20, Frame::kAnchorTop | Frame::kAnchorBottom, 4);
  auto* free = new Frame(parent, 10, 10, 5, 5, 0, 5);
  parent->SetSize(300, 150, true);
  EXPECT_EQ(right->GetGlobalRect(), (Rect{250, 10, 280, 30}));
  EXPECT_EQ(stretch->GetGlobalRect(), (Rect{10, 10, 280, 30}));
  EXPECT_EQ(bottom->GetGlobalRect(), (Rect{10, 60, 40, 130}));
  EXPECT_EQ(free->GetGlobalRect(), (Rect{10, 10, 15, 15}));
  parent->SetPosition(5, 7);
  EXPECT_EQ(right->GetGlobalRect(), (Rect{255, 17, 285, 37}));
  EXPECT_EQ(right->GetVisibleRect(), (Rect{0, 0, 30, 20}));
  right->SetPosition(290, 0);
  EXPECT_EQ(right->GetVisibleRect(), (Rect{0, 0, 10, 20}));  // cut by the parent
}

std::int32_t Record(MessageSubscription*, void* log, std::int32_t, MessageClass*, std::int32_t code,
                    std::int32_t, void*) {
  static_cast<std::vector<std::int32_t>*>(log)->push_back(code);
  return 0;
}

TEST(FrameMouse, ADisabledFramePublishesOnlyPressesAsCode5) {
  std::vector<std::int32_t> codes;  // outlives the tree, which announces its end
  TestRoot root;
  auto* frame = new Frame(root.GetRootFrame(), 0, 0, 10, 10, 0, 1);
  root.GetMessagingServer().Subscribe(frame->GetMsgClass(), Record, &codes, 0);
  const std::int32_t kinds[] = {0, 1, 2, 3, 4, 9};
  for (std::int32_t kind : kinds) frame->ProcessMouseEvent(Frame::MouseEvent{kind, 1, 1});
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 1, 2, 3, 4, Frame::kMouseOther}));
  EXPECT_FALSE(frame->IsMouseOver());
  codes.clear();
  frame->SetEnabled(false);
  for (std::int32_t kind : kinds) frame->ProcessMouseEvent(Frame::MouseEvent{kind, 1, 1});
  EXPECT_EQ(codes, (std::vector<std::int32_t>{Frame::kMouseDownDisabled}));
}

TEST(FrameMouse, CaptureGoesThroughTheRootAndEndsWithTheFrame) {
  TestRoot root;
  auto* frame = new Frame(root.GetRootFrame(), 0, 0, 10, 10, 0, 1);
  frame->CaptureMouse();
  EXPECT_EQ(root.GetMouseCaptureFrame(), frame);
  delete frame;
  EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
}

}  // namespace
