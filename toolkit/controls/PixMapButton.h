#pragma once

#include "toolkit/controls/GraphicControl.h"

class OGWorld;

// A button drawn from a strip of frame-sized images in an offscreen world: image i lies at
// origin + i * step. A multi-state button steps through its states; an action button sends 1
// and falls back to 0; a toggle flips between 0 and 1. Editor thread only.
class PixMapButton : public GraphicControl {
 public:
  enum ButtonType : std::int32_t { kMultiState = 0, kAction = 1, kToggle = 2 };

  // A toggle until SetButtonType says otherwise; a button without a world draws nothing.
  PixMapButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t stepX, std::int32_t stepY, std::int32_t originX, std::int32_t originY,
               const OGWorld* world, std::uint32_t flags, std::int32_t min, std::int32_t max,
               std::int32_t defaultValue, std::int32_t controlId, CentralController* controller = nullptr);

  // Action buttons and toggles take the range 0..1.
  virtual void SetButtonType(std::int32_t type);
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;
  void Action(std::int32_t kind, std::int32_t x, std::int32_t y, bool inside) override;
  void Draw(DrawContext& context, const Rect& area) override;

  void SetPixMap(const OGWorld* world) { mWorld = world; }
  void SetDisabledImage(std::int32_t x, std::int32_t y);
  // A second strip, shown while a modifier this button accepts is held over it.
  void SetHoverImage(std::int32_t originX, std::int32_t originY, std::int32_t stepX, std::int32_t stepY);

  std::int32_t GetButtonType() const { return mButtonType; }
  // The index of the image Draw shows.
  std::int32_t GetImageIndex() const;
  // The number of states, at least one.
  std::int32_t GetStateCount() const;
  // The state of the value, 0 .. GetStateCount() - 1.
  std::int32_t GetState() const;

 protected:
  void SetActsOnPress(bool on) { mActsOnPress = on; }
  bool ActsOnPress() const { return mActsOnPress; }

 private:
  // To the next state, from the last back to the first.
  void Advance();

  std::int32_t mButtonType{kToggle};
  bool mActsOnPress{false};
  const OGWorld* mWorld{nullptr};
  Point mOrigin{};
  Point mStep{};
  Point mDisabledOrigin{-1, -1};
  bool mHoverEnabled{false};
  bool mHoverShown{false};
  Point mHoverOrigin{};
  Point mHoverStep{};
};

// Steps through min..max on each release inside, drawn with a normal and a pressed image per
// state.
class MultiStateButton : public PixMapButton {
 public:
  MultiStateButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   std::int32_t stepX, std::int32_t stepY, std::int32_t originX, std::int32_t originY,
                   const OGWorld* world, std::uint32_t flags, std::int32_t min, std::int32_t max,
                   std::int32_t defaultValue, std::int32_t controlId,
                   CentralController* controller = nullptr);
};

// Sends 1 on a release inside, then falls back to 0 without a message.
class ActionButton : public PixMapButton {
 public:
  ActionButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t stepX, std::int32_t stepY, std::int32_t originX, std::int32_t originY,
               const OGWorld* world, std::uint32_t flags, std::int32_t controlId,
               CentralController* controller = nullptr);
};

// Sends 1 on the press, then falls back to 0 without a message; stays lit while dragged off.
class InstantActionButton : public PixMapButton {
 public:
  InstantActionButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      std::int32_t stepX, std::int32_t stepY, std::int32_t originX, std::int32_t originY,
                      const OGWorld* world, std::uint32_t flags, std::int32_t controlId,
                      CentralController* controller = nullptr);

  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;
  void SetHilite(bool on, bool redraw) override;

 private:
  bool mDragging{false};
};

// Flips between 0 and 1 on each release inside.
class BooleanButton : public PixMapButton {
 public:
  BooleanButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                std::int32_t stepX, std::int32_t stepY, std::int32_t originX, std::int32_t originY,
                const OGWorld* world, std::uint32_t flags, std::int32_t defaultValue, std::int32_t controlId,
                CentralController* controller = nullptr);
};
