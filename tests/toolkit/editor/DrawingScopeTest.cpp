#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/toolkit/support/TestRoot.h"

namespace {

// Runs an action from its Draw.
class ActingFrame : public Frame {
 public:
  ActingFrame(Frame* parent, std::int32_t x, std::int32_t id, std::vector<std::int32_t>* log)
      : Frame(parent, x, 0, 10, 10, 0, id), mLog(log) {}
  void Draw(DrawContext&, const Rect&) override {
    mLog->push_back(GetId());
    if (action) action();
  }
  std::function<void()> action;

 private:
  std::vector<std::int32_t>* mLog{nullptr};
};

struct Fixture : testing::Test {
  Fixture() {
    for (std::int32_t i = 0; i < 3; ++i)
      frames[i] = new ActingFrame(root.GetRootFrame(), 10 * i, i + 1, &log);
    root.Flush();
    log.clear();
  }
  TestRoot root;
  std::vector<std::int32_t> log;
  ActingFrame* frames[3] = {};
};

TEST_F(Fixture, WhatADrawInvalidatesWaitsForTheNextScope) {
  frames[0]->action = [this] {
    frames[0]->Invalidate();
    frames[2]->Invalidate();
  };
  frames[0]->Invalidate();
  frames[1]->Invalidate();
  root.Flush();
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(root.GetUpdateSet(), (std::vector<Frame*>{frames[0], frames[2]}));
  frames[0]->action = nullptr;
  root.Flush();
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 2, 1, 3}));
  EXPECT_EQ(root.GetDrawingScopeCount(), 0);
}

TEST_F(Fixture, AFrameDeletedByADrawIsNotDrawn) {
  frames[0]->action = [this] { delete frames[1]; };
  frames[0]->Invalidate();
  frames[1]->Invalidate();
  frames[2]->Invalidate();
  root.Flush();
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 3}));
  EXPECT_EQ(root.GetUpdateSet(), (std::vector<Frame*>{root.GetRootFrame()}));  // where it was
}

TEST_F(Fixture, ADrawThatThrowsLeavesTheSetAndTheCountConsistent) {
  frames[1]->action = [] { throw std::runtime_error("draw failed"); };
  for (ActingFrame* f : frames) f->Invalidate();
  EXPECT_THROW(root.Flush(), std::runtime_error);
  EXPECT_EQ(root.GetDrawingScopeCount(), 0);
  // The failing frame is dropped, so the failure does not come back at every scope.
  EXPECT_EQ(root.GetUpdateSet(), (std::vector<Frame*>{frames[2]}));
  root.Flush();
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 2, 3}));
  {
    PluginUIRoot::DrawingScope outer(root, false);
    PluginUIRoot::DrawingScope inner(root, true);
    EXPECT_EQ(root.GetDrawingScopeCount(), 2);
  }
  EXPECT_EQ(root.GetDrawingScopeCount(), 0);
}

TEST_F(Fixture, ASuspendedRootOnlyInvalidatesOnDrawRect) {
  {
    PluginUIRoot::SuspendScope suspend(root);
    root.DrawRect(root.GetEditorRect());
    EXPECT_FALSE(root.IsPainted());
    EXPECT_EQ(root.GetUpdateSet(), (std::vector<Frame*>{root.GetRootFrame()}));
  }
  {
    PluginUIRoot::DrawingScope scope(root, false);
    root.DrawRect(root.GetEditorRect());
  }
  EXPECT_TRUE(root.IsPainted());
  EXPECT_EQ(log, (std::vector<std::int32_t>{1, 2, 3}));
}

}  // namespace
