#pragma once

#include <string>

#include "framework/services/FourCC.h"
#include "toolkit/editor/TextEditDialogUser.h"
#include "toolkit/frames/Frame.h"

class OGWorld;

// One line of text, aligned in the frame, in one of the two fonts. A click can start an in-place
// edit of the text; the edit's start and end go out on the frame's edit class, and the subscriber
// decides what becomes of the new text. Editor thread only.
class TextFrame : public Frame, public TextEditDialogUser {
 public:
  static constexpr std::int32_t kEditMsgClassRef = FourCC('e', 'd', 'i', 't');

  // Codes on the edit class; the value is 0.
  enum EditMessage : std::int32_t {
    kEditStarted = 0,    // payload: the frame
    kEditEntered = 1,    // payload: an EnteredText, valid during the call
    kEditCancelled = 2,  // payload: the frame
  };
  struct EnteredText {
    TextFrame* frame{nullptr};
    const std::string* text{nullptr};
  };

  enum Alignment : std::int16_t { kCentred = 0, kLeft = 1, kRight = 2 };
  enum EditMode : std::int32_t { kNoEdit = 0, kEditOnClick = 1, kEditOnDoubleClick = 2 };

  TextFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
            std::uint32_t flags, std::int32_t id);
  // Removes the edit class; an edit still open then reaches nobody.
  ~TextFrame() override;

  void Draw(DrawContext& context, const Rect& area) override;
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;
  void EditFinished(const std::string* text) override;

  void SetFont(std::int32_t font, bool redraw);
  // Any other alignment draws at the pen where it is.
  void SetAlignment(std::int16_t alignment, bool redraw);
  // margin: from the left edge, the right edge, or added to the centre; baseline: above the bottom.
  void SetTextOffsets(std::int32_t margin, std::int32_t baseline, bool redraw);
  void SetTextColor(Color color, bool redraw);
  void SetDisabledTextColor(Color color, bool redraw);
  void SetText(const std::string& text, bool redraw);
  void SetHideWhenDisabled() { mHideWhenDisabled = true; }
  void SetEditMode(std::int32_t mode) { mEditMode = mode; }

  MessageClass* GetEditMsgClass() const { return mEditMsgClass; }
  std::string GetText() const { return mText; }
  std::int32_t GetMargin() const { return mMargin; }
  std::int32_t GetBaseline() const { return mBaseline; }

 private:
  void SendEdit(std::int32_t code, void* payload);

  std::string mText{};
  std::int16_t mAlignment{kCentred};
  std::int32_t mMargin{0};
  std::int32_t mBaseline{2};
  std::int32_t mFont{DrawContext::kSmallFont};
  Color mTextColor{kBlack};
  Color mDisabledTextColor{kBlack};
  bool mHideWhenDisabled{false};
  std::int32_t mEditMode{kNoEdit};
  MessageClass* mEditMsgClass{nullptr};
};

// A text frame over a frame-sized background copied from an offscreen world; always buffered.
class StaticTextPMFrame : public TextFrame {
 public:
  StaticTextPMFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t backgroundX, std::int32_t backgroundY, const OGWorld* world,
                    std::uint32_t flags, std::int32_t id);

  void Draw(DrawContext& context, const Rect& area) override;
  // Takes effect at the next draw.
  void SetPixMap(const OGWorld* world) { mWorld = world; }

 private:
  const OGWorld* mWorld{nullptr};
  Point mBackground{};
};
