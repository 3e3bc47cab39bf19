// The update set on its own: frames of a test root, held by a set of the test's.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/editor/UpdateSet.h"

namespace {

using Frames = std::vector<Frame*>;

struct Tree {
  TestRoot root;
  Frame* a = new Frame(root.GetRootFrame(), 0, 0, 40, 40, 0, 1);
  Frame* a1 = new Frame(a, 0, 0, 10, 10, 0, 11);
  Frame* a11 = new Frame(a1, 0, 0, 5, 5, 0, 111);
  Frame* b = new Frame(root.GetRootFrame(), 50, 0, 20, 20, 0, 2);
};

TEST(EditorUpdateSet, NoFrameWaitsTogetherWithAnAncestor) {
  Tree t;
  struct Case {
    const char* what;
    Frames added;
    Frames waiting;
  };
  const Case cases[] = {
      {"one frame", {t.a1}, {t.a1}},
      {"twice", {t.a1, t.a1}, {t.a1}},
      {"under a waiting ancestor", {t.a, t.a11}, {t.a}},
      {"an ancestor replaces its descendants", {t.a11, t.b, t.a1}, {t.b, t.a1}},
      {"grandchildren go too", {t.a11, t.a}, {t.a}},
      {"in order of adding", {t.b, t.a}, {t.b, t.a}},
  };
  for (const Case& c : cases) {
    UpdateSet set;
    for (Frame* frame : c.added) set.Add(frame);
    EXPECT_EQ(set.Frames(), c.waiting) << c.what;
  }
  UpdateSet set;
  set.Add(t.a1);
  set.Add(t.b);
  set.Remove(t.a1);
  set.Remove(t.a);  // not waiting: nothing
  EXPECT_EQ(set.Frames(), Frames{t.b});
}

// Draws log their ids; one draw may throw or take another frame out of the set.
class ActingFrame : public Frame {
 public:
  ActingFrame(Frame* parent, std::int32_t id, std::vector<std::int32_t>& log)
      : Frame(parent, 10 * id, 0, 10, 10, 0, id), mLog(log) {}
  void Draw(DrawContext&, const Rect&) override {
    mLog.push_back(GetId());
    if (removeFromSet) removeFromSet->Remove(removeFrame);
    if (fail) throw std::runtime_error("draw failed");
  }
  UpdateSet* removeFromSet{nullptr};
  Frame* removeFrame{nullptr};
  bool fail{false};

 private:
  std::vector<std::int32_t>& mLog;
};

TEST(EditorUpdateSet, ARedrawSkipsFramesRemovedMeanwhileAndDropsOnlyTheOneThatFails) {
  TestRoot root;
  std::vector<std::int32_t> log;
  ActingFrame* frames[4];
  for (std::int32_t i = 0; i < 4; ++i) frames[i] = new ActingFrame(root.GetRootFrame(), i + 1, log);
  PluginUIRoot::DrawingScope scope(root, false);
  UpdateSet set;
  for (ActingFrame* frame : frames) set.Add(frame);
  frames[0]->removeFromSet = &set;
  frames[0]->removeFrame = frames[1];
  frames[2]->fail = true;
  EXPECT_THROW(set.RedrawAll(), std::runtime_error);
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 3}));
  EXPECT_FALSE(set.IsRedrawing());
  EXPECT_EQ(set.Frames(), Frames{frames[3]});  // the frame after the failure waits again
  frames[0]->removeFromSet = nullptr;
  set.RedrawAll();
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 3, 4}));
  EXPECT_TRUE(set.Frames().empty());
}

}  // namespace
