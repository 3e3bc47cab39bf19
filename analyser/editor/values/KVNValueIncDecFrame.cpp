#include "analyser/editor/values/KVNValueIncDecFrame.h"

#include "analyser/engine/Korvane.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/IncDecControlGroup.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/OGWorld.h"

namespace {
std::int32_t TextWidth(std::int32_t width) {
  return width > 0 ? width : KVNValueIncDecFrame::kDefaultTextWidth;
}
}  // namespace

KVNValueIncDecFrame::KVNValueIncDecFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                         std::int32_t textWidth, std::int32_t margin, std::int32_t baseline,
                                         std::int16_t alignment, std::int32_t previousId, std::int32_t nextId)
    : Frame(parent, x, y, TextWidth(textWidth) + kPreviousWidth + kNextWidth, kHeight, 0, 0),
      mSprites(GetRoot(), bitmaps::kSprites) {
  const std::int32_t w = TextWidth(textWidth);
  OGWorld* sprites = mSprites.Get();
  mText = new StaticTextPMFrame(this, 0, 0, w, kHeight, 1, 129, sprites, 0, 0);
  mText->SetFont(DrawContext::kSmallFont, false);
  mText->SetTextColor(sprites->GetPixelColor(Point{198, 4}), true);
  mText->SetDisabledTextColor(sprites->GetPixelColor(Point{198, 14}), true);
  mText->SetTextOffsets(margin, baseline, false);
  mText->SetAlignment(alignment, false);
  mText->SetHideWhenDisabled();
  mPrevious =
      new InstantActionButton(this, w, 0, kPreviousWidth, kHeight, 20, 0, 1, 1, sprites, 0, previousId);
  mPrevious->SetDisabledImage(41, 1);
  mNext = new InstantActionButton(this, w + kPreviousWidth, 0, kNextWidth, kHeight, 20, 0, 11, 1, sprites, 0,
                                  nextId);
  mNext->SetDisabledImage(51, 1);
  IncDecControlGroup::Create(plugin, mNext, mPrevious, nullptr);
}

void KVNValueIncDecFrame::SetEnabled(bool on) {
  Frame::SetEnabled(on);
  mText->SetEnabled(on);
  mNext->SetEnabled(on);
  mPrevious->SetEnabled(on);
}
