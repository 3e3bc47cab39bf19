#include "toolkit/frames/PixMapDrawFrame.h"

#include <algorithm>

#include "toolkit/drawing/OGWorld.h"

PixMapDrawFrame::PixMapDrawFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height, std::int32_t sourceX, std::int32_t sourceY,
                                 const OGWorld* world, std::uint32_t flags, std::int32_t id)
    : Frame(parent, x, y, width, height, flags, id), mWorld(world), mSourceX(sourceX), mSourceY(sourceY) {}

void PixMapDrawFrame::Draw(DrawContext& context, const Rect& area) {
  if (!mWorld) return;
  const Rect source{mSourceX + std::max(area.left, 0), mSourceY + std::max(area.top, 0),
                    mSourceX + std::min(area.right, GetWidth()),
                    mSourceY + std::min(area.bottom, GetHeight())};
  context.ResetColors();
  context.CopyFromWorld(*mWorld, source, Point{area.left, area.top}, DrawContext::kResetColors);
}

void PixMapDrawFrame::SetPixMap(const OGWorld* world, std::int32_t sourceX, std::int32_t sourceY,
                                bool redraw) {
  mWorld = world;
  mSourceX = sourceX;
  mSourceY = sourceY;
  if (redraw) Redraw(nullptr, true);
}
