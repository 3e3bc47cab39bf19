#include "toolkit/window/WindowContext.h"

#include <algorithm>

#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"
#include "toolkit/drawing/RasterRegion.h"
#include "toolkit/editor/TextEditDialogUser.h"
#include "toolkit/window/ChangedArea.h"
#include "toolkit/window/EditFieldPainter.h"

namespace {

// More separate rectangles than this are presented as their union.
constexpr size_t kMaxDamageRects = 8;

bool Touch(const PixelRect& a, const PixelRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

WindowContext::WindowContext(Platform& platform, std::uint64_t parent, const Rect& editorRect,
                             WindowEventHandler& handler, PluginCoreInterface* core)
    : mPlatform(platform), mEditorRect(editorRect), mHandler(handler) {
  const std::int32_t width = RectWidth(editorRect), height = RectHeight(editorRect);
  if (width > 0 && height > 0) {
    mPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    mShown.assign(mPixels.size(), 0);
  }
  mWindow = mPlatform.OpenWindow(parent, width, height);
  if (!mWindow) throw AppFrame::ResAlloc(&ThrowSites::kChildWindow);
  SetSurface(Surface{mPixels.data(), width, height, width});
  mChooser = mPlatform.CreateChooser();
  mDialogs = std::make_unique<SettingsFileDialogs>(*mChooser, core, [this] { mPaintRequested = true; });
  mEditRenderer = std::make_unique<EditFieldPainter>();
}

WindowContext::~WindowContext() {
  // The window first: an edit it ends answers while the renderer still exists.
  mWindow.reset();
  mDialogs.reset();
  mChooser.reset();
}

void WindowContext::PumpEvents() {
  mWindow->PumpEvents(*this);
  if (mPaintRequested) {
    mPaintRequested = false;
    mHandler.HandlePaint();
  }
  mChooser->Poll();
}

void WindowContext::OnWindowEvent(const WindowEvent& event) {
  const Point point{event.x, event.y};
  switch (event.kind) {
    case WindowEvent::Kind::kExpose:
      mExposed = true;
      mPaintRequested = true;
      return;
    case WindowEvent::Kind::kMouseDown:
      if (event.button == MouseButton::kMiddle) return;
      // A right click is a click with Ctrl held.
      if (event.button == MouseButton::kRight) mRightButtonDown = true;
      mHandler.HandleMouseDown(event.x, event.y);
      return;
    case WindowEvent::Kind::kMouseMove:
      if (mCapturer) {
        mCapturer->CapturedMouseMove(point);
      } else {
        mHandler.HandleMouseMove(point);
      }
      return;
    case WindowEvent::Kind::kMouseUp:
      if (event.button == MouseButton::kMiddle) return;
      if (event.button == MouseButton::kRight) mRightButtonDown = false;
      if (MouseCapturer* capturer = mCapturer) {
        // The drag is over with its release.
        mCapturer = nullptr;
        capturer->CapturedMouseUp(point);
      } else {
        mHandler.HandleMouseUp(point);
      }
      return;
    case WindowEvent::Kind::kDestroyed:
      // No release can come any more, whichever buttons the window thought the drag had.
      EndCapture();
      return;
    case WindowEvent::Kind::kKey:
    case WindowEvent::Kind::kFocusIn:
    case WindowEvent::Kind::kFocusOut:
      return;
  }
}

void WindowContext::EndCapture() {
  mWindow->ReleaseCapture();
  if (MouseCapturer* capturer = mCapturer) {
    mCapturer = nullptr;
    capturer->CapturedMouseUp(GetMousePosition());
  }
}

void WindowContext::PresentDamage() {
  const std::int32_t width = RectWidth(mEditorRect), height = RectHeight(mEditorRect);
  const PixelBuffer now{mPixels.data(), width, height, width};
  const PixelBuffer shown{mShown.data(), width, height, width};
  if (mExposed) {
    // The server lost what it showed: all of it goes again, changed here or not.
    mDamage.assign(1, PixelRect{0, 0, width, height});
    mExposed = false;
  } else {
    // Frames redraw what may not have changed; the server is sent only what did.
    for (PixelRect& rect : mDamage) rect = ChangedArea(now, shown, rect);
  }
  mDamage.erase(
      std::remove_if(mDamage.begin(), mDamage.end(), [](const PixelRect& rect) { return rect.IsEmpty(); }),
      mDamage.end());
  if (mDamage.empty()) return;
  mWindow->Present(now, mDamage);
  for (const PixelRect& rect : mDamage) {
    CopyArea(now, shown, rect);
    mPresentedPixels += std::int64_t{rect.Width()} * rect.Height();
  }
  mDamage.clear();
}

void WindowContext::Damage(const Rect& device) {
  PixelRect rect = IntersectRects(PixelRect{device.left, device.top, device.right, device.bottom},
                                  PixelRect{0, 0, RectWidth(mEditorRect), RectHeight(mEditorRect)});
  if (rect.IsEmpty()) return;
  // Merged with every rectangle it meets, until it meets none.
  for (size_t i = 0; i < mDamage.size();) {
    if (Touch(mDamage[i], rect)) {
      rect = UniteRects(rect, mDamage[i]);
      mDamage.erase(mDamage.begin() + static_cast<std::ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  mDamage.push_back(rect);
  if (mDamage.size() > kMaxDamageRects) {
    PixelRect all;
    for (const PixelRect& r : mDamage) all = UniteRects(all, r);
    mDamage.assign(1, all);
  }
}

void WindowContext::SetClipRect(const Rect& rect) {
  RasterContext::SetClipRect(rect);
  Damage(ToDevice(rect));
}

void WindowContext::SetClipRegion(const Region& region) {
  RasterContext::SetClipRegion(region);
  if (const auto* raster = dynamic_cast<const RasterRegion*>(&region)) {
    for (const Rect& box : raster->Rects()) Damage(box);
  }
}

void WindowContext::InvalidateRect(const Rect&) { mPaintRequested = true; }

Point WindowContext::GetMousePosition() const {
  const PointerState pointer = mWindow->GetPointerState();
  return Point{static_cast<std::int16_t>(pointer.x), static_cast<std::int16_t>(pointer.y)};
}

bool WindowContext::IsControlShiftDown() const {
  const std::uint32_t modifiers = mWindow->GetPointerState().modifiers;
  return (modifiers & kModifierControl) && (modifiers & kModifierShift);
}

bool WindowContext::IsControlKeyDown() const {
  if (IsControlShiftDown()) return false;
  return (mWindow->GetPointerState().modifiers & kModifierControl) || mRightButtonDown;
}

bool WindowContext::IsShiftKeyDown() const {
  return !IsControlShiftDown() && (mWindow->GetPointerState().modifiers & kModifierShift);
}

bool WindowContext::BeginTextEdit(const Rect& rect, const std::string& text,
                                  std::function<void(const std::optional<std::string>&)> done) {
  return mWindow->BeginTextEdit(PixelRect{rect.left, rect.top, rect.right, rect.bottom}, text, *mEditRenderer,
                                std::move(done));
}

void WindowContext::BeginTextEdit(const Rect& rect, const std::string& text,
                                  std::unique_ptr<TextEditDialogUserProxy> proxy) {
  const std::shared_ptr<TextEditDialogUserProxy> user(std::move(proxy));
  const bool started = BeginTextEdit(rect, text, [user](const std::optional<std::string>& entered) {
    user->EditFinished(entered ? &*entered : nullptr);
  });
  if (!started) user->EditFinished(nullptr);
}
