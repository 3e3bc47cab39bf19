#include "analyser/editor/main/StripBackground.h"

#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"

StripBackground::StripBackground(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height)
    : Frame(parent, x, y, width, height, 0, 0), mSprites(GetRoot(), bitmaps::kSprites) {
  mFill = mSprites.Get()->GetPixelColor(Point{6, 325});
  mOutline = mSprites.Get()->GetPixelColor(Point{0, 322});
}

void StripBackground::Draw(DrawContext& context, const Rect& area) {
  context.SetForeColor(mFill);
  context.FillRect(area);
  context.SetForeColor(mOutline);
  context.FrameRect(Rect{0, -1, GetWidth(), GetHeight() + 1});
}
