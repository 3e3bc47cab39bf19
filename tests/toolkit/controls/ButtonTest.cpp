#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/support/MessageLog.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/PixMapSlider.h"

namespace {

constexpr std::int32_t kChanged = GenericControl::kValueChanged, kPressed = GenericControl::kPressed,
                       kReleased = GenericControl::kReleased, kDragged = GenericControl::kDragged;
using Log = std::vector<MessageLog::Entry>;

struct ButtonFixture : testing::Test {
  TestRoot root{120, 60};
  std::unique_ptr<OGWorld> strip = MakeCellStrip(6, 10, 10);
  Frame* panel = new Frame(root.GetRootFrame(), 10, 10, 100, 40, 0, 9);
  MessagingServer& server = root.GetMessagingServer();

  // Local points of the button at (5, 5) of the panel.
  void Press(Frame* f, std::int32_t x = 5, std::int32_t y = 5) {
    f->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, x, y});
  }
  void Move(Frame* f, std::int32_t x, std::int32_t y) {
    Point p{x, y};
    f->LocalToGlobal(p);
    root.CapturedMouseMove(p);
  }
  void Release(Frame* f, std::int32_t x = 5, std::int32_t y = 5) {
    Point p{x, y};
    f->LocalToGlobal(p);
    root.CapturedMouseUp(p);
  }
  void Click(Frame* f, std::int32_t x = 5, std::int32_t y = 5) {
    Press(f, x, y);
    Release(f, x, y);
  }
  // The colour the window shows in the middle of the button.
  Color Shown(Frame* f) {
    root.Flush();
    const Rect r = f->GetGlobalRect();
    return FromPixel(root.WindowPixel(r.left + 5, r.top + 5));
  }
};

TEST_F(ButtonFixture, MultiStateShowsEvenImagesAtRestOddOnesPressedAndWraps) {
  auto* button = new MultiStateButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 2, 0, 1);
  std::vector<std::int32_t> values, rest, pressed;
  for (int click = 0; click < 4; ++click) {
    values.push_back(button->GetValue());
    rest.push_back(button->GetImageIndex());
    EXPECT_EQ(Shown(button), CellColor(button->GetImageIndex()));
    Press(button);
    pressed.push_back(button->GetImageIndex());
    EXPECT_EQ(Shown(button), CellColor(button->GetImageIndex()));
    Release(button);
  }
  EXPECT_EQ(values, (std::vector<std::int32_t>{0, 1, 2, 0}));
  EXPECT_EQ(rest, (std::vector<std::int32_t>{0, 2, 4, 0}));
  EXPECT_EQ(pressed, (std::vector<std::int32_t>{1, 3, 5, 1}));
}

TEST_F(ButtonFixture, MultiStateRangesNeverLeaveTheStrip) {
  struct Case {
    std::int32_t min, max, value, states, state, next;
  };
  const Case cases[] = {
      {0, 2, 2, 3, 2, 0},   {1, 3, 1, 3, 0, 2},   {-3, 2, -2, 6, 1, -1},
      {-3, 2, 2, 6, 5, -3}, {0, -1, 0, 1, 0, -1},  // max -1: one state, the value clamped to it
      {4, 4, 4, 1, 0, 4},   {5, 2, 9, 1, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.value);
    auto button = std::make_unique<MultiStateButton>(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, c.min,
                                                     c.max, c.value, 1);
    button->SetValueForced(c.value);
    EXPECT_EQ(button->GetStateCount(), c.states);
    EXPECT_EQ(button->GetState(), c.state);
    EXPECT_GE(button->GetImageIndex(), 0);
    EXPECT_LT(button->GetImageIndex(), 2 * c.states);
    button->SetRange(c.min, c.max);  // an empty range disables; enable it for the click
    button->SetEnabled(true);
    Click(button.get());
    EXPECT_EQ(button->GetValue(), c.next);
  }
}

struct KindCase {
  const char* name;
  std::function<PixMapButton*(Frame*, const OGWorld*)> make;
  bool releaseInside;
  Log sent;
  std::int32_t value;
};

TEST_F(ButtonFixture, MessagesOfEachKind) {
  const KindCase cases[] = {
      {"action, inside",
       [](Frame* p, const OGWorld* w) { return new ActionButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 1); },
       true,
       {{kPressed, 0}, {kChanged, 1}, {kReleased, 0}},
       0},
      {"action, outside",
       [](Frame* p, const OGWorld* w) { return new ActionButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 1); },
       false,
       {{kPressed, 0}, {kReleased, 0}},
       0},
      {"instant, inside",
       [](Frame* p, const OGWorld* w) {
         return new InstantActionButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 1);
       },
       true,
       {{kPressed, 0}, {kChanged, 1}, {kReleased, 0}},
       0},
      {"instant, outside",
       [](Frame* p, const OGWorld* w) {
         return new InstantActionButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 1);
       },
       false,
       {{kPressed, 0}, {kChanged, 1}, {kDragged, 0}, {kReleased, 0}},
       0},
      {"toggle, inside",
       [](Frame* p, const OGWorld* w) { return new BooleanButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 0, 1); },
       true,
       {{kPressed, 0}, {kChanged, 1}, {kReleased, 1}},
       1},
      {"toggle, outside",
       [](Frame* p, const OGWorld* w) { return new BooleanButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 0, 1); },
       false,
       {{kPressed, 0}, {kReleased, 0}},
       0},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<PixMapButton> button(c.make(panel, strip.get()));
    MessageLog log(server, button->GetControlMsgClass());
    Press(button.get());
    if (!c.releaseInside) {
      if (c.name[0] == 'i') Move(button.get(), 30, 5);  // an instant button stays lit while dragged off
      Release(button.get(), 30, 5);
    } else {
      Release(button.get());
    }
    EXPECT_EQ(log.entries, c.sent);
    EXPECT_EQ(button->GetValue(), c.value);
  }
}

TEST_F(ButtonFixture, InstantButtonKeepsItsHiliteWhileDraggedOff) {
  auto* instant = new InstantActionButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 1);
  auto* toggle = new BooleanButton(panel, 25, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 2);
  Press(instant);
  Move(instant, 40, 5);
  EXPECT_TRUE(instant->IsHilited());
  EXPECT_FALSE(instant->IsInside());
  Release(instant, 40, 5);
  EXPECT_FALSE(instant->IsHilited());
  Press(toggle);
  Move(toggle, 40, 5);
  EXPECT_FALSE(toggle->IsHilited());
  Move(toggle, 5, 5);
  EXPECT_TRUE(toggle->IsHilited());
  Release(toggle);
}

TEST_F(ButtonFixture, ModifierClicks) {
  auto* button = new BooleanButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 1);
  MessageLog log(server, button->GetControlMsgClass());
  root.Window().control = true;
  Press(button);
  EXPECT_EQ(log.entries, Log{});
  EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
  EXPECT_EQ(root.locks, 0);

  button->SetModifierClicks(false, true, false, false);
  Click(button);
  EXPECT_EQ(button->GetValue(), 1);

  // Shift resets to the default and starts no gesture.
  root.Window().control = false;
  root.Window().shift = true;
  button->SetResetOnShiftClick(true);
  log.Take();
  Press(button);
  EXPECT_EQ(log.entries, (Log{{kChanged, 0}}));
  EXPECT_FALSE(button->IsPressed());
  EXPECT_EQ(root.locks, 0);
}

TEST_F(ButtonFixture, AnEmptyRangeDisablesAndARangeWithRoomEnables) {
  auto* button = new MultiStateButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 2, 0, 1);
  button->SetRange(3, 3);
  EXPECT_FALSE(button->IsEnabled());
  EXPECT_EQ(button->GetValue(), 3);
  button->SetRange(0, 1);
  EXPECT_TRUE(button->IsEnabled());
  EXPECT_EQ(button->GetValue(), 1);
}

TEST_F(ButtonFixture, DisabledImage) {
  auto* button = new BooleanButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 1);
  button->SetDisabledImage(50, 0);
  button->SetEnabled(false);
  EXPECT_EQ(Shown(button), CellColor(5));
}

TEST_F(ButtonFixture, HoverStripWhileAnAcceptedModifierIsHeld) {
  // Normal strip cells 0 and 1, hover strip cells 2 and 3.
  auto* button = new BooleanButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 1);
  button->SetHoverImage(20, 0, 10, 0);
  EXPECT_TRUE(button->GetFlags() & Frame::kHoverMoves);
  button->SetModifierClicks(false, true, false, false);
  auto hover = [&](std::int32_t kind) { button->ProcessMouseEvent(Frame::MouseEvent{kind, 5, 5}); };
  hover(Frame::kMouseEnter);
  EXPECT_EQ(Shown(button), CellColor(0));
  root.Window().control = true;
  hover(Frame::kMouseMove);
  EXPECT_EQ(Shown(button), CellColor(2));
  root.Window().shift = true;  // not taken by this button: the plain strip, though Ctrl is down too
  root.Window().control = false;
  hover(Frame::kMouseMove);
  EXPECT_EQ(Shown(button), CellColor(0));
  root.Window().shift = false;
  root.Window().control = true;
  hover(Frame::kMouseMove);
  hover(Frame::kMouseLeave);
  EXPECT_EQ(Shown(button), CellColor(0));
}

// The gesture's end: the capture and the lock go, pressed is cleared and the release is announced,
// however the gesture ends.
struct GestureEnd {
  const char* name;
  std::function<void(ButtonFixture&, PixMapButton*&)> end;
};

class ThrowingButton : public BooleanButton {
 public:
  using BooleanButton::BooleanButton;
  void Action(std::int32_t kind, std::int32_t x, std::int32_t y, bool inside) override {
    BooleanButton::Action(kind, x, y, inside);
    if (kind == kActionRelease) throw std::runtime_error("release handler");
  }
};

TEST_F(ButtonFixture, EveryWayAGestureEndsReleasesCaptureAndLock) {
  const GestureEnd ends[] = {
      {"release", [](ButtonFixture& f, PixMapButton*& b) { f.Release(b); }},
      {"release handler throws", [](ButtonFixture& f, PixMapButton*& b) { f.Release(b); }},
      {"disabled", [](ButtonFixture&, PixMapButton*& b) { b->SetEnabled(false); }},
      {"parent disabled", [](ButtonFixture& f, PixMapButton*&) { f.panel->SetEnabled(false); }},
      {"hidden", [](ButtonFixture&, PixMapButton*& b) { b->SetVisible(false, false); }},
      {"parent hidden", [](ButtonFixture& f, PixMapButton*&) { f.panel->SetVisible(false, false); }},
      {"destroyed",
       [](ButtonFixture&, PixMapButton*& b) {
         delete b;
         b = nullptr;
       }},
  };
  for (const GestureEnd& end : ends) {
    SCOPED_TRACE(end.name);
    panel->SetEnabled(true);
    panel->SetVisible(true, false);
    PixMapButton* button = std::string(end.name) == "release handler throws"
                               ? new ThrowingButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 1)
                               : new BooleanButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 0, 1);
    MessageLog log(server, button->GetControlMsgClass());
    Press(button);
    ASSERT_EQ(root.GetMouseCaptureFrame(), button);
    ASSERT_EQ(root.locks, 1);
    end.end(*this, button);
    EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
    EXPECT_EQ(root.locks, 0);
    ASSERT_GE(log.entries.size(), 2u);
    EXPECT_EQ(log.entries.front(), (MessageLog::Entry{kPressed, 0}));
    EXPECT_EQ(
        std::count_if(log.entries.begin(), log.entries.end(), [](auto& e) { return e.first == kReleased; }),
        1);
    if (!button) continue;
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(button->IsInside());
    EXPECT_FALSE(button->IsHilited());
    // A release arriving afterwards changes nothing.
    Release(button);
    EXPECT_EQ(root.locks, 0);
    delete button;
  }
}

// A release action whose value handler disables or hides the control: the release still ends
// the gesture, once, after the action, with the value after it.
TEST_F(ButtonFixture, AReleaseActionThatDisablesOrHidesItsControlAnnouncesOneRelease) {
  const GestureEnd ends[] = {
      {"disabled", [](ButtonFixture&, PixMapButton*& b) { b->SetEnabled(false); }},
      {"parent disabled", [](ButtonFixture& f, PixMapButton*&) { f.panel->SetEnabled(false); }},
      {"hidden", [](ButtonFixture&, PixMapButton*& b) { b->SetVisible(false, false); }},
      {"parent hidden", [](ButtonFixture& f, PixMapButton*&) { f.panel->SetVisible(false, false); }},
  };
  for (const GestureEnd& end : ends) {
    SCOPED_TRACE(end.name);
    panel->SetEnabled(true);
    panel->SetVisible(true, false);
    std::unique_ptr<PixMapButton> button(
        new ActionButton(panel, 5, 5, 10, 10, 10, 0, 0, 0, strip.get(), 0, 1));
    PixMapButton* pointer = button.get();
    MessageHook act(server, button->GetControlMsgClass(), [&](std::int32_t code, std::int32_t) {
      if (code == kChanged) end.end(*this, pointer);
    });
    MessageLog log(server, button->GetControlMsgClass());  // hears each message first
    Click(button.get());
    EXPECT_EQ(log.entries, (Log{{kPressed, 0}, {kChanged, 1}, {kReleased, 0}}));
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
    EXPECT_EQ(root.locks, 0);
  }
}

// A value handler deletes its control in the middle of a gesture: the gesture ends with one
// release from the going control, and nothing touches the control afterwards.
TEST_F(ButtonFixture, AControlDeletedByItsValueHandlerMidGestureIsLeftAlone) {
  struct Case {
    const char* name;
    std::function<Frame*(Frame*, const OGWorld*)> make;
    bool drag;  // press at (5, 5), drag to (40, 5) if asked, release where the pointer is
  };
  const Case cases[] = {
      {"action, on the release",
       [](Frame* p, const OGWorld* w) { return new ActionButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 1); },
       false},
      {"toggle, on the release",
       [](Frame* p, const OGWorld* w) { return new BooleanButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 0, 1); },
       false},
      {"instant, on the press",
       [](Frame* p, const OGWorld* w) {
         return new InstantActionButton(p, 5, 5, 10, 10, 10, 0, 0, 0, w, 0, 1);
       },
       false},
      {"slider, on a drag",
       [](Frame* p, const OGWorld* w) {
         return new PixMapSlider(p, 5, 5, 62, 11, 0, 0, w, 0, 0, 7, 11, std::nullopt, 0, 0, 100, 0, 1);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Frame* control = c.make(panel, strip.get());
    auto* generic = dynamic_cast<GenericControl*>(control);
    bool deleted = false;
    MessageHook deleter(server, generic->GetControlMsgClass(), [&](std::int32_t code, std::int32_t) {
      if (code != kChanged || deleted) return;
      deleted = true;
      delete control;
    });
    MessageLog log(server, generic->GetControlMsgClass());
    Press(control);
    const std::int32_t x = c.drag ? 40 : 5;
    if (!deleted && c.drag) Move(control, x, 5);
    if (!deleted) Release(control, x, 5);
    ASSERT_TRUE(deleted);
    EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
    EXPECT_EQ(root.locks, 0);
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries.back().first, kMessageClassRemoved) << "nothing after the control went";
    EXPECT_EQ(
        std::count_if(log.entries.begin(), log.entries.end(), [](auto& e) { return e.first == kReleased; }),
        1);
  }
}

}  // namespace
