#pragma once

#include "toolkit/drawing/DrawContext.h"

class Frame;

// Drawn over a frame after the frame itself (the parameter highlight).
class FrameOverlay {
 public:
  virtual ~FrameOverlay() = default;
  virtual void Draw(Frame& frame, DrawContext& context, const Rect& area) = 0;
};
