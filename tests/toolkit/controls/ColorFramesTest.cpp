#include <gtest/gtest.h>

#include "tests/toolkit/support/MessageLog.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/controls/ColorFrames.h"

namespace {

using ZEBCanvas::ColorFillFrame;
using ZEBCanvas::ColorPickerFrame;

struct ColorFixture : testing::Test {
  TestRoot root{200, 60};
  // Active palette: cells of 10 x 9 in a row at (0, 0); idle image: black at (0, 9).
  std::unique_ptr<OGWorld> palette = [] {
    auto world = std::make_unique<OGWorld>(Rect{0, 0, 80, 18});
    for (std::int32_t i = 0; i < 8; ++i) {
      world->SetForeColor(CellColor(i));
      world->FillRect(Rect{i * 10, 0, i * 10 + 10, 9});
    }
    return world;
  }();
  ColorPickerFrame* picker =
      new ColorPickerFrame(root.GetRootFrame(), 20, 20, 80, 9, palette.get(), 0, 0, 0, 9);
  ColorFillFrame* swatch = new ColorFillFrame(root.GetRootFrame(), 120, 20, 9, 9, 0);

  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) {
    if (kind == Frame::kMouseDown) {
      picker->ProcessMouseEvent(Frame::MouseEvent{kind, x, y});
    } else if (kind == Frame::kMouseMove) {
      root.CapturedMouseMove(Point{x + 20, y + 20});
    } else {
      root.CapturedMouseUp(Point{x + 20, y + 20});
    }
  }
  Color WindowColor(std::int32_t x, std::int32_t y) { return FromPixel(root.WindowPixel(x, y)); }
};

TEST_F(ColorFixture, PicksWhileHeldAndKeepsToTheEdgeOutside) {
  picker->LinkColor(swatch, swatch->GetColor());
  MessageLog log(root.GetMessagingServer(), picker->GetMsgClass());
  Mouse(Frame::kMouseDown, 35, 4);
  EXPECT_EQ(picker->GetColor(), CellColor(3));
  EXPECT_EQ(*swatch->GetColor(), CellColor(3));
  EXPECT_EQ(root.locks, 1);
  root.Flush();
  EXPECT_EQ(WindowColor(124, 24), CellColor(3));    // the swatch shows it at once
  EXPECT_EQ(WindowColor(20 + 33, 20 + 2), kBlack);  // the marker round the point
  EXPECT_EQ(WindowColor(20 + 34, 20 + 3), kWhite);
  Mouse(Frame::kMouseMove, 300, -40);  // beyond the right edge and above: the nearest edge pixel
  EXPECT_EQ(picker->GetColor(), CellColor(7));
  Mouse(Frame::kMouseMove, -10, 50);
  EXPECT_EQ(picker->GetColor(), CellColor(0));
  Mouse(Frame::kMouseUp, 15, 4);
  EXPECT_EQ(picker->GetColor(), CellColor(1));
  EXPECT_FALSE(picker->IsDragging());
  EXPECT_EQ(root.locks, 0);
  EXPECT_EQ(log.entries.size(), 4u);
  EXPECT_EQ(log.entries[0], (MessageLog::Entry{ColorPickerFrame::kPicked, 0}));
  Mouse(Frame::kMouseMove, 55, 4);  // not held: no pick
  EXPECT_EQ(picker->GetColor(), CellColor(1));
}

TEST_F(ColorFixture, PickedColoursAreSixteenBit) {
  Mouse(Frame::kMouseDown, 75, 4);
  const Color c = picker->GetColor();
  EXPECT_EQ(c.red % 0x101, 0);
  EXPECT_EQ(c.red, CellColor(7).red);
  Mouse(Frame::kMouseUp, 75, 4);
}

TEST_F(ColorFixture, OutsideThePaletteImageIsBlack) {
  picker->SetPixMap(palette.get(), 40, 0);  // the right half of the picker lies past the image
  Mouse(Frame::kMouseDown, 70, 4);
  EXPECT_EQ(picker->GetColor(), kBlack);
  Mouse(Frame::kMouseUp, 5, 4);
  EXPECT_EQ(picker->GetColor(), CellColor(4));
}

TEST_F(ColorFixture, ALinkedSwatchThatGoesIsForgotten) {
  auto* muted = new ColorFillFrame(root.GetRootFrame(), 140, 20, 9, 9, 0);
  picker->LinkColor(swatch, swatch->GetColor());
  picker->LinkColor(muted, muted->GetColor());
  root.GetMessagingServer().MuteMessageClass(muted->GetMsgClass(), true);
  delete swatch;
  delete muted;
  EXPECT_EQ(picker->GetLinkCount(), 0u);
  Mouse(Frame::kMouseDown, 5, 4);  // ASan: nothing written through the links
  Mouse(Frame::kMouseUp, 5, 4);
}

TEST_F(ColorFixture, DisablingThePickerEndsTheDrag) {
  Mouse(Frame::kMouseDown, 5, 4);
  picker->SetEnabled(false);
  EXPECT_FALSE(picker->IsDragging());
  EXPECT_EQ(root.locks, 0);
  EXPECT_EQ(root.GetMouseCaptureFrame(), nullptr);
}

TEST_F(ColorFixture, SwatchHatchingAndDisabledLook) {
  swatch->SetColor(Color{0, 0xFFFF, 0}, true);
  swatch->SetHatched(true);
  root.Flush();
  // Dashes of four along the top, black first; the bottom in the other colour.
  EXPECT_EQ(WindowColor(121, 20), kBlack);
  EXPECT_EQ(WindowColor(120, 21), kWhite);  // the left edge goes on with the flag the top left it
  EXPECT_EQ(WindowColor(123, 20), kBlack);
  EXPECT_EQ(WindowColor(124, 20), kWhite);
  EXPECT_EQ(WindowColor(121, 28), kWhite);
  EXPECT_EQ(WindowColor(124, 24), (Color{0, 0xFFFF, 0}));
  swatch->SetEnabled(false);
  root.Flush();
  for (std::int32_t y = 20; y < 29; ++y)
    for (std::int32_t x = 120; x < 129; ++x) ASSERT_EQ(WindowColor(x, y), kBlack);
}

}  // namespace
