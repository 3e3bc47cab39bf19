#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "tests/toolkit/support/MessageLog.h"
#include "toolkit/controls/CentralController.h"

namespace {

constexpr std::int32_t kChanged = GenericControl::kValueChanged;
using Log = std::vector<MessageLog::Entry>;

struct ValueCase {
  const char* name;
  std::int32_t start;
  std::function<void(GenericControl&)> act;
  std::int32_t value;
  Log sent;
};

TEST(GenericControl, ValueModel) {
  // Every control: range 0..10, default 4.
  const ValueCase cases[] = {
      {"same value", 6, [](GenericControl& c) { c.SetValue(6); }, 6, {}},
      {"new value", 6, [](GenericControl& c) { c.SetValue(7); }, 7, {{kChanged, 7}}},
      {"forced same value", 6, [](GenericControl& c) { c.SetValueForced(6); }, 6, {{kChanged, 6}}},
      {"above max", 6, [](GenericControl& c) { c.SetValue(15); }, 10, {{kChanged, 10}}},
      {"below min", 6, [](GenericControl& c) { c.SetValue(-3); }, 0, {{kChanged, 0}}},
      {"above max at max", 10, [](GenericControl& c) { c.SetValue(15); }, 10, {}},
      {"below min at min", 0, [](GenericControl& c) { c.SetValue(-1); }, 0, {}},
      {"quiet", 6, [](GenericControl& c) { c.SetValueQuiet(2); }, 2, {}},
      {"reset at default", 4, [](GenericControl& c) { c.ResetToDefault(); }, 4, {{kChanged, 4}}},
      {"range cuts the value", 9, [](GenericControl& c) { c.SetRange(0, 5); }, 5, {{kChanged, 5}}},
      {"range keeps the value", 3, [](GenericControl& c) { c.SetRange(2, 5); }, 3, {}},
  };
  PluginServices services;
  for (const ValueCase& test : cases) {
    SCOPED_TRACE(test.name);
    GenericControl control(&services, 0, 10, 4, 7);
    control.SetValueQuiet(test.start);
    MessageLog log(services.GetMessagingServer(), control.GetControlMsgClass());
    test.act(control);
    EXPECT_EQ(control.GetValue(), test.value);
    EXPECT_EQ(log.entries, test.sent);
  }
}

TEST(GenericControl, PreviousValueIsTheValueBeforeTheChange) {
  PluginServices services;
  GenericControl control(&services, 0, 10, 4, 7);
  control.SetValue(12);
  EXPECT_EQ(control.GetValue(), 10);
  EXPECT_EQ(control.GetPreviousValue(), 4);
}

TEST(ControllerMapping, Table) {
  using Map = std::int32_t (*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
  struct Case {
    Map map;
    std::int32_t value, min, max, toMin, toMax, expected;
  };
  const Map up = &ControlToControllerValue, down = &ControllerToControlValue;
  const Case cases[] = {
      {up, 3, 0, 10, 0, 100, 30},  // not 29: the bias absorbs 29.999...
      {up, 7, 0, 10, 0, 100, 70},   {up, 10, 0, 10, 0, 100, 100},
      {up, 0, 0, 10, 0, 100, 0},    {up, 2, 0, 3, 0, 1, 0},
      {up, 3, -5, 5, 0, 100, 80},   {up, 4, 2, 9, 2, 9, 4},  // equal ranges: the value itself
      {up, 5, 5, 5, 0, 100, 100},  // an empty range maps to the far end, never divides by zero
      {down, 55, 0, 100, 0, 10, 5}, {down, 100, 0, 100, 0, 10, 10},
      {down, 1, 0, 100, 0, 10, 0},  {down, 99, 0, 100, 0, 10, 9},
      {down, 30, 0, 100, 0, 10, 3}, {down, 0, 0, 0, 3, 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.map == up ? "up " : "down ") << c.value << " of " << c.min << ".."
                                    << c.max << " in " << c.toMin << ".." << c.toMax);
    EXPECT_EQ(c.map(c.value, c.min, c.max, c.toMin, c.toMax), c.expected);
  }
}

struct ControllerFixture : testing::Test {
  PluginServices services;
  MessagingServer& server = services.GetMessagingServer();
  CentralController controller{&services, 0, 100, 50, 1};
  GenericControl a{&services, 0, 10, 0, 2, &controller};
  GenericControl b{&services, 0, 100, 0, 3, &controller};
};

TEST_F(ControllerFixture, AttachedControlsTakeTheControllersValueAtOnce) {
  EXPECT_EQ(a.GetValue(), 5);
  EXPECT_EQ(b.GetValue(), 50);
  EXPECT_EQ(a.GetController(), &controller);
}

TEST_F(ControllerFixture, AChangeReachesEveryOtherControlMapped) {
  MessageLog logA(server, a.GetControlMsgClass()), logB(server, b.GetControlMsgClass()),
      logC(server, controller.GetControlMsgClass());
  a.SetValue(3);
  EXPECT_EQ(controller.GetValue(), 30);
  EXPECT_EQ(b.GetValue(), 30);
  EXPECT_EQ(logA.entries, (Log{{kChanged, 3}}));
  EXPECT_EQ(logB.entries, (Log{{kChanged, 30}}));
  EXPECT_EQ(logC.entries, (Log{{kChanged, 30}}));

  controller.SetValue(55);
  EXPECT_EQ(a.GetValue(), 5);
  EXPECT_EQ(b.GetValue(), 55);
}

TEST_F(ControllerFixture, AQuietSetOnTheControllerLeavesTheControls) {
  controller.SetValueQuiet(80);
  EXPECT_EQ(controller.GetValue(), 80);
  EXPECT_EQ(a.GetValue(), 5);
}

TEST_F(ControllerFixture, AttachingElsewhereLeavesTheFirstController) {
  CentralController other(&services, 0, 10, 9, 4);
  other.Attach(&a);
  EXPECT_EQ(a.GetValue(), 9);
  controller.SetValue(10);
  EXPECT_EQ(a.GetValue(), 9);
  EXPECT_EQ(b.GetValue(), 10);
}

TEST(ControllerLifetime, ControlsForgetAControllerRemovedWhileMuted) {
  PluginServices services;
  auto controller = std::make_unique<CentralController>(&services, 0, 1, 0, 1);
  auto control = std::make_unique<GenericControl>(&services, 0, 1, 0, 2, controller.get());
  services.GetMessagingServer().MuteMessageClass(controller->GetControlMsgClass(), true);
  controller.reset();
  EXPECT_EQ(control->GetController(), nullptr);
  control->SetValue(1);  // would reach the dead controller
  control.reset();       // would detach from it
}

TEST(ControllerLifetime, AControlDestroyedFirstLeavesTheController) {
  PluginServices services;
  CentralController controller(&services, 0, 1, 0, 1);
  {
    GenericControl control(&services, 0, 1, 0, 2, &controller);
    EXPECT_EQ(services.GetMessagingServer().GetSubscriberCount(controller.GetControlMsgClass()), 1);
  }
  EXPECT_EQ(services.GetMessagingServer().GetSubscriberCount(controller.GetControlMsgClass()), 0);
  controller.SetValue(1);
}

TEST(BooleanController, IsOnFollowsTheValue) {
  PluginServices services;
  BooleanController controller(&services, true, 5);
  EXPECT_TRUE(controller.IsOn());
  controller.SetValue(0);
  EXPECT_FALSE(controller.IsOn());
  EXPECT_EQ(controller.GetControlId(), 5);
}

}  // namespace
