#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/support/TestRoot.h"

namespace {

struct Heard {
  std::vector<std::int32_t> codes;
  const void* destroyedPayload{nullptr};
};

std::int32_t Listen(MessageSubscription*, void* user, std::int32_t, MessageClass*, std::int32_t code,
                    std::int32_t, void* payload) {
  auto* heard = static_cast<Heard*>(user);
  heard->codes.push_back(code);
  if (code == Frame::kFrameDestroyed) heard->destroyedPayload = payload;
  return 0;
}

// Joins every list a frame can join, then fails.
class FailingFrame : public Frame {
 public:
  FailingFrame(Frame* parent, Heard* heard) : Frame(parent, 10, 10, 20, 20, 0x1000 | Frame::kBuffered, 7) {
    GetRoot()->GetMessagingServer().Subscribe(GetMsgClass(), Listen, heard, 0);
    throw std::runtime_error("no");
  }
};

TEST(FrameLifetime, AFrameWhoseConstructorThrowsLeavesEveryList) {
  TestRoot root;
  Frame* parent = root.GetRootFrame();
  Heard heard;
  EXPECT_THROW(new FailingFrame(parent, &heard), std::runtime_error);
  EXPECT_TRUE(parent->GetChildren().empty());
  EXPECT_EQ(root.GetUpdateSet(), std::vector<Frame*>{parent});  // the parent repaints where it was
  EXPECT_TRUE(root.GetModalFrames().empty());
  EXPECT_EQ(root.Window().GetExclusionRegion(), nullptr);
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{Frame::kFrameDestroyed, kMessageClassRemoved}));
  root.Flush();  // nothing left points at the freed frame
}

TEST(FrameLifetime, DestructionAnnouncesItselfAndLeavesTheTree) {
  TestRoot root;
  auto* panel = new Frame(root.GetRootFrame(), 0, 0, 50, 50, 0, 1);
  auto* child = new Frame(panel, 5, 5, 10, 10, 0x2000, 2);
  root.Flush();
  child->Invalidate();
  Heard heardChild, heardPanel;
  root.GetMessagingServer().Subscribe(child->GetMsgClass(), Listen, &heardChild, 0);
  root.GetMessagingServer().Subscribe(panel->GetMsgClass(), Listen, &heardPanel, 0);
  delete panel;
  EXPECT_EQ(heardPanel.codes, (std::vector<std::int32_t>{Frame::kFrameDestroyed, kMessageClassRemoved}));
  EXPECT_EQ(heardPanel.destroyedPayload, panel);
  EXPECT_EQ(heardChild.codes, (std::vector<std::int32_t>{Frame::kFrameDestroyed, kMessageClassRemoved}));
  EXPECT_TRUE(root.GetRootFrame()->GetChildren().empty());
  EXPECT_EQ(root.GetUpdateSet(), std::vector<Frame*>{root.GetRootFrame()});
  EXPECT_TRUE(root.GetModalFrames().empty());
}

TEST(FrameLifetime, OverlaysDrawAfterTheFrameAndComeBackToTheCaller) {
  struct Corner : FrameOverlay {
    void Draw(Frame&, DrawContext& context, const Rect&) override {
      context.SetForeColor(kWhite);
      context.FillRect(Rect{0, 0, 1, 1});
    }
  };
  TestRoot root;
  auto* frame = new PaintFrame(root.GetRootFrame(), 10, 10, 5, 5, 0, 1, Color{0, 0, 0x8000}, nullptr);
  EXPECT_EQ(frame->SetOverlay(std::make_unique<Corner>()), nullptr);
  root.Flush();
  EXPECT_EQ(root.WindowPixel(10, 10), 0x00FFFFFFu);
  EXPECT_EQ(root.WindowPixel(11, 10), 0x00000080u);
  EXPECT_NE(frame->TakeOverlay(), nullptr);
  EXPECT_EQ(frame->TakeOverlay(), nullptr);
  root.Flush();
  EXPECT_EQ(root.WindowPixel(10, 10), 0x00000080u);
}

}  // namespace
