#include "analyser/editor/header/HeaderCompanions.h"

#include <iterator>

#include "analyser/editor/main/InventoryPoints.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"

namespace {
constexpr const bitmaps::Region& kFillColour = bitmaps::RegionNamed("fill frame fill");
constexpr const bitmaps::Region& kOutlineColour = bitmaps::RegionNamed("fill frame outline");
}  // namespace

KVNFillFrame::KVNFillFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height, std::int32_t insetLeft, std::int32_t insetTop,
                           std::int32_t insetRight, std::int32_t insetBottom)
    : Frame(parent, x, y, width, height, 0, 0), mInsets{insetLeft, insetTop, insetRight, insetBottom} {
  PixMapRef sprites(GetRoot(), bitmaps::kSprites);
  mFill = sprites.Get()->GetPixelColor(OriginOf(kFillColour));
  mOutline = sprites.Get()->GetPixelColor(OriginOf(kOutlineColour));
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
// Kind k is the inventory's "import button k"; any other kind looks like kind 1 without a
// disabled image.
constexpr const bitmaps::Region* kImportLooks[] = {&bitmaps::RegionNamed("import button 0"),
                                                   &bitmaps::RegionNamed("import button 1"),
                                                   &bitmaps::RegionNamed("import button 2")};
constexpr const bitmaps::Region& kImportButton = *kImportLooks[1];
constexpr const bitmaps::Region& kCheckbox = bitmaps::RegionNamed("checkbox");

ImportLook LookOf(std::int32_t kind) {
  if (kind >= 0 && kind < std::int32_t(std::size(kImportLooks)))
    return {OriginOf(*kImportLooks[kind]), DisabledOf(*kImportLooks[kind])};
  return {OriginOf(kImportButton), {-1, -1}};
}
}  // namespace

HTWImportButton::HTWImportButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t kind,
                                 std::int32_t controlId)
    : ActionButton(parent, x, y, kImportButton.width, kImportButton.height, kImportButton.stepX,
                   kImportButton.stepY, LookOf(kind).image.x, LookOf(kind).image.y, nullptr, 0, controlId),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPixMap(mSprites.Get());
  const Point disabled = LookOf(kind).disabled;
  if (disabled.x >= 0) SetDisabledImage(disabled.x, disabled.y);
}

HTWCheckbox::HTWCheckbox(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t defaultValue,
                         std::int32_t controlId)
    : BooleanButton(parent, x, y, kCheckbox.width, kCheckbox.height, kCheckbox.stepX, kCheckbox.stepY,
                    kCheckbox.x, kCheckbox.y, nullptr, 0, defaultValue, controlId),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPixMap(mSprites.Get());
  SetDisabledImage(kCheckbox.disabledX, kCheckbox.disabledY);
}
