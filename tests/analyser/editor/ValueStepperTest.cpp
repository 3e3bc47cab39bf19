// The stepper: its layout, its pictures enabled and disabled, and its buttons' steps.
#include <gtest/gtest.h>

#include <vector>

#include "analyser/editor/values/KVNValueIncDecFrame.h"
#include "analyser/resources/BitmapInventory.h"
#include "tests/analyser/editor/support/EditorFixture.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/BitmapStore.h"

namespace {

std::uint32_t SpritePixel(std::int32_t x, std::int32_t y) {
  const BitmapResource* b = FindBitmapResource(bitmaps::kSprites);
  return b->pixels[y * b->width + x];
}

TEST(ValueStepper, LaysOutTextPreviousAndNext) {
  EditorFixture f;
  for (const auto& [given, text] : {std::pair{0, 36}, std::pair{-5, 36}, std::pair{42, 42}}) {
    auto* stepper = new KVNValueIncDecFrame(f.root.GetRootFrame(), 10, 20, given, Point{2, 2}, 0);
    EXPECT_EQ(stepper->GetWidth(), text + 19);
    EXPECT_EQ(stepper->GetHeight(), 11);
    EXPECT_EQ(stepper->GetTextFrame()->GetX(), 0);
    EXPECT_EQ(stepper->GetTextFrame()->GetWidth(), text);
    EXPECT_EQ(stepper->GetLeftButton()->GetX(), text);
    EXPECT_EQ(stepper->GetLeftButton()->GetWidth(), 10);
    EXPECT_EQ(stepper->GetRightButton()->GetX(), text + 10);
    EXPECT_EQ(stepper->GetRightButton()->GetWidth(), 9);
  }
}

TEST(ValueStepper, DisabledItHidesItsTextAndShowsTheDisabledArrows) {
  EditorFixture f;
  auto* stepper = new KVNValueIncDecFrame(f.root.GetRootFrame(), 10, 20, 42, Point{2, 2}, 0);
  stepper->GetTextFrame()->SetText("Polar", true);
  f.root.Flush();
  f.root.SavePicture("stepper-enabled");
  // Enabled: the arrows' first images; the text's colour somewhere in the field.
  EXPECT_EQ(f.root.Pixel(10 + 42 + 5, 20 + 5), SpritePixel(1 + 5, 1 + 5));
  EXPECT_EQ(f.root.Pixel(10 + 52 + 4, 20 + 5), SpritePixel(11 + 4, 1 + 5));
  bool textShown = false;
  for (std::int32_t y = 20; y < 31; ++y)
    for (std::int32_t x = 10; x < 52; ++x) textShown |= f.root.Pixel(x, y) != bitmaps::colour::kReadoutBack;
  EXPECT_TRUE(textShown);

  stepper->SetEnabled(false);
  f.root.Flush();
  f.root.SavePicture("stepper-disabled");
  EXPECT_EQ(f.root.Pixel(10 + 42 + 5, 20 + 5), SpritePixel(41 + 5, 1 + 5));
  EXPECT_EQ(f.root.Pixel(10 + 52 + 4, 20 + 5), SpritePixel(51 + 4, 1 + 5));
  for (std::int32_t y = 20; y < 31; ++y)
    for (std::int32_t x = 10; x < 52; ++x)
      EXPECT_EQ(f.root.Pixel(x, y), bitmaps::colour::kReadoutBack) << "text hidden at " << x << "," << y;
}

TEST(ValueStepper, APressOnAnArrowSendsItsStep) {
  EditorFixture f;
  auto* stepper = new KVNValueIncDecFrame(f.root.GetRootFrame(), 10, 20, 0, Point{2, 2}, 0);
  f.root.Flush();
  for (InstantActionButton* button : {stepper->GetRightButton(), stepper->GetLeftButton()}) {
    button->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, 3, 3});
    EXPECT_EQ(button->GetValue(), 0) << "fell back after sending its 1";
    button->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, 3, 3});
  }
}

}  // namespace
