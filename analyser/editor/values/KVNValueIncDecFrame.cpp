#include "analyser/editor/values/KVNValueIncDecFrame.h"

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

constexpr Point kTextBackground{1, 129};
constexpr Point kEnabledText{198, 4};
constexpr Point kDisabledText{198, 14};
constexpr Point kButtonStep{20, 0};
constexpr Point kPreviousImage{1, 1}, kPreviousDisabled{41, 1};
constexpr Point kNextImage{11, 1}, kNextDisabled{51, 1};

}  // namespace

KVNValueIncDecFrame::KVNValueIncDecFrame(Frame* parent, std::int32_t x, std::int32_t y,
                                         std::int32_t textWidth, Point textOffsets, std::int16_t alignment)
    : Frame(parent, x, y, TextWidth(textWidth) + kPreviousWidth + kNextWidth, kHeight, 0, 0),
      mSprites(GetRoot(), bitmaps::kSprites) {
  const std::int32_t w = TextWidth(textWidth);
  OGWorld& sprites = *mSprites.Get();
  mText = new StaticTextPMFrame(this, 0, 0, w, kHeight, kTextBackground.x, kTextBackground.y, &sprites, 0, 0);
  mText->SetFont(DrawContext::kSmallFont, kNoRedraw);
  mText->SetTextColor(sprites.GetPixelColor(kEnabledText), kRedraw);
  mText->SetDisabledTextColor(sprites.GetPixelColor(kDisabledText), kRedraw);
  mText->SetTextOffsets(textOffsets.x, textOffsets.y, kNoRedraw);
  mText->SetAlignment(alignment, kNoRedraw);
  mText->SetHideWhenDisabled();
  mNext = new InstantActionButton(this, w + kPreviousWidth, 0, kNextWidth, kHeight, kButtonStep.x,
                                  kButtonStep.y, kNextImage.x, kNextImage.y, &sprites, 0, 0);
  mNext->SetDisabledImage(kNextDisabled.x, kNextDisabled.y);
  mPrevious = new InstantActionButton(this, w, 0, kPreviousWidth, kHeight, kButtonStep.x, kButtonStep.y,
                                      kPreviousImage.x, kPreviousImage.y, &sprites, 0, 0);
  mPrevious->SetDisabledImage(kPreviousDisabled.x, kPreviousDisabled.y);
  IncDecControlGroup::Create(GetRoot()->GetPluginServices(), mNext, mPrevious, nullptr);
}

void KVNValueIncDecFrame::SetEnabled(bool on) {
  mText->SetEnabled(on);
  mNext->SetEnabled(on);
  mPrevious->SetEnabled(on);
}
