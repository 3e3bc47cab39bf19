#pragma once

#include "toolkit/frames/Frame.h"

// Shows the rectangle of an image whose top-left is the source point.
class PixMapDrawFrame : public Frame {
 public:
  PixMapDrawFrame(Frame* parent, int32_t x, int32_t y, int32_t width, int32_t height, int32_t sourceX,
                  int32_t sourceY, const OGWorld* world, uint32_t flags, int32_t id);

  void Draw(DrawContext& context, const Rect& area) override;
  void SetPixMap(const OGWorld* world, int32_t sourceX, int32_t sourceY, bool redraw);

  const OGWorld* GetPixMap() const { return mWorld; }

 private:
  const OGWorld* mWorld{nullptr};
  int32_t mSourceX{0};
  int32_t mSourceY{0};
};
