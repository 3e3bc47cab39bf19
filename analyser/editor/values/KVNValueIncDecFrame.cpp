#include "analyser/editor/values/KVNValueIncDecFrame.h"

#include "analyser/editor/main/InventoryPoints.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/IncDecControlGroup.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Redraw.h"

namespace {

std::int32_t TextWidth(std::int32_t given) {
  return given > 0 ? given : KVNValueIncDecFrame::kDefaultTextWidth;
}

constexpr const bitmaps::Region& kText = bitmaps::RegionNamed("stepper text");
constexpr const bitmaps::Region& kEnabledText = bitmaps::RegionNamed("stepper text colour");
constexpr const bitmaps::Region& kDisabledText = bitmaps::RegionNamed("disabled text colour");
constexpr const bitmaps::Region& kPrevious = bitmaps::RegionNamed("stepper previous");
constexpr const bitmaps::Region& kNext = bitmaps::RegionNamed("stepper next");
static_assert(kPrevious.width == KVNValueIncDecFrame::kPreviousWidth &&
              kNext.width == KVNValueIncDecFrame::kNextWidth);
static_assert(kPrevious.height == KVNValueIncDecFrame::kHeight &&
              kNext.height == KVNValueIncDecFrame::kHeight);

}  // namespace

InstantActionButton* NewStepperArrow(Frame* parent, std::int32_t x, const bitmaps::Region& arrow,
                                     const OGWorld* sprites) {
  return new InstantActionButton(parent, x, 0, arrow.width, arrow.height, arrow.stepX, arrow.stepY, arrow.x,
                                 arrow.y, sprites, 0, 0);
}

KVNValueIncDecFrame::KVNValueIncDecFrame(Frame* parent, std::int32_t x, std::int32_t y,
                                         std::int32_t textWidth, Point textOffsets, std::int16_t alignment)
    : Frame(parent, x, y, TextWidth(textWidth) + kPreviousWidth + kNextWidth, kHeight, 0, 0),
      mSprites(GetRoot(), bitmaps::kSprites) {
  const std::int32_t w = TextWidth(textWidth);
  OGWorld& sprites = *mSprites.Get();
  mText = new StaticTextPMFrame(this, 0, 0, w, kHeight, kText.x, kText.y, &sprites, 0, 0);
  mText->SetFont(DrawContext::kSmallFont, kNoRedraw);
  mText->SetTextColor(sprites.GetPixelColor(OriginOf(kEnabledText)), kRedraw);
  mText->SetDisabledTextColor(sprites.GetPixelColor(OriginOf(kDisabledText)), kRedraw);
  mText->SetTextOffsets(textOffsets.x, textOffsets.y, kNoRedraw);
  mText->SetAlignment(alignment, kNoRedraw);
  mText->SetHideWhenDisabled();
  mNext = NewStepperArrow(this, w + kPreviousWidth, kNext, &sprites);
  mNext->SetDisabledImage(kNext.disabledX, kNext.disabledY);
  mPrevious = NewStepperArrow(this, w, kPrevious, &sprites);
  mPrevious->SetDisabledImage(kPrevious.disabledX, kPrevious.disabledY);
  IncDecControlGroup::Create(GetRoot()->GetPluginServices(), mNext, mPrevious, nullptr);
}

void KVNValueIncDecFrame::SetEnabled(bool on) {
  mText->SetEnabled(on);
  mNext->SetEnabled(on);
  mPrevious->SetEnabled(on);
}
