#include "toolkit/controls/PixMapButton.h"

#include <algorithm>
#include <climits>

#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"

namespace {

constexpr std::int16_t kButtonCursor = 2000;

// a mod n in 0..n-1 for any sign of a, n > 0.
std::int64_t Modulo(std::int64_t a, std::int64_t n) {
  const std::int64_t r = a % n;
  return r < 0 ? r + n : r;
}

}  // namespace

PixMapButton::PixMapButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height, std::int32_t stepX, std::int32_t stepY, std::int32_t originX,
                           std::int32_t originY, const OGWorld* world, std::uint32_t flags, std::int32_t min,
                           std::int32_t max, std::int32_t defaultValue, std::int32_t controlId,
                           CentralController* controller)
    : GraphicControl(parent, x, y, width, height, flags, min, max, defaultValue, controlId, controller),
      mWorld(world),
      mOrigin{originX, originY},
      mStep{stepX, stepY} {
  SetCursor(kButtonCursor, kOnlyIfOver);
}

void PixMapButton::SetButtonType(std::int32_t type) {
  mButtonType = type;
  if (type == kAction || type == kToggle) SetRange(0, 1);
}

std::int32_t PixMapButton::GetStateCount() const {
  const std::int64_t count = std::int64_t(GetMax()) - GetMin() + 1;
  return count < 1 ? 1 : std::int32_t(std::min<std::int64_t>(count, INT32_MAX));
}

std::int32_t PixMapButton::GetState() const {
  return std::int32_t(Modulo(std::int64_t(GetValue()) - GetMin(), GetStateCount()));
}

void PixMapButton::Advance() {
  SetValue(std::int32_t(GetMin() + Modulo(std::int64_t(GetState()) + 1, GetStateCount())));
}

void PixMapButton::Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) {
  if (mHoverEnabled) {
    if (kind == kMouseLeave)
      mHoverShown = false;
    else if (IsEnabled())
      mHoverShown = IsAcceptedModifierDown();
    Redraw(nullptr, true);
  }
  GraphicControl::Mouse(kind, x, y);
}

void PixMapButton::Action(std::int32_t kind, std::int32_t, std::int32_t, bool inside) {
  const FrameWatch watch(*this);
  if (kind == kActionPress) {
    if (mActsOnPress) Advance();
    // A value handler may have deleted the button.
    if (!watch.IsGone() && mButtonType == kAction) SetValueQuiet(0);
  } else if (kind == kActionRelease) {
    if (inside && !mActsOnPress) Advance();
    if (watch.IsGone() || mButtonType != kAction) return;
    if (mActsOnPress)
      SetValue(0);
    else
      SetValueQuiet(0);
  }
}

std::int32_t PixMapButton::GetImageIndex() const {
  const std::int32_t state = GetState();
  switch (mButtonType) {
    case kMultiState:
      return (IsHilited() ? 1 : 0) + state * 2;
    case kAction:
    case kToggle:
      if (IsHilited() && (!mActsOnPress || mButtonType == kAction)) return state == 0 ? 1 : 0;
      return state;
    default:
      return 0;
  }
}

void PixMapButton::Draw(DrawContext& context, const Rect&) {
  if (!mWorld) return;
  Rect source{};
  if (!IsEnabled() && mDisabledOrigin.x != -1 && mDisabledOrigin.y != -1) {
    source = RectFromOriginSize(mDisabledOrigin, GetWidth(), GetHeight());
  } else if (mButtonType != kMultiState && mButtonType != kAction && mButtonType != kToggle) {
    source = RectFromOriginSize(Point{0, 0}, GetWidth(), GetHeight());
  } else {
    const bool hover = mHoverEnabled && mHoverShown && IsEnabled();
    const Point origin = hover ? mHoverOrigin : mOrigin, step = hover ? mHoverStep : mStep;
    const std::int64_t i = GetImageIndex();
    source =
        RectFromOriginSize(Point{std::int32_t(origin.x + i * step.x), std::int32_t(origin.y + i * step.y)},
                           GetWidth(), GetHeight());
  }
  context.ResetColors();
  context.CopyFromWorld(*mWorld, source, Point{0, 0}, DrawContext::kResetColors);
}

void PixMapButton::SetDisabledImage(std::int32_t x, std::int32_t y) { mDisabledOrigin = Point{x, y}; }

void PixMapButton::SetHoverImage(std::int32_t originX, std::int32_t originY, std::int32_t stepX,
                                 std::int32_t stepY) {
  mHoverEnabled = true;
  mHoverOrigin = Point{originX, originY};
  mHoverStep = Point{stepX, stepY};
  EnableHoverMoves();
}

MultiStateButton::MultiStateButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                   std::int32_t height, std::int32_t stepX, std::int32_t stepY,
                                   std::int32_t originX, std::int32_t originY, const OGWorld* world,
                                   std::uint32_t flags, std::int32_t min, std::int32_t max,
                                   std::int32_t defaultValue, std::int32_t controlId,
                                   CentralController* controller)
    : PixMapButton(parent, x, y, width, height, stepX, stepY, originX, originY, world, flags, min, max,
                   defaultValue, controlId, controller) {
  SetButtonType(kMultiState);
}

ActionButton::ActionButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height, std::int32_t stepX, std::int32_t stepY, std::int32_t originX,
                           std::int32_t originY, const OGWorld* world, std::uint32_t flags,
                           std::int32_t controlId, CentralController* controller)
    : PixMapButton(parent, x, y, width, height, stepX, stepY, originX, originY, world, flags, 0, 1, 0,
                   controlId, controller) {
  SetButtonType(kAction);
}

InstantActionButton::InstantActionButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, std::int32_t stepX, std::int32_t stepY,
                                         std::int32_t originX, std::int32_t originY, const OGWorld* world,
                                         std::uint32_t flags, std::int32_t controlId,
                                         CentralController* controller)
    : PixMapButton(parent, x, y, width, height, stepX, stepY, originX, originY, world, flags, 0, 1, 0,
                   controlId, controller) {
  SetButtonType(kAction);
  SetActsOnPress(true);
}

void InstantActionButton::Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) {
  mDragging = kind == kMouseMove;
  PixMapButton::Mouse(kind, x, y);
}

void InstantActionButton::SetHilite(bool on, bool redraw) {
  if (!on && mDragging && IsPressed() && ActsOnPress()) return;
  PixMapButton::SetHilite(on, redraw);
}

BooleanButton::BooleanButton(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, std::int32_t stepX, std::int32_t stepY,
                             std::int32_t originX, std::int32_t originY, const OGWorld* world,
                             std::uint32_t flags, std::int32_t defaultValue, std::int32_t controlId,
                             CentralController* controller)
    : PixMapButton(parent, x, y, width, height, stepX, stepY, originX, originY, world, flags, 0, 1,
                   defaultValue, controlId, controller) {
  SetButtonType(kToggle);
}
