#include <gtest/gtest.h>

#include "tests/toolkit/support/MessageLog.h"
#include "tests/toolkit/support/Pixels.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/controls/TextFrame.h"

namespace {

using Log = std::vector<MessageLog::Entry>;

struct TextFixture : testing::Test {
  TestRoot root{160, 60};
  TestWindow& window = root.Window();
  MessagingServer& server = root.GetMessagingServer();

  void Press(Frame* f) { f->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, 3, 3}); }
};

TEST_F(TextFixture, PenPositionPerAlignment) {
  struct Case {
    std::int16_t alignment;
    std::int32_t margin, baseline;
    Point pen;
  };
  // A 100 x 14 frame and a 40-pixel string.
  const Case cases[] = {
      {TextFrame::kCentred, 0, 2, {30, 12}}, {TextFrame::kCentred, 4, 2, {34, 12}},
      {TextFrame::kLeft, 0, 2, {0, 12}},     {TextFrame::kLeft, 5, 3, {5, 11}},
      {TextFrame::kRight, 0, 2, {60, 12}},   {TextFrame::kRight, 4, 0, {56, 14}},
  };
  auto* text = new TextFrame(root.GetRootFrame(), 10, 20, 100, 14, 0, 1);
  text->SetText("forty", false);
  window.stringWidth = 40;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.alignment << " margin " << c.margin);
    text->SetAlignment(c.alignment, false);
    text->SetTextOffsets(c.margin, c.baseline, true);
    window.pen = Point{-1, -1};
    root.Flush();
    EXPECT_EQ(window.pen, c.pen);
  }
  // Another alignment leaves the pen where it is.
  text->SetAlignment(7, true);
  window.pen = Point{-1, -1};
  root.Flush();
  EXPECT_EQ(window.pen, (Point{-1, -1}));
}

TEST_F(TextFixture, DrawsInTheColourOfItsState) {
  auto* text = new TextFrame(root.GetRootFrame(), 10, 20, 100, 14, 0, 1);
  text->SetText("MMMM", false);
  text->SetTextColor(Color{0xFFFF, 0, 0}, false);
  text->SetDisabledTextColor(Color{0, 0, 0xFFFF}, true);
  root.Flush();
  auto colours = [&] {
    std::set<std::uint32_t> seen;
    for (std::int32_t y = 20; y < 34; ++y)
      for (std::int32_t x = 10; x < 110; ++x)
        if (root.WindowPixel(x, y)) seen.insert(root.WindowPixel(x, y));
    return seen;
  };
  EXPECT_EQ(colours(), (std::set<std::uint32_t>{0xFF0000}));
  root.Window().SetForeColor(kBlack);
  root.Window().FillRect(Rect{0, 0, 160, 60});
  text->SetEnabled(false);
  root.Flush();
  EXPECT_EQ(colours(), (std::set<std::uint32_t>{0x0000FF}));
  root.Window().SetForeColor(kBlack);
  root.Window().FillRect(Rect{0, 0, 160, 60});
  text->SetHideWhenDisabled();
  text->Redraw(nullptr, true);
  root.Flush();
  EXPECT_TRUE(colours().empty());
}

TEST_F(TextFixture, StaticTextKeepsItsBackgroundWhenHidingTheText) {
  auto background = MakeCellStrip(1, 40, 11);
  auto* text = new StaticTextPMFrame(root.GetRootFrame(), 10, 20, 40, 11, 0, 0, background.get(), 0, 1);
  EXPECT_TRUE(text->GetFlags() & Frame::kBuffered);
  text->SetText("88", false);
  text->SetTextColor(kWhite, false);
  text->SetHideWhenDisabled();
  text->SetEnabled(false);
  root.Flush();
  for (std::int32_t y = 20; y < 31; ++y)
    for (std::int32_t x = 10; x < 50; ++x) ASSERT_EQ(FromPixel(root.WindowPixel(x, y)), CellColor(0));
  text->SetEnabled(true);
  root.Flush();
  bool white = false;
  for (std::int32_t y = 20; y < 31; ++y)
    for (std::int32_t x = 10; x < 50; ++x) white = white || root.WindowPixel(x, y) == 0xFFFFFF;
  EXPECT_TRUE(white);
}

TEST_F(TextFixture, EditStartsOnTheClickOfItsMode) {
  auto* text = new TextFrame(root.GetRootFrame(), 10, 20, 100, 14, 0, 1);
  text->SetText("-12.5", false);
  MessageLog log(server, text->GetEditMsgClass());
  Press(text);  // mode 0: no edit
  text->SetEditMode(TextFrame::kEditOnDoubleClick);
  root.MouseDown(40, 25);  // a single click through the editor root
  EXPECT_EQ(window.editsBegun, 0);
  window.shift = true;
  root.MouseDown(40, 25);  // double, but with a modifier: nothing
  EXPECT_TRUE(root.IsDoubleClick());
  EXPECT_EQ(log.entries, Log{});
  window.shift = false;
  root.MouseDown(40, 25);
  ASSERT_TRUE(root.IsDoubleClick());
  EXPECT_EQ(window.editsBegun, 1);
  EXPECT_EQ(window.editRect, (Rect{10, 20, 110, 34}));
  EXPECT_EQ(window.editText, "-12.5");
  EXPECT_EQ(log.Take(), (Log{{TextFrame::kEditStarted, 0}}));

  // The frame reports the entered text and leaves its own text alone.
  std::string entered;
  struct Catch {
    static std::int32_t Entered(MessageSubscription*, void* out, std::int32_t, MessageClass*,
                                std::int32_t code, std::int32_t, void* payload) {
      if (code == TextFrame::kEditEntered)
        *static_cast<std::string*>(out) = *static_cast<TextFrame::EnteredText*>(payload)->text;
      return 0;
    }
  };
  MessageSubscription* s = server.Subscribe(text->GetEditMsgClass(), &Catch::Entered, &entered, 0);
  const std::string typed = "3";
  window.EndEdit(&typed);
  server.Unsubscribe(text->GetEditMsgClass(), s);
  EXPECT_EQ(entered, "3");
  EXPECT_EQ(text->GetText(), "-12.5");
  EXPECT_EQ(log.Take(), (Log{{TextFrame::kEditEntered, 0}}));
}

TEST_F(TextFixture, ANewEditEndsTheOldOneOnce) {
  auto* a = new TextFrame(root.GetRootFrame(), 0, 0, 50, 14, 0, 1);
  auto* b = new TextFrame(root.GetRootFrame(), 60, 0, 50, 14, 0, 2);
  a->SetEditMode(TextFrame::kEditOnClick);
  b->SetEditMode(TextFrame::kEditOnClick);
  MessageLog logA(server, a->GetEditMsgClass()), logB(server, b->GetEditMsgClass());
  Press(a);
  Press(a);  // again on the same frame: the first edit is cancelled once
  EXPECT_EQ(logA.Take(), (Log{{0, 0}, {2, 0}, {0, 0}}));
  Press(b);  // another frame: the window cancels a's edit
  EXPECT_EQ(logA.Take(), (Log{{2, 0}}));
  window.EndEdit(nullptr);
  EXPECT_EQ(logB.Take(), (Log{{0, 0}, {2, 0}}));
  EXPECT_EQ(logA.entries, Log{});
}

TEST_F(TextFixture, AFrameDestroyedDuringItsEditIsNotReached) {
  auto* text = new TextFrame(root.GetRootFrame(), 0, 0, 50, 14, 0, 1);
  text->SetEditMode(TextFrame::kEditOnClick);
  Press(text);
  ASSERT_TRUE(window.edit);
  EXPECT_EQ(window.edit->GetUser(), text);
  delete text;
  EXPECT_EQ(window.edit->GetUser(), nullptr);
  EXPECT_FALSE(window.edit->ValidateText("1"));
  const std::string typed = "1";
  window.EndEdit(&typed);  // ASan: reaches nobody
}

TEST_F(TextFixture, TheTextIsACopy) {
  auto* text = new TextFrame(root.GetRootFrame(), 0, 0, 50, 14, 0, 1);
  {
    std::string passing = "temporary";
    text->SetText(passing, false);
    passing.assign(100, 'x');
  }
  EXPECT_EQ(text->GetText(), "temporary");
}

}  // namespace
