#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"

namespace {

struct Recorder : WindowEventSink {
  void OnWindowEvent(const WindowEvent& event) override { events.push_back(event); }
  std::vector<WindowEvent::Kind> Kinds() const {
    std::vector<WindowEvent::Kind> kinds;
    for (const WindowEvent& e : events) kinds.push_back(e.kind);
    return kinds;
  }
  std::vector<WindowEvent> events;
};

// Paints the field one colour and the caret's column another, so tests see what it shows.
struct FlatRenderer : EditFieldRenderer {
  void Render(const EditFieldText& field, const PixelBuffer& target) override {
    ++renders;
    for (std::int32_t y = 0; y < target.height; ++y) {
      for (std::int32_t x = 0; x < target.width; ++x) target.At(x, y) = 0x00FFEEDD;
    }
    if (static_cast<std::int32_t>(field.Caret()) < target.width)
      target.At(static_cast<std::int32_t>(field.Caret()), 0) = 0;
  }
  int renders = 0;
};

struct Answers {
  void operator()(const std::optional<std::string>& text) { results->push_back(text); }
  std::vector<std::optional<std::string>>* results;
};

using Kind = WindowEvent::Kind;

class HeadlessWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owned = platform.OpenWindow(0x1234, 200, 100);
    ASSERT_TRUE(owned);
    window = platform.Window();
  }
  // The window may still answer an edit as it closes: before the answers go.
  void TearDown() override { owned.reset(); }
  bool Edit(const PixelRect& rect = {20, 30, 120, 42}, const std::string& text = "start") {
    return window->BeginTextEdit(rect, text, renderer, Answers{&results});
  }

  HeadlessPlatform platform;
  std::unique_ptr<ChildWindow> owned;
  HeadlessWindow* window = nullptr;
  Recorder sink;
  FlatRenderer renderer;
  std::vector<std::optional<std::string>> results;
};

TEST_F(HeadlessWindowTest, ADragEndsOnReleaseOnAMoveWithoutAButtonOnAGrabElsewhereAndOnReleaseCapture) {
  window->Press(10, 10);
  window->Move(300, -20);  // outside, still the drag's
  window->Release(300, -20);
  window->PumpEvents(sink);
  EXPECT_EQ(sink.Kinds(), (std::vector<Kind>{Kind::kMouseDown, Kind::kMouseMove, Kind::kMouseUp}));
  EXPECT_EQ(sink.events[1].x, 300);
  EXPECT_FALSE(window->IsCaptured());

  // The button comes up where no event reaches the window: the next move carries no button.
  sink.events.clear();
  window->Press(10, 10);
  window->PumpEvents(sink);
  EXPECT_TRUE(window->IsCaptured());
  window->LoseRelease(MouseButton::kLeft);
  window->Move(16, 17);
  window->PumpEvents(sink);
  ASSERT_EQ(sink.Kinds(), (std::vector<Kind>{Kind::kMouseDown, Kind::kMouseUp, Kind::kMouseMove}));
  EXPECT_EQ(sink.events[1].x, 16);
  EXPECT_EQ(sink.events[1].button, MouseButton::kLeft);

  sink.events.clear();
  window->Press(10, 10);
  window->GrabPointerElsewhere();
  window->PumpEvents(sink);
  EXPECT_EQ(sink.Kinds(), (std::vector<Kind>{Kind::kMouseDown, Kind::kMouseUp}));
  EXPECT_FALSE(window->IsCaptured());
  window->Move(20, 20);  // no button any more: nothing more to end
  sink.events.clear();
  window->PumpEvents(sink);
  EXPECT_EQ(sink.Kinds(), (std::vector<Kind>{Kind::kMouseMove}));

  window->Press(10, 10);
  window->PumpEvents(sink);
  window->ReleaseCapture();
  EXPECT_FALSE(window->IsCaptured());
}

TEST_F(HeadlessWindowTest, AWindowThatDiesDuringADragReleasesItWhereThePointerWasBeforeReportingIt) {
  window->Press(10, 10, MouseButton::kRight);
  window->Move(40, 30);
  window->Destroy();
  window->PumpEvents(sink);
  ASSERT_EQ(sink.Kinds(),
            (std::vector<Kind>{Kind::kMouseDown, Kind::kMouseMove, Kind::kMouseUp, Kind::kDestroyed}));
  EXPECT_EQ(sink.events[2].x, 40);
  EXPECT_EQ(sink.events[2].y, 30);
  EXPECT_EQ(sink.events[2].button, MouseButton::kRight);
  EXPECT_FALSE(window->IsCaptured());
}

TEST_F(HeadlessWindowTest, ExposesAreCoalescedIntoOneAtTheEndOfThePump) {
  window->Expose({0, 0, 10, 10});
  window->Press(1, 1);
  window->Expose({50, 40, 60, 90});
  window->PumpEvents(sink);
  ASSERT_EQ(sink.Kinds(), (std::vector<Kind>{Kind::kMouseDown, Kind::kExpose}));
  EXPECT_EQ(sink.events[1].area.left, 0);
  EXPECT_EQ(sink.events[1].area.right, 60);
  EXPECT_EQ(sink.events[1].area.bottom, 90);
  sink.events.clear();
  window->PumpEvents(sink);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(HeadlessWindowTest, PresentCopiesOnlyTheDamagedRectanglesClippedToWindowAndBuffer) {
  // Rows wider than the buffer and a value per position, so each pixel lands where it belongs.
  constexpr std::int32_t kStride = 320;
  std::vector<std::uint32_t> pixels(kStride * 50, 0);
  for (std::int32_t y = 0; y < 50; ++y) {
    for (std::int32_t x = 0; x < kStride; ++x) pixels[y * kStride + x] = 0x00100000u + y * 1000 + x;
  }
  const PixelBuffer buffer{pixels.data(), 300, 50, kStride};
  window->Present(buffer, {{10, 10, 20, 15}, {190, 40, 400, 400}});
  ASSERT_EQ(window->Uploads().size(), 1u);
  EXPECT_EQ(window->Uploads()[0].pixels, 10 * 5 + 10 * 10);
  EXPECT_EQ(window->Pixel(10, 10), 0x00100000u + 10 * 1000 + 10);
  EXPECT_EQ(window->Pixel(19, 14), 0x00100000u + 14 * 1000 + 19);
  EXPECT_EQ(window->Pixel(9, 10), 0u);
  EXPECT_EQ(window->Pixel(20, 10), 0u);
  EXPECT_EQ(window->Pixel(190, 40), 0x00100000u + 40 * 1000 + 190);
  EXPECT_EQ(window->Pixel(199, 49), 0x00100000u + 49 * 1000 + 199);
  EXPECT_EQ(window->Pixel(199, 50), 0u);
}

TEST_F(HeadlessWindowTest, DestroyedIsReportedOnceAndEndsAnOpenEdit) {
  ASSERT_TRUE(Edit());
  window->Destroy();
  window->Destroy();
  window->PumpEvents(sink);
  EXPECT_EQ(sink.Kinds(), (std::vector<Kind>{Kind::kDestroyed}));
  EXPECT_FALSE(window->IsAlive());
  ASSERT_EQ(results.size(), 1u);
  EXPECT_FALSE(results[0]);
  EXPECT_FALSE(Edit());
}

TEST_F(HeadlessWindowTest, TheEditFieldSitsAroundItsRectTakesTheFocusAtThePressAndCommitsWhatWasTyped) {
  window->SetTime(5000);
  window->Press(30, 35);
  window->PumpEvents(sink);  // the frame asks for the edit while handling its press
  ASSERT_TRUE(Edit({20, 30, 120, 42}, "start"));
  EXPECT_EQ(window->EditFocusTime(), 5000u);
  ASSERT_TRUE(window->EditFrame());
  EXPECT_EQ(window->EditFrame()->left, 19);
  EXPECT_EQ(window->EditFrame()->top, 28);
  EXPECT_EQ(window->EditFrame()->Width(), 100);
  EXPECT_EQ(window->EditFrame()->Height(), 16);
  EXPECT_EQ(window->EditPixels().size(), 98u * 14u);  // inside the one-pixel border
  window->Type(std::string(70, 'k'));
  window->Key(EditKey::kReturn);
  window->PumpEvents(sink);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0], std::string(64, 'k'));
  EXPECT_FALSE(window->IsTextEditActive());
  EXPECT_EQ(window->FocusRestores(), 1);
  EXPECT_GT(renderer.renders, 64);
}

TEST_F(HeadlessWindowTest, EscapeAClickOutsideAndAFocusLossCancel) {
  struct Ending {
    const char* name;
    void (*end)(HeadlessWindow&);
    int focusRestores;
  };
  const Ending endings[] = {
      {"Escape", [](HeadlessWindow& w) { w.Key(EditKey::kEscape); }, 1},
      {"keypad Enter commits", [](HeadlessWindow& w) { w.Key(EditKey::kKeypadEnter); }, 1},
      {"click outside",
       [](HeadlessWindow& w) {
         w.Press(150, 80);
         w.Release(150, 80);
       },
       1},
      {"another window takes the focus", [](HeadlessWindow& w) { w.StealEditFocus(); }, 0},
  };
  int restores = 0;
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    results.clear();
    sink.events.clear();
    ASSERT_TRUE(Edit());
    window->Type("ab");
    ending.end(*window);
    window->PumpEvents(sink);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].has_value(), std::string(ending.name) == "keypad Enter commits");
    EXPECT_TRUE(sink.events.empty());  // the click that ended the edit goes nowhere, nor its release
    restores += ending.focusRestores;
    EXPECT_EQ(window->FocusRestores(), restores);
  }
}

TEST_F(HeadlessWindowTest, AClickInsideKeepsTheEditAndGoesNowhere) {
  ASSERT_TRUE(Edit({20, 30, 120, 42}));
  window->Press(60, 35);
  window->Release(60, 35);
  window->PumpEvents(sink);
  EXPECT_TRUE(window->IsTextEditActive());
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(HeadlessWindowTest, EndingIsIdempotentAndANewEditEndsTheOldOne) {
  ASSERT_TRUE(Edit());
  window->EndTextEdit(true);
  window->EndTextEdit(true);
  window->EndTextEdit(false);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0], std::string("start"));

  results.clear();
  ASSERT_TRUE(Edit({0, 10, 50, 20}, "one"));
  ASSERT_TRUE(Edit({0, 40, 50, 50}, "two"));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_FALSE(results[0]);
  window->EndTextEdit(true);
  EXPECT_EQ(results.back(), std::string("two"));

  // An answer that begins the next edit finds the field free.
  results.clear();
  bool again = false;
  ASSERT_TRUE(window->BeginTextEdit({0, 10, 50, 20}, "x", renderer, [&](const std::optional<std::string>&) {
    again = window->BeginTextEdit({0, 10, 50, 20}, "y", renderer, Answers{&results});
  }));
  window->EndTextEdit(false);
  EXPECT_TRUE(again);
  EXPECT_TRUE(window->IsTextEditActive());
  window->FailNextEdit();
  EXPECT_FALSE(Edit());  // the old one ended all the same
  EXPECT_FALSE(window->IsTextEditActive());
  EXPECT_EQ(results.size(), 1u);
}

TEST_F(HeadlessWindowTest, ClosingWithAnEditOpenAnswersItOnce) {
  ASSERT_TRUE(Edit());
  owned.reset();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_FALSE(results[0]);
  EXPECT_EQ(platform.Window(), nullptr);
}

TEST(HeadlessPlatform, ScriptedChooserOneDialogAtATimeAndRecordedNotices) {
  HeadlessPlatform platform;
  auto chooser = platform.CreateChooser();
  std::vector<std::optional<std::string>> answers;
  platform.ScriptChooserAnswer(std::string("/data/a.korvane"));
  FileChooserRequest request;
  request.title = "Load";
  ASSERT_TRUE(chooser->Begin(request, Answers{&answers}));
  EXPECT_FALSE(chooser->Begin(request, Answers{&answers}));  // ignored while one is up
  EXPECT_TRUE(answers.empty());                              // answers arrive at a later poll
  chooser->Poll();
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0], std::string("/data/a.korvane"));
  ASSERT_TRUE(chooser->Begin(request, Answers{&answers}));  // unscripted: stays up
  chooser->Poll();
  EXPECT_TRUE(chooser->IsRunning());
  chooser->Cancel();
  chooser->Poll();
  EXPECT_EQ(answers.size(), 1u);
  EXPECT_EQ(platform.ChooserRequests().size(), 2u);

  platform.ShowMessageBox("Quillmore: X", "\nbody        \n\n", MessageBoxIcon::kError);
  ASSERT_EQ(platform.Notices().size(), 1u);
  EXPECT_EQ(platform.Notices()[0].icon, MessageBoxIcon::kError);
  platform.OpenDocument("/guide.pdf");
  platform.ClearRecords();
  EXPECT_TRUE(platform.ChooserRequests().empty());
  EXPECT_TRUE(platform.Notices().empty());
  EXPECT_TRUE(platform.Documents().empty());
  platform.SetTick(40);
  platform.AdvanceTicks(2);
  EXPECT_EQ(platform.GetTimerTick(), 42);
  platform.FailNextOpen();
  EXPECT_FALSE(platform.OpenWindow(1, 10, 10));
  EXPECT_TRUE(platform.OpenWindow(1, 10, 10));
  EXPECT_FALSE(platform.OpenWindow(1, 0, 10));
}

}  // namespace
