#pragma once

#include <cstdint>

#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/Frame.h"

class InstantActionButton;
class OGWorld;
class StaticTextPMFrame;
namespace bitmaps {
struct Region;
}  // namespace bitmaps

// The panel's small stepper: a text field followed by a previous and a next arrow button, 11
// pixels high. Its owner registers the buttons as its own controls and sets the text. Editor
// thread.
class KVNValueIncDecFrame : public Frame {
 public:
  static constexpr std::int32_t kDefaultTextWidth = 36;
  static constexpr std::int32_t kHeight = 11;
  static constexpr std::int32_t kPreviousWidth = 10;
  static constexpr std::int32_t kNextWidth = 9;

  // A text width of 0 or less gives the default.
  KVNValueIncDecFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t textWidth,
                      Point textOffsets, std::int16_t alignment);

  void SetEnabled(bool on) override;

  StaticTextPMFrame* GetTextFrame() const { return mText; }
  InstantActionButton* GetRightButton() const { return mNext; }
  InstantActionButton* GetLeftButton() const { return mPrevious; }

 private:
  PixMapRef mSprites;
  StaticTextPMFrame* mText{nullptr};
  InstantActionButton* mNext{nullptr};
  InstantActionButton* mPrevious{nullptr};
};

// An arrow button of the stepper's look at (x, 0) of its parent, from the arrow's inventory row,
// without a disabled image.
InstantActionButton* NewStepperArrow(Frame* parent, std::int32_t x, const bitmaps::Region& arrow,
                                     const OGWorld* sprites);
