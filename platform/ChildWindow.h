#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/EditField.h"
#include "platform/PixelBuffer.h"
#include "platform/WindowEvent.h"

// Where the pointer was last seen over or around the window, in window coordinates, and the
// modifier keys and buttons then held.
struct PointerState {
  std::int32_t x = -1;
  std::int32_t y = -1;
  std::uint32_t modifiers = 0;
};

// The editor's window inside its host's window. Lives on the thread that opened it.
//
// A press captures the mouse until its release (the press's own implicit grab, never a grab of
// the pointer): moves outside the window keep arriving. A drag also ends, with a release
// delivered at the last position, on a move with no button held, on losing the grab to
// another client, and when the window dies (before kDestroyed). ReleaseCapture ends it with
// no release.
//
// While an edit is shown, keys go to it, and a press anywhere else in the window ends it as
// cancelled without being delivered.
class ChildWindow {
 public:
  virtual ~ChildWindow() = default;

  // False once the window is gone: its parent was destroyed or the display connection lost.
  virtual bool IsAlive() const = 0;
  // Delivers what happened since the last call; never blocks.
  virtual void PumpEvents(WindowEventSink& sink) = 0;
  // Shows the given rectangles of the buffer (window coordinates, clipped to both).
  virtual void Present(const PixelBuffer& buffer, const std::vector<PixelRect>& rects) = 0;
  virtual PointerState GetPointerState() const = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool IsCaptured() const = 0;

  // Shows an edit field over rect (its border one pixel left of and two above the rect), taking
  // the keyboard focus; a running edit ends as cancelled first. The renderer must outlive the
  // edit. False when the field cannot be made (done is then dropped).
  virtual bool BeginTextEdit(const PixelRect& rect, const std::string& text, EditFieldRenderer& renderer,
                             EditFieldDone done) = 0;
  // Ends a running edit; does nothing when none runs.
  virtual void EndTextEdit(bool commit) = 0;
  virtual bool IsTextEditActive() const = 0;
};

// What the window does with events, shared by every back end: capture, the edit field's
// routing and keys, coalesced exposes. A back end turns its own events into calls of the
// protected operations and draws the edit field's surface.
class RoutedChildWindow : public ChildWindow {
 public:
  ~RoutedChildWindow() override;

  bool IsAlive() const override { return mAlive; }
  PointerState GetPointerState() const override { return mPointer; }
  void ReleaseCapture() override;
  bool IsCaptured() const override { return mDragButton != MouseButton::kNone; }
  bool BeginTextEdit(const PixelRect& rect, const std::string& text, EditFieldRenderer& renderer,
                     EditFieldDone done) override;
  void EndTextEdit(bool commit) override;
  bool IsTextEditActive() const override { return mEdit != nullptr; }

 protected:
  // The edit field's outside, border included, for rect: (left - 1, top - 2), width x (height + 4).
  static PixelRect EditFieldFrame(const PixelRect& rect);
  // Its inside, within the one-pixel border, in window coordinates.
  static PixelRect EditFieldInside(const PixelRect& rect);

  // A back end's own event, already in window coordinates.
  void Dispatch(const WindowEvent& event, WindowEventSink& sink);
  // The pointer moved without an event of its own (it entered or left the window).
  void TrackPointer(std::int32_t x, std::int32_t y, std::uint32_t modifiers) { mPointer = {x, y, modifiers}; }
  // Another client took the pointer from the press's grab.
  void LoseCapture(WindowEventSink& sink);
  // The edit field lost the keyboard focus to someone else.
  void EditFocusLost();
  // The edit field's surface needs its pixels again.
  void RedrawEditField();
  // Ends the pump: delivers the exposes it coalesced.
  void FinishPump(WindowEventSink& sink);
  // The window is gone for good: ends an edit; with a sink, ends a drag with its release and
  // reports kDestroyed once.
  void MarkDead(WindowEventSink* sink);
  // The display's time of the latest event, for focus requests.
  std::uint32_t LastEventTime() const { return mLastTime; }
  // Ends an edit (cancelled) and a drag before a back end destroys its window.
  void ShutDown();

  // The back end's edit field surface: a window of EditFieldFrame(rect) with a one-pixel border.
  virtual bool OpenEditSurface(const PixelRect& frame) = 0;
  virtual void PresentEditSurface(const PixelBuffer& inside) = 0;
  // Takes the keyboard focus for the edit surface as of the display time given.
  virtual void FocusEditSurface(std::uint32_t time) = 0;
  // Destroys the surface; restoreFocus gives the focus back to whoever had it before.
  virtual void CloseEditSurface(bool restoreFocus) = 0;

 private:
  void FinishEdit(bool commit, bool restoreFocus);

  struct Edit {
    EditFieldText text;
    PixelRect rect;
    EditFieldRenderer* renderer = nullptr;
    EditFieldDone done;
  };

  bool mAlive = true;
  bool mDestroyedReported = false;
  PointerState mPointer;
  std::uint32_t mLastTime = 0;
  MouseButton mDragButton = MouseButton::kNone;
  bool mSwallowRelease = false;  // the press that ended an edit is not delivered, nor its release
  std::optional<PixelRect> mExposed;
  std::unique_ptr<Edit> mEdit;
  std::vector<std::uint32_t> mEditPixels;
};
