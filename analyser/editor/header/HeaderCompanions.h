#pragma once

#include <cstdint>

#include "toolkit/controls/PixMapButton.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/Frame.h"

// Small pieces of the strips' look that the editor keeps for later layouts; it creates none of
// them today.

// A filled area with an outline inset from its edges, in the sprites' colours.
class KVNFillFrame : public Frame {
 public:
  KVNFillFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t insetLeft, std::int32_t insetTop, std::int32_t insetRight,
               std::int32_t insetBottom);

  void Draw(DrawContext& context, const Rect& area) override;

 private:
  Rect mInsets{};
  Color mFill{};
  Color mOutline{};
};

// An 11 x 11 action button of one of three looks (kind 0 to 2), each with its disabled image;
// any other kind has the look of kind 1 and no disabled image.
class HTWImportButton : public ActionButton {
 public:
  HTWImportButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t kind, std::int32_t controlId);

 private:
  PixMapRef mSprites;
};

// A 10 x 10 checkbox with its disabled image.
class HTWCheckbox : public BooleanButton {
 public:
  HTWCheckbox(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t defaultValue,
              std::int32_t controlId);

 private:
  PixMapRef mSprites;
};
