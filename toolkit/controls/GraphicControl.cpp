#include "toolkit/controls/GraphicControl.h"

#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Redraw.h"

GraphicControl::GraphicControl(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                               std::int32_t height, std::uint32_t flags, std::int32_t min, std::int32_t max,
                               std::int32_t defaultValue, std::int32_t controlId,
                               CentralController* controller)
    : Frame(parent, x, y, width, height, flags, controlId),
      GenericControl(parent->GetRoot()->GetPluginServices(), min, max, defaultValue, controlId, controller) {
  Frame::SetEnabled(true);
}

GraphicControl::~GraphicControl() {
  if (mPressed) AbortGesture();
}

void GraphicControl::SetValue(std::int32_t value) {
  const FrameWatch watch(*this);
  GenericControl::SetValue(value);
  // A value handler may have deleted the control.
  if (!watch.IsGone()) Redraw(nullptr, true);
}

void GraphicControl::SetRange(std::int32_t min, std::int32_t max) {
  GenericControl::SetRange(min, max);
  if (min == max)
    SetEnabled(false);
  else if (!IsEnabled())
    SetEnabled(true);
}

// A disabled frame drops the release, so the gesture ends here; during the release's own action
// the release ends it.
void GraphicControl::SetEnabled(bool on) {
  Frame::SetEnabled(on);
  if (!on && mPressed && !mReleasing) AbortGesture();
}

// Hiding the control or an ancestor ends the gesture, as disabling does.
void GraphicControl::EffectiveVisibilityChanged() {
  if (!IsEffectivelyVisible() && mPressed && !mReleasing) AbortGesture();
}

void GraphicControl::Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) {
  switch (kind) {
    case kMouseDown:
      Press(x, y);
      break;
    case kMouseUp:
      Release(x, y);
      break;
    case kMouseMove:
      Drag(x, y);
      break;
    default:
      break;
  }
}

bool GraphicControl::IsModifierRefused() const {
  const PluginUIRoot& root = *GetRoot();
  return (root.IsControlShiftDown() && !mAcceptCtrlShift) || (root.IsControlKeyDown() && !mAcceptCtrl) ||
         (root.IsExtraModifierDown() && !mAcceptExtra) || (root.IsShiftKeyDown() && !mAcceptShift);
}

bool GraphicControl::IsAcceptedModifierDown() const {
  const PluginUIRoot& root = *GetRoot();
  return (mAcceptCtrlShift && root.IsControlShiftDown()) || (mAcceptCtrl && root.IsControlKeyDown()) ||
         (mAcceptExtra && root.IsExtraModifierDown()) || (mAcceptShift && root.IsShiftKeyDown());
}

void GraphicControl::Press(std::int32_t x, std::int32_t y) {
  if (IsModifierRefused()) return;
  if (mResetOnShiftClick && GetRoot()->IsShiftKeyDown()) {
    ResetToDefault();
    return;
  }
  if (!IsEnabled()) return;
  const FrameWatch watch(*this);
  Publish(kPressed, GetValue());
  // A subscriber may have disabled or deleted the control.
  if (watch.IsGone() || !IsEnabled()) return;
  SetHilite(true, kRedraw);
  CaptureMouse();
  mPressed = mInside = true;
  Action(kActionPress, x, y, kInside);
}

// The gesture ends once, after the action, whatever the action's handlers did to the control.
void GraphicControl::Release(std::int32_t x, std::int32_t y) {
  const FrameWatch watch(*this);
  if (mPressed && !mReleasing) {
    mReleasing = true;
    try {
      SetHilite(false, kNoRedraw);
      mInside = IsPointInside(x, y);
      Action(kActionRelease, x, y, mInside);
    } catch (...) {
      // The gesture ends whatever the action did.
    }
    if (watch.IsGone()) return;
    mReleasing = false;
    FinishGesture();
    if (watch.IsGone()) return;
  }
  Redraw(nullptr, true);
}

void GraphicControl::Drag(std::int32_t x, std::int32_t y) {
  if (!mPressed) return;
  const bool inside = IsPointInside(x, y);
  if (inside && !mInside) {
    SetHilite(true, kRedraw);
    mInside = true;
  } else if (!inside && mInside) {
    SetHilite(false, kRedraw);
    mInside = false;
  }
  const FrameWatch watch(*this);
  Action(kActionDrag, x, y, inside);
  // Nothing follows a release: the action may have ended the gesture, or deleted the control.
  if (watch.IsGone() || !mPressed) return;
  Publish(kDragged, GetValue());
}

void GraphicControl::AbortGesture() noexcept {
  try {
    SetHilite(false, kNoRedraw);
  } catch (...) {
    // The gesture ends even when the control cannot be redrawn.
  }
  FinishGesture();
}

void GraphicControl::FinishGesture() noexcept {
  mPressed = mInside = false;
  try {
    ReleaseMouse();
  } catch (...) {
    // The release is still published, so every listener sees the gesture end.
  }
  try {
    Publish(kReleased, GetValue());
  } catch (...) {
    // noexcept: a listener that fails on the release does not keep the gesture alive.
  }
}

void GraphicControl::SetHilite(bool on, bool redraw) {
  mHilite = on;
  if (redraw) Redraw(nullptr, true);
}

void GraphicControl::Action(std::int32_t, std::int32_t, std::int32_t, bool) {}

void GraphicControl::SetResetOnShiftClick(bool on) {
  mResetOnShiftClick = on;
  if (on) mAcceptShift = true;
}

void GraphicControl::SetModifierClicks(bool ctrlShift, bool ctrl, bool extra, bool shift) {
  mAcceptCtrlShift = ctrlShift;
  mAcceptCtrl = ctrl;
  mAcceptExtra = extra;
  mAcceptShift = shift;
}

bool GraphicControl::IsPointInside(std::int32_t x, std::int32_t y) const {
  return 0 < x && x < GetWidth() && 0 < y && y < GetHeight();
}
