#pragma once

#include "tests/toolkit/drawing/ScopeDrawing.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/PixMapDrawFrame.h"

// The phase scope's picture in a buffered frame.
class ScopeLikeFrame : public Frame {
 public:
  ScopeLikeFrame(Frame* parent, std::int32_t x, std::int32_t y, ScopePicture::Signal signal, bool dots)
      : Frame(parent, x, y, ScopePicture::kSize, ScopePicture::kSize, kBuffered, 0), mPicture(signal, dots) {}

  void Draw(DrawContext& context, const Rect& area) override { mPicture.Draw(context, area); }

 private:
  ScopePicture mPicture;
};

// The editor's four strips at full size, 399 x 470, drawn from one background image.
struct EditorScene {
  explicit EditorScene(TestRoot& root) : background(Rect{0, 0, 399, 650}) {
    for (std::int32_t y = 0; y < 650; ++y) {
      background.SetForeColor(Color{std::uint16_t(y * 97), std::uint16_t(y * 61), std::uint16_t(y * 13)});
      background.FillRect(Rect{0, y, 399, y + 1});
    }
    Frame* top = root.GetRootFrame();
    new PixMapDrawFrame(top, 0, 0, 399, 24, 0, 497, &background, 0, 1);
    new PixMapDrawFrame(top, 0, 24, 399, 369, 0, 0, &background, 0, 2);
    new PixMapDrawFrame(top, 0, 393, 399, 41, 0, 521, &background, 0, 3);
    new PixMapDrawFrame(top, 0, 434, 399, 36, 0, 562, &background, 0, 4);
  }
  OGWorld background;
};
