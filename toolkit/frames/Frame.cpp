#include "toolkit/frames/Frame.h"

#include <algorithm>
#include <exception>
#include <new>

#include "framework/services/MessagingServer.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/ScopedValue.h"

namespace {

// Positions enter the tree's conversions as signed 16-bit values.
std::int32_t Low16(std::int32_t v) { return std::int16_t(std::uint16_t(std::uint32_t(v))); }

// A frame's drawing bracket: BeginDraw when it opens, EndDraw when it closes, also when an
// exception passes. EndDraw's own failure propagates unless another one already does.
class DrawBracket {
 public:
  DrawBracket(Frame& frame, const Rect& area)
      : mFrame(frame), mArea(area), mUncaught(std::uncaught_exceptions()) {
    mFrame.BeginDraw(mArea);
  }
  ~DrawBracket() noexcept(false) {
    if (std::uncaught_exceptions() == mUncaught) {
      mFrame.EndDraw(mArea);
      return;
    }
    try {
      mFrame.EndDraw(mArea);
    } catch (...) {
      // The failure that ends the draw is the one to report.
    }
  }
  DrawBracket(const DrawBracket&) = delete;
  DrawBracket& operator=(const DrawBracket&) = delete;

 private:
  Frame& mFrame;
  const Rect mArea;
  const int mUncaught;
};

}  // namespace

Frame::Frame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
             std::uint32_t flags, std::int32_t id)
    : mFlags(flags),
      mRoot(parent->mRoot),
      mX(x + parent->mChildOffset.x),
      mY(y + parent->mChildOffset.y),
      mWidth(width),
      mHeight(height),
      mId(id),
      mParent(parent) {
  Construct();
}

Frame::Frame(PluginUIRoot* root, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
             std::uint32_t flags, std::int32_t id)
    : mFlags(flags), mRoot(root), mX(x), mY(y), mWidth(width), mHeight(height), mId(id) {
  Construct();
}

void Frame::Construct() {
  mDrawContext = mRoot->GetWindowContext();
  mLocalRect = Rect{0, 0, mWidth, mHeight};
  try {
    if (mFlags & kBuffered) mRoot->EnsureBackBuffer(*this);
    mVisible = mEnabled = true;
    SetActive(mParent ? mParent->mActive : mRoot->IsActive());
    if (mParent) ComputeMargins();
    UpdateGlobalRect();
    mMsgClass = mRoot->GetMessagingServer().CreateMessageClass(mId);
    if (!mMsgClass) throw std::bad_alloc();
    if (mParent) mParent->mChildren.push_back(this);
    if (IsVisible()) Invalidate();
    UpdateEffectiveVisibility();
    UpdateVisibleRects();
  } catch (...) {
    // A frame that joined lists must not stay in them once its memory is gone.
    Detach();
    throw;
  }
}

Frame::~Frame() {
  for (FrameWatch* watch = mWatch; watch; watch = watch->mOuter) watch->mFrame = nullptr;
  try {
    if (mMsgClass) mRoot->GetMessagingServer().Send(mMsgClass, kFrameDestroyed, 0, this);
  } catch (...) {
    // A subscriber's failure must not stop the tree's teardown.
  }
  // Each child takes itself out of the list.
  while (!mChildren.empty()) delete mChildren.front();
  const bool wasVisible = mVisible;
  Detach();
  if (mParent && wasVisible) {
    try {
      mParent->Invalidate();
    } catch (...) {
      // Only memory for the update set can fail here; the parent then repaints at its next change.
    }
  }
}

void Frame::Detach() noexcept {
  DrawContext* window = mRoot->GetWindowContext();
  if (GetExclusionPriority() != 0 && window) window->RemoveExclusionRect(this);
  if (mMsgClass) {
    try {
      mRoot->GetMessagingServer().RemoveMessageClass(mMsgClass);
    } catch (...) {
      // A subscriber's failure on the class's end must not keep the frame in the tree.
    }
    mMsgClass = nullptr;
  }
  if (mParent) {
    auto& siblings = mParent->mChildren;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  // Last, so nothing a subscriber did above leaves the frame in one of the root's lists.
  mRoot->ForgetFrame(this);
}

MessageClass* Frame::GetMsgClass() const { return mMsgClass; }

void Frame::Invalidate() {
  Frame* frame = this;
  while (frame && !frame->mVisible) frame = frame->mParent;
  if (frame) mRoot->AddToUpdateSet(frame);
}

void Frame::Redraw(const Rect* rect, bool rectIsLocal) {
  if (mRoot->GetDrawingScopeCount() == 0) {
    Invalidate();
    return;
  }
  if (!mVisible || !mDrawContext || !mEffectivelyVisible || IsEmptyRect(mVisibleRect)) return;
  Rect area = mLocalRect;
  if (rect) {
    area = *rect;
    if (!rectIsLocal) GlobalToLocal(area);
  }
  IntersectRect(area, mVisibleRect);
  if (IsEmptyRect(area)) return;
  if ((mFlags & kTransparent) && mParent && !mRedrawnByParent) {
    ToParent(area);
    mParent->Redraw(&area, true);
    return;
  }
  {
    const DrawBracket bracket(*this, area);
    Draw(*mDrawContext, area);
    if (mOverlay) mOverlay->Draw(*this, *mDrawContext, area);
  }
  LocalToGlobal(area);
  // By index: a child's draw may change the list.
  for (size_t i = 0; i < mChildren.size(); ++i) {
    Frame* child = mChildren[i];
    if (!RectsIntersect(child->mGlobalRect, area)) continue;
    const ScopedValue<bool> byParent(child->mRedrawnByParent, true);
    child->Redraw(&area, false);
  }
}

void Frame::BeginDraw(const Rect& area) {
  mDrawContext = mRoot->GetWindowContext();
  if (!mDrawContext) return;
  if (GetExclusionPriority() != 0) mDrawContext->UpdateExclusionRect(this, true);
  OGWorld* back = mRoot->GetBackBuffer();
  const bool buffered = (mFlags & kBuffered) && back;
  if (buffered) mDrawContext = back;
  mDrawContext->BeginDraw();
  if (buffered) {
    mDrawContext->SetOrigin(Point{0, 0});
    mDrawContext->SetClipRect(mDrawContext->GetBounds());
  } else {
    mDrawContext->SetOrigin(Point{-mGlobalRect.left, -mGlobalRect.top});
    mDrawContext->ClipToRect(area);
  }
}

void Frame::EndDraw(const Rect& area) {
  DrawContext* window = mRoot->GetWindowContext();
  if (!window) return;
  OGWorld* back = mRoot->GetBackBuffer();
  if ((mFlags & kBuffered) && back) {
    back->EndDraw();
    mDrawContext = window;
    window->BeginDraw();
    window->ResetColors();
    window->SetOrigin(Point{-mGlobalRect.left, -mGlobalRect.top});
    window->ClipToRect(area);
    window->CopyFromWorld(*back, area, Point{area.left, area.top}, true);
    try {
      AfterBlit();
    } catch (...) {
      // The frame is on the window already; what a hook does after that is not the draw's failure.
    }
  }
  if (GetExclusionPriority() != 0) window->UpdateExclusionRect(this, false);
  window->SetOrigin(Point{0, 0});
  window->EndDraw();
}

void Frame::SetPosition(std::int32_t x, std::int32_t y) {
  WillMove();
  ForEachDescendant(&Frame::WillMove);
  Invalidate();
  mX = x;
  mY = y;
  if (mParent) ComputeMargins();
  UpdateGlobalRect();
  ForEachDescendant(&Frame::UpdateGlobalRect);
  UpdateVisibleRects();
  Invalidate();
  Moved();
  ForEachDescendant(&Frame::Moved);
}

void Frame::SetSize(std::int32_t width, std::int32_t height, bool invalidate) {
  if (invalidate) Invalidate();
  mWidth = width;
  mHeight = height;
  mLocalRect = Rect{0, 0, width, height};
  UpdateGlobalRect();
  ForEachDescendant(&Frame::UpdateGlobalRect);
  if (mParent) ComputeMargins();
  if (mFlags & kBuffered) mRoot->EnsureBackBuffer(*this);
  if (invalidate) Invalidate();
  UpdateVisibleRects();
  LayoutChildren(invalidate);
  Resized();
}

void Frame::SetBounds(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      bool invalidate) {
  SetPosition(x, y);
  SetSize(width, height, invalidate);
}

void Frame::LayoutChildren(bool invalidate) {
  for (size_t i = 0; i < mChildren.size(); ++i) {
    Frame* child = mChildren[i];
    const std::uint32_t anchors = child->mFlags & kAnchorMask;
    if (!anchors) continue;
    std::int32_t x = child->mX, y = child->mY, w = child->mWidth, h = child->mHeight;
    if (anchors & kAnchorLeft) x = child->mMarginLeft;
    if (anchors & kAnchorTop) y = child->mMarginTop;
    if (anchors & kAnchorRight) {
      if (!(anchors & kAnchorLeft)) x = mWidth - child->mMarginRight - w;
      w = mWidth - child->mMarginRight - x;
    }
    if (anchors & kAnchorBottom) {
      if (!(anchors & kAnchorTop)) y = mHeight - child->mMarginBottom - h;
      h = mHeight - child->mMarginBottom - y;
    }
    child->SetBounds(x, y, w, h, invalidate);
  }
}

void Frame::ComputeMargins() {
  mMarginLeft = mX;
  mMarginTop = mY;
  mMarginRight = mParent->mWidth - mWidth - mX;
  mMarginBottom = mParent->mHeight - mHeight - mY;
}

Point Frame::GetGlobalOrigin() const {
  Point origin;
  for (const Frame* f = this; f; f = f->mParent) {
    origin.x += Low16(f->mX);
    origin.y += Low16(f->mY);
  }
  return origin;
}

void Frame::LocalToGlobal(Rect& rect) const { OffsetRect(rect, GetGlobalOrigin()); }
void Frame::GlobalToLocal(Rect& rect) const { OffsetRectBack(rect, GetGlobalOrigin()); }
void Frame::LocalToGlobal(Point& point) const {
  const Point o = GetGlobalOrigin();
  point.x += o.x;
  point.y += o.y;
}
void Frame::GlobalToLocal(Point& point) const {
  const Point o = GetGlobalOrigin();
  point.x -= o.x;
  point.y -= o.y;
}
void Frame::ToParent(Rect& rect) const { OffsetRect(rect, Point{Low16(mX), Low16(mY)}); }

void Frame::UpdateGlobalRect() {
  mGlobalRect = mLocalRect;
  LocalToGlobal(mGlobalRect);
}

void Frame::UpdateVisibleRects() {
  Rect visible = mGlobalRect;
  for (const Frame* a = mParent; a; a = a->mParent) IntersectRect(visible, a->mGlobalRect);
  GlobalToLocal(visible);
  mVisibleRect = visible;
  for (Frame* child : mChildren) child->UpdateVisibleRects();
}

void Frame::UpdateEffectiveVisibility() {
  const bool effective = mVisible && (!mParent || mParent->mEffectivelyVisible);
  if (effective != mEffectivelyVisible) {
    mEffectivelyVisible = effective;
    UpdateExclusionRect();
    EffectiveVisibilityChanged();
  }
  // By index: a hook may change the list.
  for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->UpdateEffectiveVisibility();
}

void Frame::UpdateExclusionRect() {
  const std::int32_t priority = GetExclusionPriority();
  if (priority == 0) return;
  DrawContext* context = mRoot->GetWindowContext();
  if (mEffectivelyVisible) {
    if (context) context->AddExclusionRect(this, mGlobalRect, priority);
    mRoot->AddModalFrame(this);
  } else {
    if (context) context->RemoveExclusionRect(this);
    mRoot->RemoveModalFrame(this);
  }
}

void Frame::ForEachDescendant(void (Frame::*step)()) {
  for (size_t i = 0; i < mChildren.size(); ++i) {
    Frame* child = mChildren[i];
    (child->*step)();
    child->ForEachDescendant(step);
  }
}

void Frame::SetVisible(bool on, bool noInvalidate) {
  mVisible = on;
  if (mCursorSet && mMouseOver && mDrawContext) {
    if (on)
      mDrawContext->SetCursor(mCursorId);
    else
      mDrawContext->RestoreCursor();
  }
  if (!noInvalidate) Invalidate();
  UpdateEffectiveVisibility();
}

bool Frame::IsVisible() const { return mVisible; }

void Frame::SetEnabled(bool on) {
  mEnabled = on;
  for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->SetEnabled(on);
  Redraw(nullptr, true);
}

std::int32_t Frame::GetId() const { return mId; }

void Frame::SetCursor(std::int16_t cursorId, bool force) {
  mCursorId = cursorId;
  mCursorSet = true;
  if (mActive && (mMouseOver || force) && mDrawContext) mDrawContext->SetCursor(cursorId);
}

bool Frame::RestoreCursor() {
  const bool restored = mMouseOver && mCursorSet && mDrawContext;
  if (restored) mDrawContext->RestoreCursor();
  mCursorSet = false;
  return restored;
}

void Frame::Draw(DrawContext&, const Rect&) {}
void Frame::Mouse(std::int32_t, std::int32_t, std::int32_t) {}
void Frame::ActiveChanged(bool) {}
void Frame::Resized() {}
void Frame::WillMove() {}
void Frame::Moved() {}
void Frame::AfterBlit() {}
void Frame::EffectiveVisibilityChanged() {}

void Frame::SetActive(bool on) {
  mActive = on;
  ActiveChanged(on);
  if (mFlags & kInvalidateOnActive) Invalidate();
  for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->SetActive(on);
}

Frame* Frame::FindFrameAt(std::int32_t x, std::int32_t y, bool visibleOnly) {
  if (!PointInsideRect(mGlobalRect, Point{x, y}) || (visibleOnly && !IsVisible())) return nullptr;
  for (Frame* child : mChildren)
    if (Frame* hit = child->FindFrameAt(x, y, true)) return hit;
  return this;
}

void Frame::ProcessMouseEvent(const MouseEvent& event) {
  std::int32_t code = event.kind;
  if (event.kind == kMouseEnter) {
    mMouseOver = true;
    if (!mEnabled) return;
    if (mActive && mCursorSet && mVisible && mDrawContext) mDrawContext->SetCursor(mCursorId);
  } else if (event.kind == kMouseLeave) {
    mMouseOver = false;
    if (mCursorSet && mVisible && mDrawContext) mDrawContext->RestoreCursor();
  }
  if (mEnabled) {
    const FrameWatch watch(*this);
    Mouse(event.kind, event.x, event.y);
    if (watch.IsGone()) return;
    if (event.kind < kMouseDown || event.kind > kMouseMove) code = kMouseOther;
  } else {
    if (event.kind != kMouseDown) return;
    code = kMouseDownDisabled;
  }
  Point point{event.x, event.y};
  if (mMsgClass) mRoot->GetMessagingServer().Send(mMsgClass, code, 0, &point);
}

void Frame::CaptureMouse() {
  try {
    mRoot->WillCaptureMouse(this);
    mRoot->CaptureMouse(this);
  } catch (...) {
    try {
      mRoot->WillReleaseMouse(this);
    } catch (...) {
      // A failed capture request is dropped, and so is the failure of undoing it.
    }
  }
}

void Frame::ReleaseMouse() {
  if (mRoot->GetMouseCaptureFrame() != this) return;
  mRoot->WillReleaseMouse(this);
  mRoot->ReleaseMouse();
}

std::unique_ptr<FrameOverlay> Frame::SetOverlay(std::unique_ptr<FrameOverlay> overlay) {
  std::unique_ptr<FrameOverlay> old = std::move(mOverlay);
  Redraw(nullptr, true);
  mOverlay = std::move(overlay);
  Redraw(nullptr, true);
  return old;
}

std::unique_ptr<FrameOverlay> Frame::TakeOverlay() {
  if (!mOverlay) return nullptr;
  std::unique_ptr<FrameOverlay> old = std::move(mOverlay);
  Redraw(nullptr, true);
  return old;
}

Rect Frame::GetTextBox(const char* text, bool redraw) {
  Rect box;
  {
    // Measured on the window, never in the back buffer.
    const ScopedValue<std::uint32_t> unbuffered(mFlags, mFlags & ~std::uint32_t(kBuffered));
    const DrawBracket bracket(*this, mLocalRect);
    if (mDrawContext) box = mDrawContext->GetTextBox(mLocalRect, text);
  }
  if (redraw) Redraw(&box, kLocalRect);
  return box;
}

FrameWatch::FrameWatch(Frame& frame) : mFrame(&frame), mOuter(frame.mWatch) { frame.mWatch = this; }

FrameWatch::~FrameWatch() {
  if (mFrame) mFrame->mWatch = mOuter;
}
