#include "analyser/editor/header/HeaderCompanions.h"

#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"

KVNFillFrame::KVNFillFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height, std::int32_t insetLeft, std::int32_t insetTop,
                           std::int32_t insetRight, std::int32_t insetBottom)
    : Frame(parent, x, y, width, height, 0, 0), mInsets{insetLeft, insetTop, insetRight, insetBottom} {
  PixMapRef sprites(GetRoot(), bitmaps::kSprites);
  mFill = sprites.Get()->GetPixelColor(Point{200, 65});
  mOutline = sprites.Get()->GetPixelColor(Point{200, 75});
}

void KVNFillFrame::Draw(DrawContext& context, const Rect& area) {
  context.SetForeColor(mFill);
  context.FillRect(area);
  context.SetForeColor(mOutline);
  context.FrameRect(
      Rect{mInsets.left, mInsets.top, GetWidth() - mInsets.right, GetHeight() - mInsets.bottom});
}

namespace {
struct ImportLook {
  Point image;
  Point disabled;
};
ImportLook LookOf(std::int32_t kind) {
  switch (kind) {
    case 0:
      return {{72, 2}, {96, 2}};
    case 1:
      return {{110, 2}, {134, 2}};
    case 2:
      return {{148, 2}, {172, 2}};
    default:
      return {{110, 2}, {-1, -1}};
  }
}
}  // namespace

HTWImportButton::HTWImportButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t kind,
                                 std::int32_t controlId)
    : ActionButton(parent, x, y, 11, 11, 12, 0, LookOf(kind).image.x, LookOf(kind).image.y, nullptr, 0,
                   controlId),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPixMap(mSprites.Get());
  const Point disabled = LookOf(kind).disabled;
  if (disabled.x >= 0) SetDisabledImage(disabled.x, disabled.y);
}

HTWCheckbox::HTWCheckbox(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t defaultValue,
                         std::int32_t controlId)
    : BooleanButton(parent, x, y, 10, 10, 11, 0, 1, 183, nullptr, 0, defaultValue, controlId),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPixMap(mSprites.Get());
  SetDisabledImage(23, 183);
}
