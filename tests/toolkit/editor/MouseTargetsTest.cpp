// The mouse targets on their own, and a frame that goes taking itself out of the root's.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/editor/MouseTargets.h"

namespace {

constexpr std::uint32_t kPriority1 = 0x1000, kPriority2 = 0x2000;

TEST(MouseTargets, TheTopModalFrameHasTheHighestPriorityAndIsTheNewestAmongEquals) {
  TestRoot root;
  Frame* low = new Frame(root.GetRootFrame(), 0, 0, 10, 10, kPriority1, 1);
  Frame* high = new Frame(root.GetRootFrame(), 0, 0, 10, 10, kPriority2, 2);
  Frame* newer = new Frame(root.GetRootFrame(), 0, 0, 10, 10, kPriority2, 3);
  MouseTargets targets;
  EXPECT_EQ(targets.TopModal(), nullptr);
  targets.AddModal(low);
  EXPECT_EQ(targets.TopModal(), low);
  targets.AddModal(high);
  targets.AddModal(newer);
  targets.AddModal(high);  // once only
  EXPECT_EQ(targets.Modal(), (std::vector<Frame*>{low, high, newer}));
  EXPECT_EQ(targets.TopModal(), newer);
  targets.RemoveModal(newer);
  EXPECT_EQ(targets.TopModal(), high);
}

TEST(MouseTargets, AFrameForgottenLeavesTheModalListAndTheHoverButNotTheCapture) {
  TestRoot root;
  Frame* frame = new Frame(root.GetRootFrame(), 0, 0, 10, 10, 0, 1);
  Frame* other = new Frame(root.GetRootFrame(), 0, 0, 10, 10, 0, 2);
  MouseTargets targets;
  targets.AddModal(frame);
  targets.AddModal(other);
  targets.SetOver(frame);
  targets.SetCapture(frame);
  targets.Forget(frame);
  EXPECT_EQ(targets.Modal(), std::vector<Frame*>{other});
  EXPECT_EQ(targets.Over(), nullptr);
  EXPECT_EQ(targets.TakeCapture(), frame);  // its holder's root releases it through its hooks
  EXPECT_EQ(targets.Capture(), nullptr);
  targets.SetOver(other);
  targets.Forget(frame);
  EXPECT_EQ(targets.Over(), other);
}

// Captures the mouse from its constructor, then fails.
class GrabbingFrame : public Frame {
 public:
  explicit GrabbingFrame(Frame* parent) : Frame(parent, 10, 10, 20, 20, kPriority1, 7) {
    CaptureMouse();
    throw std::runtime_error("no");
  }
};

TEST(MouseTargets, AFrameThatGoesLeavesTheRootsTargetsAndReleasesItsCaptureThroughTheHooks) {
  for (const bool failInConstructor : {false, true}) {
    SCOPED_TRACE(failInConstructor ? "constructor failed" : "destroyed");
    TestRoot root;
    if (failInConstructor) {
      EXPECT_THROW(new GrabbingFrame(root.GetRootFrame()), std::runtime_error);
    } else {
      Frame* frame = new Frame(root.GetRootFrame(), 10, 10, 20, 20, kPriority1, 7);
      root.MouseDown(15, 15);  // the modal frame takes the press and is under the mouse now
      frame->CaptureMouse();
      EXPECT_EQ(root.GetMouseOverFrame(), frame);
      EXPECT_EQ(root.GetMouseCaptureFrame(), frame);
      EXPECT_EQ(root.locks, 1);
      delete frame;
    }
    EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
    EXPECT_EQ(root.GetMouseOverFrame(), nullptr);
    EXPECT_TRUE(root.GetModalFrames().empty());
    EXPECT_EQ(root.locks, 0);  // the capture's hook was matched by a release's
    root.MouseDown(15, 15);    // nothing points at the freed frame
    EXPECT_EQ(root.GetMouseOverFrame(), root.GetRootFrame());
  }
}

}  // namespace
