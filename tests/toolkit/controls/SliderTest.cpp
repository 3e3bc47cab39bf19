#include <gtest/gtest.h>

#include "tests/toolkit/support/MessageLog.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/controls/PixMapSlider.h"

namespace {

// The editor's sliders: 62 x 11 with a 7 x 11 thumb, so the thumb travels 55 pixels.
constexpr std::int32_t kLength = 62, kThumb = 7, kTravel = kLength - kThumb;

struct SliderFixture : testing::Test {
  TestRoot root{120, 80};
  // Background cell 0 at (0, 0), thumb cell 1 at (62, 0).
  std::unique_ptr<OGWorld> sprites = MakeCellStrip(2, kLength, kLength);

  std::unique_ptr<PixMapSlider> Make(std::int32_t min, std::int32_t max, bool vertical = false,
                                     std::optional<Rect> track = std::nullopt) {
    const std::int32_t w = vertical ? 11 : kLength, h = vertical ? kLength : 11;
    return std::make_unique<PixMapSlider>(root.GetRootFrame(), 10, 10, w, h, 0, 0, sprites.get(), kLength, 0,
                                          vertical ? 11 : kThumb, vertical ? kThumb : 11, track, 0, min, max,
                                          min, 1);
  }
  void Press(PixMapSlider& s, std::int32_t x, std::int32_t y) {
    s.ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, x, y});
  }
  void Move(PixMapSlider&, std::int32_t x, std::int32_t y) { root.CapturedMouseMove(Point{x + 10, y + 10}); }
  void Release(PixMapSlider&, std::int32_t x, std::int32_t y) { root.CapturedMouseUp(Point{x + 10, y + 10}); }
};

// Nearest pixel of the travel for each value, in integers.
std::int32_t ExpectedLeft(std::int32_t value, std::int32_t min, std::int32_t max) {
  const std::int32_t range = max - min;
  return ((value - min) * kTravel * 2 + range) / (2 * range);
}

TEST_F(SliderFixture, EveryValueHasItsOwnThumbPositionAndComesBackFromIt) {
  for (auto [min, max] : {std::pair{1, 10}, std::pair{0, 25}}) {
    SCOPED_TRACE(testing::Message() << min << ".." << max);
    auto slider = Make(min, max);
    std::int32_t previous = -1;
    for (std::int32_t v = min; v <= max; ++v) {
      slider->SetValue(v);
      const Rect thumb = slider->GetThumbRect();
      EXPECT_EQ(thumb.left, ExpectedLeft(v, min, max)) << v;
      EXPECT_EQ(thumb.right - thumb.left, kThumb);
      EXPECT_GT(thumb.left, previous);
      previous = thumb.left;
      EXPECT_EQ(slider->PositionToValue(thumb.left), v);
      // A press at the thumb's centre takes hold of it without changing the value.
      Press(*slider, thumb.left + kThumb / 2, 5);
      EXPECT_EQ(slider->GetValue(), v);
      Release(*slider, thumb.left + kThumb / 2, 5);
      EXPECT_EQ(slider->GetValue(), v);
    }
    EXPECT_EQ(previous, kTravel);
  }
}

TEST_F(SliderFixture, APressOnTheTrackJumpsAndADragFollows) {
  auto slider = Make(1, 10);
  MessageLog log(root.GetMessagingServer(), slider->GetControlMsgClass());
  // Thumb centre at 40: left edge 37 of 55 -> 1 + 6.05 -> 7.
  Press(*slider, 40, 5);
  EXPECT_EQ(slider->GetValue(), 7);
  EXPECT_EQ(slider->GetThumbRect().left, ExpectedLeft(7, 1, 10));
  Move(*slider, 5, 5);  // before the start: the minimum
  EXPECT_EQ(slider->GetValue(), 1);
  Move(*slider, 200, 5);  // past the end: the maximum
  EXPECT_EQ(slider->GetValue(), 10);
  Release(*slider, 200, 5);
  EXPECT_EQ(log.entries, (std::vector<MessageLog::Entry>{{GenericControl::kPressed, 1},
                                                         {GenericControl::kValueChanged, 7},
                                                         {GenericControl::kValueChanged, 1},
                                                         {GenericControl::kDragged, 1},
                                                         {GenericControl::kValueChanged, 10},
                                                         {GenericControl::kDragged, 10},
                                                         {GenericControl::kReleased, 10}}));
}

TEST_F(SliderFixture, NothingFollowsTheReleaseOfADragThatDisabledTheSlider) {
  auto slider = Make(1, 10);
  bool dragging = false;
  MessageHook disable(root.GetMessagingServer(), slider->GetControlMsgClass(),
                      [&](std::int32_t code, std::int32_t) {
                        if (dragging && code == GenericControl::kValueChanged) slider->SetEnabled(false);
                      });
  MessageLog log(root.GetMessagingServer(), slider->GetControlMsgClass());  // hears each message first
  Press(*slider, 40, 5);
  dragging = true;
  Move(*slider, 5, 5);
  Release(*slider, 5, 5);
  EXPECT_EQ(log.entries, (std::vector<MessageLog::Entry>{{GenericControl::kPressed, 1},
                                                         {GenericControl::kValueChanged, 7},
                                                         {GenericControl::kValueChanged, 1},
                                                         {GenericControl::kReleased, 1}}));
  EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
}

TEST_F(SliderFixture, AThumbTakenOffCentreMovesWithThePointer) {
  auto slider = Make(0, 55);  // one value per pixel
  slider->SetValue(20);
  Press(*slider, 21, 5);  // thumb 20..27, centre 23: taken 2 pixels left of it
  EXPECT_EQ(slider->GetGrabOffset(), -2);
  EXPECT_EQ(slider->GetValue(), 20);
  Move(*slider, 31, 5);
  EXPECT_EQ(slider->GetValue(), 30);
  Release(*slider, 31, 5);
  EXPECT_EQ(slider->GetGrabOffset(), 0);
}

TEST_F(SliderFixture, VerticalHasTheMinimumAtTheBottom) {
  auto slider = Make(0, 10, true);
  EXPECT_TRUE(slider->IsVertical());
  EXPECT_EQ(slider->GetThumbRect().top, kTravel);
  slider->SetValue(10);
  EXPECT_EQ(slider->GetThumbRect().top, 0);
  slider->SetValue(4);
  EXPECT_EQ(slider->GetThumbRect().top, kTravel - ExpectedLeft(4, 0, 10));
  EXPECT_EQ(slider->PositionToValue(slider->GetThumbRect().top), 4);
}

TEST_F(SliderFixture, CollapsedRangeOrTrackStaysAtTheMinimum) {
  auto collapsedRange = Make(5, 5);
  EXPECT_EQ(collapsedRange->PositionToValue(30), 5);
  EXPECT_EQ(collapsedRange->GetThumbRect().left, 0);
  auto collapsedTrack = Make(0, 10, false, Rect{0, 0, kThumb, 11});
  collapsedTrack->SetValue(6);
  EXPECT_EQ(collapsedTrack->GetThumbRect().left, 0);
  EXPECT_EQ(collapsedTrack->PositionToValue(3), 0);
  Press(*collapsedTrack, 30, 5);
  EXPECT_EQ(collapsedTrack->GetValue(), 0);
  Release(*collapsedTrack, 30, 5);
}

TEST_F(SliderFixture, TaperCurves) {
  auto slider = Make(0, 25);
  for (float linear : {-1.0f, 0.0f, -0.5f, -7.0f}) {
    slider->SetTaperCurve(linear);
    EXPECT_EQ(slider->Taper(false, 0.3f), 0.3f) << linear;
    EXPECT_EQ(slider->Taper(true, 0.3f), 0.3f) << linear;
  }
  slider->SetTaperCurve(0.5f);
  std::int32_t previous = -1;
  for (std::int32_t v = 0; v <= 25; ++v) {
    slider->SetValue(v);
    const std::int32_t left = slider->GetThumbRect().left;
    EXPECT_GE(left, previous);
    EXPECT_LE(left, kTravel);
    previous = left;
  }
  EXPECT_EQ(slider->PositionToValue(kTravel), 25);
  EXPECT_EQ(slider->PositionToValue(0), 0);
}

TEST_F(SliderFixture, DrawsTheBackgroundThenTheThumb) {
  auto slider = Make(0, 10);
  slider->SetValue(10);
  root.Flush();
  EXPECT_EQ(FromPixel(root.WindowPixel(10 + 2, 15)), CellColor(0));
  EXPECT_EQ(FromPixel(root.WindowPixel(10 + kLength - 3, 15)), CellColor(1));
  slider->SetShowThumb(false);
  root.Flush();
  EXPECT_EQ(FromPixel(root.WindowPixel(10 + kLength - 3, 15)), CellColor(0));
}

}  // namespace
