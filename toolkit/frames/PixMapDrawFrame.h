#pragma once

#include "toolkit/frames/Frame.h"

// Shows the rectangle of an image whose top-left is the source point.
class PixMapDrawFrame : public Frame {
 public:
  PixMapDrawFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                  std::int32_t sourceX, std::int32_t sourceY, const OGWorld* world, std::uint32_t flags,
                  std::int32_t id);

  void Draw(DrawContext& context, const Rect& area) override;
  void SetPixMap(const OGWorld* world, std::int32_t sourceX, std::int32_t sourceY, bool redraw);

  const OGWorld* GetPixMap() const { return mWorld; }

 private:
  const OGWorld* mWorld{nullptr};
  std::int32_t mSourceX{0};
  std::int32_t mSourceY{0};
};
