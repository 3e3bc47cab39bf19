#pragma once

#include <cstdint>
#include <map>

#include "framework/services/FourCC.h"
#include "toolkit/frames/Frame.h"

class OGWorld;
struct MessageSubscription;

namespace ZEBCanvas {

// A colour swatch, optionally with a dashed black-and-white border. Editor thread only.
class ColorFillFrame : public Frame {
 public:
  ColorFillFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                 std::uint32_t flags);

  void Draw(DrawContext& context, const Rect& area) override;

  void SetColor(Color color, bool redraw);
  // The stored colour, which a linked picker writes through.
  Color* GetColor() { return &mColor; }
  void SetHatched(bool on);

 private:
  Color mColor{0xFFFF, 0, 0};
  bool mHatched{false};
};

// A palette from an offscreen world; while the button is held it picks the colour under the
// pointer (the palette's nearest edge pixel once the pointer leaves it), announces each pick on
// its 'clrP' class and writes it into every linked colour. Editor thread only.
class ColorPickerFrame : public Frame {
 public:
  static constexpr std::int32_t kMsgClassRef = FourCC('c', 'l', 'r', 'P');
  // Sent on the picker's class after each pick, value 0, no payload.
  static constexpr std::int32_t kPicked = FourCC('p', 'P', 'c', 'k');

  // The active image shows while the pointer is over the enabled frame, and colours come from it.
  ColorPickerFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   OGWorld* world, std::int32_t activeX, std::int32_t activeY, std::int32_t idleX,
                   std::int32_t idleY);
  // Drops the links, then removes the 'clrP' class.
  ~ColorPickerFrame() override;

  MessageClass* GetMsgClass() const override;
  void Draw(DrawContext& context, const Rect& area) override;
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;
  // Disabling or hiding the picker ends a drag.
  void SetEnabled(bool on) override;
  void EffectiveVisibilityChanged() override;

  Color GetColor() const { return mPicked; }
  void SetPixMap(OGWorld* world, std::int32_t activeX, std::int32_t activeY);
  // Each pick is written through the pointer and the frame redrawn, until the frame's class goes.
  void LinkColor(Frame* frame, Color* color);
  std::size_t GetLinkCount() const { return mLinks.size(); }
  bool IsDragging() const { return mDragging; }

 private:
  struct Link {
    Frame* frame{nullptr};
    Color* color{nullptr};
    MessageClass* messageClass{nullptr};
    MessageSubscription* subscription{nullptr};
  };

  void Pick(std::int32_t x, std::int32_t y);
  void EndDrag();
  static std::int32_t IgnoreLinkMessage(MessageSubscription*, void*, std::int32_t, MessageClass*,
                                        std::int32_t, std::int32_t, void*);
  // Runs when a linked frame's class goes, muted or not.
  static void OnLinkGone(MessageSubscription* subscription, void* userData, std::int32_t linkNumber);

  MessageClass* mMsgClass{nullptr};
  OGWorld* mWorld{nullptr};
  Point mActive{};
  Point mIdle{};
  bool mHover{false};
  bool mDragging{false};
  Point mPickedPoint{};
  Color mPicked{};
  std::map<std::int32_t, Link> mLinks{};
  std::int32_t mLinkCount{0};
};

}  // namespace ZEBCanvas
