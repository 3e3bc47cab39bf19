#pragma once

#include <cstdint>

#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/Frame.h"

// The ground of the master-alarm and global strips: the strip colour with its outline at the
// left and right edges. The strips' own frames draw it themselves once they carry their controls.
class StripBackground : public Frame {
 public:
  StripBackground(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

  void Draw(DrawContext& context, const Rect& area) override;

 private:
  PixMapRef mSprites;
  Color mFill{};
  Color mOutline{};
};
