#pragma once

#include "toolkit/controls/GenericControl.h"
#include "toolkit/frames/Frame.h"

// A control with a picture: a frame that turns mouse gestures into value changes. A gesture runs
// from an accepted press (mouse captured) to the release; disabling, hiding or destroying the
// control ends it as a release would, so the capture never outlives it. Each gesture announces
// one release, and a handler may delete the control: nothing touches it afterwards. Editor
// thread only.
class GraphicControl : public Frame, public GenericControl {
 public:
  // What Action is told.
  enum ActionKind : std::int32_t { kActionPress = 0, kActionDrag = 1, kActionRelease = 2 };

  // The frame's id is the control id.
  GraphicControl(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                 std::uint32_t flags, std::int32_t min, std::int32_t max, std::int32_t defaultValue,
                 std::int32_t controlId, CentralController* controller = nullptr);
  ~GraphicControl() override;

  // Redraws after the value.
  void SetValue(std::int32_t value) override;
  // An empty range (min = max) disables the control; a range with room enables it again.
  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetEnabled(bool on) override;
  void EffectiveVisibilityChanged() override;
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;

  virtual void SetHilite(bool on, bool redraw);
  // Hook for the gesture, x and y local; inside: the point lies inside the control.
  static constexpr bool kInside = true;
  virtual void Action(std::int32_t kind, std::int32_t x, std::int32_t y, bool inside);

  // Setting it also accepts Shift clicks.
  void SetResetOnShiftClick(bool on);
  // Whether a press with that modifier held is taken; one that is not is ignored.
  void SetModifierClicks(bool ctrlShift, bool ctrl, bool extra, bool shift);
  bool IsPressed() const { return mPressed; }
  bool IsHilited() const { return mHilite; }
  bool IsInside() const { return mInside; }
  // Strictly inside the local rectangle.
  bool IsPointInside(std::int32_t x, std::int32_t y) const;

 protected:
  // A modifier held now is one this control takes.
  bool IsAcceptedModifierDown() const;

 private:
  void Press(std::int32_t x, std::int32_t y);
  void Release(std::int32_t x, std::int32_t y);
  void Drag(std::int32_t x, std::int32_t y);
  bool IsModifierRefused() const;
  // Ends a gesture the release will not end: no action, only its bookkeeping and messages.
  void AbortGesture() noexcept;
  // Clears the gesture, releases the mouse and announces the release; failures go no further.
  void FinishGesture() noexcept;

  bool mHilite{false};
  bool mPressed{false};
  bool mReleasing{false};  // the release's action runs
  bool mInside{false};
  bool mResetOnShiftClick{false};
  bool mAcceptCtrlShift{false};
  bool mAcceptCtrl{false};
  bool mAcceptExtra{false};
  bool mAcceptShift{false};
};
