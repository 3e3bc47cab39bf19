#include <utility>

#include "platform/ChildWindow.h"

RoutedChildWindow::~RoutedChildWindow() {
  // A back end calls ShutDown before its window goes; this only keeps the promise of one answer.
  if (mEdit) {
    const EditFieldDone done = std::move(mEdit->done);
    mEdit.reset();
    if (done) done(std::nullopt);
  }
}

PixelRect RoutedChildWindow::EditFieldFrame(const PixelRect& rect) {
  return {rect.left - 1, rect.top - 2, rect.left - 1 + rect.Width(), rect.top - 2 + rect.Height() + 4};
}

PixelRect RoutedChildWindow::EditFieldInside(const PixelRect& rect) {
  const PixelRect frame = EditFieldFrame(rect);
  return {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
}

void RoutedChildWindow::Dispatch(const WindowEvent& event, WindowEventSink& sink) {
  if (!mAlive) return;
  switch (event.kind) {
    case WindowEvent::Kind::kMouseDown:
      mPointer = {event.x, event.y, event.modifiers};
      mLastTime = event.time;
      if (mEdit) {
        const PixelRect& r = mEdit->rect;
        const bool inside = event.x > r.left && event.x < r.right && event.y > r.top && event.y < r.bottom;
        if (!inside) FinishEdit(false, true);
        mSwallowRelease = true;
        return;
      }
      if (mDragButton == MouseButton::kNone) mDragButton = event.button;
      sink.OnWindowEvent(event);
      return;
    case WindowEvent::Kind::kMouseUp:
      mPointer = {event.x, event.y, event.modifiers};
      mLastTime = event.time;
      if (mSwallowRelease) {
        mSwallowRelease = false;
        return;
      }
      if (event.button == mDragButton) mDragButton = MouseButton::kNone;
      sink.OnWindowEvent(event);
      return;
    case WindowEvent::Kind::kMouseMove:
      mPointer = {event.x, event.y, event.modifiers};
      mLastTime = event.time;
      // The release went elsewhere (a grab, a lost event): the drag is over all the same.
      if (mDragButton != MouseButton::kNone && !(event.modifiers & ButtonModifier(mDragButton))) {
        LoseCapture(sink);
      }
      sink.OnWindowEvent(event);
      return;
    case WindowEvent::Kind::kKey:
      mLastTime = event.time;
      if (!mEdit) return;
      switch (mEdit->text.HandleKey(event.key, event.character)) {
        case EditFieldText::Outcome::kCommit:
          FinishEdit(true, true);
          return;
        case EditFieldText::Outcome::kCancel:
          FinishEdit(false, true);
          return;
        case EditFieldText::Outcome::kEditing:
          RedrawEditField();
          return;
      }
      return;
    case WindowEvent::Kind::kExpose:
      mExposed = mExposed ? UniteRects(*mExposed, event.area) : event.area;
      return;
    case WindowEvent::Kind::kFocusIn:
    case WindowEvent::Kind::kFocusOut:
      sink.OnWindowEvent(event);
      return;
    case WindowEvent::Kind::kDestroyed:
      MarkDead(&sink);
      return;
  }
}

void RoutedChildWindow::LoseCapture(WindowEventSink& sink) {
  if (mDragButton == MouseButton::kNone) return;
  WindowEvent release;
  release.kind = WindowEvent::Kind::kMouseUp;
  release.x = mPointer.x;
  release.y = mPointer.y;
  release.button = mDragButton;
  release.modifiers = mPointer.modifiers;
  release.time = mLastTime;
  mDragButton = MouseButton::kNone;
  sink.OnWindowEvent(release);
}

void RoutedChildWindow::ReleaseCapture() { mDragButton = MouseButton::kNone; }

void RoutedChildWindow::EditFocusLost() { FinishEdit(false, false); }

void RoutedChildWindow::FinishPump(WindowEventSink& sink) {
  if (!mExposed || !mAlive) return;
  WindowEvent expose;
  expose.kind = WindowEvent::Kind::kExpose;
  expose.area = *mExposed;
  expose.time = mLastTime;
  mExposed.reset();
  sink.OnWindowEvent(expose);
}

void RoutedChildWindow::MarkDead(WindowEventSink* sink) {
  if (mAlive) {
    FinishEdit(false, false);
    mAlive = false;
    mExposed.reset();
  }
  // Without a sink (a failed flush) the drag's release waits for the next pump: the user's own
  // release will never come.
  if (!sink) return;
  LoseCapture(*sink);
  if (!mDestroyedReported) {
    mDestroyedReported = true;
    WindowEvent destroyed;
    destroyed.kind = WindowEvent::Kind::kDestroyed;
    sink->OnWindowEvent(destroyed);
  }
}

void RoutedChildWindow::ShutDown() {
  FinishEdit(false, true);
  mDragButton = MouseButton::kNone;
}

bool RoutedChildWindow::BeginTextEdit(const PixelRect& rect, const std::string& text,
                                      EditFieldRenderer& renderer, EditFieldDone done) {
  FinishEdit(false, true);
  if (!mAlive || EditFieldInside(rect).IsEmpty() || !OpenEditSurface(EditFieldFrame(rect))) return false;
  mEdit.reset(new Edit{EditFieldText(text), rect, &renderer, std::move(done)});
  FocusEditSurface(mLastTime);
  RedrawEditField();
  return true;
}

void RoutedChildWindow::EndTextEdit(bool commit) { FinishEdit(commit, true); }

void RoutedChildWindow::FinishEdit(bool commit, bool restoreFocus) {
  if (!mEdit) return;
  // Taken out first: the callback may begin or end another edit.
  const std::unique_ptr<Edit> edit = std::move(mEdit);
  CloseEditSurface(restoreFocus && mAlive);
  if (edit->done) edit->done(commit ? std::optional<std::string>(edit->text.Text()) : std::nullopt);
}

void RoutedChildWindow::RedrawEditField() {
  if (!mEdit) return;
  const PixelRect inside = EditFieldInside(mEdit->rect);
  PixelBuffer buffer;
  buffer.width = inside.Width() > 0 ? inside.Width() : 0;
  buffer.height = inside.Height() > 0 ? inside.Height() : 0;
  buffer.stride = buffer.width;
  mEditPixels.assign(static_cast<size_t>(buffer.width) * static_cast<size_t>(buffer.height), 0x00FFFFFF);
  buffer.pixels = mEditPixels.data();
  mEdit->renderer->Render(mEdit->text, buffer);
  PresentEditSurface(buffer);
}
