#include <gtest/gtest.h>

#include "tests/toolkit/support/MessageLog.h"
#include "tests/toolkit/support/TestRoot.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/controls/IncDecControlGroup.h"
#include "toolkit/controls/PixMapButton.h"

namespace {

struct ContainerFixture : testing::Test {
  TestTick tick;
  TestRoot root{120, 60};
  std::unique_ptr<OGWorld> strip = MakeCellStrip(2, 10, 10);
  PluginServices* services = root.GetPluginServices();
  MessagingServer& server = root.GetMessagingServer();

  InstantActionButton* MakeButton(std::int32_t x, std::int32_t id) {
    return new InstantActionButton(root.GetRootFrame(), x, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, id);
  }
  void Press(Frame* f) { f->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, 5, 5}); }
  void Release(Frame* f) {
    Point p{5, 5};
    f->LocalToGlobal(p);
    root.CapturedMouseUp(p);
  }
  // One idle pass at each tick up to the given one.
  void RunUntil(std::int64_t until) {
    while (tick.Get() < until) {
      tick.Advance(1);
      root.ProcessTimersAndMessages();
    }
  }
};

TEST_F(ContainerFixture, ReportsWhichKeyChanged) {
  ControlContainer container(services, 7);
  GenericControl a(services, 0, 10, 0, 1), b(services, 0, 10, 0, 2);
  container.AddControl(&a, 5, false);
  container.AddControl(&b, -2, false);
  MessageLog log(server, container.GetMessageClass(ControlContainer::kMsgClassRef));
  b.SetValue(3);
  a.SetValue(4);
  a.SetValue(4);
  EXPECT_EQ(log.entries, (std::vector<MessageLog::Entry>{{0, -2}, {0, 5}}));
  EXPECT_EQ(container.FindControl(5), &a);
  EXPECT_EQ(container.FindControl(9), nullptr);
  EXPECT_THROW(container.AddControl(&b, 5, false), AppFrame::DuplicateEntry);
  EXPECT_EQ(container.FindControl(5), &a);
  container.RemoveControl(5);
  container.RemoveControl(5);
  a.SetValue(1);
  EXPECT_EQ(log.entries.size(), 2u);
}

TEST_F(ContainerFixture, AControlThatGoesLeavesTheContainer) {
  ControlContainer container(services, 0);
  auto control = std::make_unique<GenericControl>(services, 0, 1, 0, 1);
  container.AddControl(control.get(), 1, false);
  server.MuteMessageClass(control->GetControlMsgClass(),
                          true);  // the notice is muted, the entry goes all the same
  control.reset();
  EXPECT_EQ(container.FindControl(1), nullptr);
  EXPECT_EQ(container.GetControlCount(), 0u);
}

TEST_F(ContainerFixture, OwnedControlsDeletedOnceEvenWithTheirRemovalMuted) {
  ControlContainer container(services, 0);
  GenericControl borrowed(services, 0, 1, 0, 3);
  for (std::int32_t key : {1, 2}) {
    auto* owned = new GenericControl(services, 0, 1, 0, key);
    server.MuteMessageClass(owned->GetControlMsgClass(), true);
    container.AddControl(owned, key, true);
  }
  container.AddControl(&borrowed, 3, false);
  container.DeleteOwnedControls();  // ASan: each owned control deleted exactly once
  EXPECT_EQ(container.GetControlCount(), 0u);
  borrowed.SetValue(1);
}

struct GroupFixture : ContainerFixture {
  InstantActionButton* up = MakeButton(5, 11);
  InstantActionButton* down = MakeButton(25, 12);
  GenericControl target{services, 0, 1000, 500, 20};
  IncDecControlGroup* group = IncDecControlGroup::Create(services, up, down, &target);
};

TEST_F(GroupFixture, AShortClickStepsOnce) {
  const std::int64_t start = tick.Get();
  Press(up);
  RunUntil(start + 19);
  Release(up);
  RunUntil(start + 100);
  EXPECT_EQ(target.GetValue(), 501);
  Press(down);
  Release(down);
  RunUntil(start + 200);
  EXPECT_EQ(target.GetValue(), 500);
}

TEST_F(GroupFixture, HoldingRepeatsAfter20ThenEvery6ThenEveryPass) {
  MessageLog log(server, target.GetControlMsgClass());
  const std::int64_t start = tick.Get();
  std::vector<std::int64_t> stepTicks;
  Press(up);
  for (std::size_t seen = 0; tick.Get() < start + 130; tick.Advance(1), root.ProcessTimersAndMessages())
    for (; seen < log.entries.size(); ++seen) stepTicks.push_back(tick.Get() - start);
  Release(up);
  std::vector<std::int64_t> expected{0};
  for (std::int64_t t = 20; t < 120; t += 6) expected.push_back(t);  // 20, 26, ... 116
  for (std::int64_t t = 122; t < 130; ++t) expected.push_back(t);
  EXPECT_EQ(stepTicks, expected);
  const std::int32_t held = target.GetValue();
  RunUntil(start + 200);
  EXPECT_EQ(target.GetValue(), held);
}

TEST_F(GroupFixture, WrapAtTheEnds) {
  target.SetValue(1000);
  Press(up);
  Release(up);
  EXPECT_EQ(target.GetValue(), 1000);
  group->SetWrap(true);
  Press(up);
  Release(up);
  EXPECT_EQ(target.GetValue(), 0);
  Press(down);
  Release(down);
  EXPECT_EQ(target.GetValue(), 1000);
}

TEST_F(GroupFixture, ASecondPressReplacesTheRepeatAndAStrayReleaseDoesNothing) {
  Press(up);
  Press(up);  // no release between: the timer is replaced, nothing throws
  Release(up);
  Release(up);
  EXPECT_EQ(target.GetValue(), 502);
  RunUntil(tick.Get() + 100);
  EXPECT_EQ(target.GetValue(), 502);
}

TEST_F(GroupFixture, WithoutATargetTheRepeatReportsTheKey) {
  group->SetTarget(nullptr);
  MessageLog log(server, group->GetMessageClass(ControlContainer::kMsgClassRef));
  const std::int64_t start = tick.Get();
  Press(down);
  RunUntil(start + 27);
  Release(down);
  EXPECT_EQ(log.entries, (std::vector<MessageLog::Entry>{{0, -1}, {0, -1}, {0, -1}}));
}

TEST_F(GroupFixture, AButtonDestroyedMidHoldStopsRepeating) {
  const std::int64_t start = tick.Get();
  Press(up);
  delete up;  // its timer would be due at +20
  RunUntil(start + 100);
  EXPECT_EQ(target.GetValue(), 501);
  EXPECT_EQ(root.locks, 0);
  EXPECT_EQ(group->FindControl(IncDecControlGroup::kIncrementKey), nullptr);
  Press(down);
  Release(down);
  EXPECT_EQ(target.GetValue(), 500);
}

TEST_F(GroupFixture, AButtonDisabledMidHoldStopsRepeating) {
  const std::int64_t start = tick.Get();
  Press(up);
  up->SetEnabled(false);
  RunUntil(start + 100);
  EXPECT_EQ(target.GetValue(), 501);
  EXPECT_EQ(root.locks, 0);
}

TEST(GroupLifetime, ATargetThatGoesStopsTheRepeat) {
  TestTick tick;
  TestRoot root{120, 60};
  auto strip = MakeCellStrip(2, 10, 10);
  auto* up = new InstantActionButton(root.GetRootFrame(), 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 1);
  auto* down = new InstantActionButton(root.GetRootFrame(), 25, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 2);
  auto target = std::make_unique<GenericControl>(root.GetPluginServices(), 0, 10, 5, 3);
  IncDecControlGroup* group = IncDecControlGroup::Create(root.GetPluginServices(), up, down, target.get());
  up->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, 5, 5});
  target.reset();  // ASan: the repeat must not step it
  EXPECT_EQ(group->GetTarget(), nullptr);
  for (int i = 0; i < 60; ++i) {
    tick.Advance(1);
    root.ProcessTimersAndMessages();
  }
  root.CapturedMouseUp(Point{10, 10});
}

TEST(GroupLifetime, TheGroupGoesWithItsLastButton) {
  TestRoot root{120, 60};
  auto strip = MakeCellStrip(2, 10, 10);
  auto* up = new InstantActionButton(root.GetRootFrame(), 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 1);
  auto* down = new InstantActionButton(root.GetRootFrame(), 25, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 2);
  IncDecControlGroup::Create(root.GetPluginServices(), up, down, nullptr);
  delete up;
  delete down;  // ASan (leak check): the group deleted itself
}

}  // namespace
