#pragma once

#include <cstdint>

#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/Frame.h"

class InstantActionButton;
class Korvane;
class StaticTextPMFrame;

// A text with a previous and a next arrow after it, 11 pixels high; a held arrow repeats. The
// owner registers the arrows as its controls and sets the text. Editor thread.
class KVNValueIncDecFrame : public Frame {
 public:
  static constexpr std::int32_t kDefaultTextWidth = 36;
  static constexpr std::int32_t kHeight = 11;
  static constexpr std::int32_t kPreviousWidth = 10;
  static constexpr std::int32_t kNextWidth = 9;

  // textWidth 0 or less: the default. The arrows' control ids are the owner's.
  KVNValueIncDecFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y, std::int32_t textWidth,
                      std::int32_t margin, std::int32_t baseline, std::int16_t alignment,
                      std::int32_t previousId, std::int32_t nextId);

  // The text and both arrows follow; a disabled stepper hides its text.
  void SetEnabled(bool on) override;

  StaticTextPMFrame& GetTextFrame() const { return *mText; }
  InstantActionButton& GetRightButton() const { return *mNext; }
  InstantActionButton& GetLeftButton() const { return *mPrevious; }

 private:
  PixMapRef mSprites;
  StaticTextPMFrame* mText{nullptr};
  InstantActionButton* mNext{nullptr};
  InstantActionButton* mPrevious{nullptr};
};
