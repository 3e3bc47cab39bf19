#include "toolkit/editor/PluginUIRoot.h"

#include <climits>

#include "framework/services/MessagingServer.h"
#include "framework/services/TimerManager.h"
#include "toolkit/editor/EntryFailureTexts.h"
#include "toolkit/editor/ParameterHighlights.h"
#include "toolkit/editor/TextEditDialogUser.h"
#include "toolkit/frames/Frame.h"

PluginUIRoot::PluginUIRoot(PluginCoreInterface* core, PluginServices* services, const Rect& editorRect)
    : PluginServicesClient(services), mCore(core), mEditorRect(editorRect) {}

PluginUIRoot::~PluginUIRoot() {
  // The tree goes first: its frames leave the parts and the window context's exclusions.
  mRootFrame.reset();
  mWindowContext.reset();
}

void PluginUIRoot::CapturedMouseMove(Point point) {
  if (Frame* frame = mMouse.Capture()) {
    frame->GlobalToLocal(point);
    frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseMove, point.x, point.y});
  }
  ProcessTimersAndMessages();
}

void PluginUIRoot::CapturedMouseUp(Point point) {
  Frame* frame = mMouse.Capture();
  if (!frame) return;
  frame->GlobalToLocal(point);
  frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, point.x, point.y});
  mMouse.SetCapture(nullptr);
}

void PluginUIRoot::CapturedIdle() { ProcessTimersAndMessages(); }

Frame* PluginUIRoot::GetRootFrame() const { return mRootFrame.get(); }
bool PluginUIRoot::IsActive() const { return mActive; }
bool PluginUIRoot::IsOpen() const { return mErrors.IsOpen(); }
Rect PluginUIRoot::GetEditorRect() const { return mEditorRect; }
Point PluginUIRoot::GetRootFrameOrigin() const { return Point{0, 0}; }

void PluginUIRoot::ProcessTimersAndMessages() {
  if (IsSuspended()) return;
  GetTimerManager().ProcessTimers();
  GetMessagingServer().DeliverPostedMessages();
}

void PluginUIRoot::CaptureMouse(Frame* frame) { mMouse.SetCapture(frame); }

void PluginUIRoot::ReleaseMouse() {
  if (!mMouse.Capture()) return;
  if (mWindowContext) mWindowContext->ClearMouseCapturer();
  mMouse.SetCapture(nullptr);
}

Frame* PluginUIRoot::GetMouseCaptureFrame() const { return mMouse.Capture(); }

void PluginUIRoot::BeginTextEdit(const Rect& rect, const std::string& text, TextEditDialogUser* user) {
  if (!mWindowContext) return;
  mWindowContext->BeginTextEdit(rect, text, std::make_unique<TextEditDialogUserProxy>(user));
}
void PluginUIRoot::WillCaptureMouse(Frame*) {}
void PluginUIRoot::WillReleaseMouse(Frame*) {}

std::unique_ptr<OGWorld> PluginUIRoot::CreatePixMapFromResource(std::int32_t bitmapId) {
  return std::make_unique<OGWorld>(bitmapId);
}

std::unique_ptr<OGWorld> PluginUIRoot::CreateOffscreenWorld(const Rect& rect) {
  return std::make_unique<OGWorld>(rect);
}

void PluginUIRoot::DrawRect(const Rect& rect) {
  if (!IsOpen() || !mRootFrame) return;
  if (IsSuspended()) {
    mRootFrame->Invalidate();
    return;
  }
  try {
    mPainted = true;
    mRootFrame->Redraw(&rect, Frame::kLocalRect);
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootDraw);
  }
}

// Drawing scopes.

PluginUIRoot::DrawingScope::DrawingScope(PluginUIRoot& root, bool flush) : mRoot(root) {
  mRoot.OpenDrawingScope(flush);
}

PluginUIRoot::DrawingScope::~DrawingScope() { mRoot.CloseDrawingScope(); }

void PluginUIRoot::OpenDrawingScope(bool flush) {
  if (mDrawingScopeCount < INT32_MAX) ++mDrawingScopeCount;
  if (!flush || mUpdateSet.IsRedrawing()) return;
  try {
    mUpdateSet.RedrawAll();
  } catch (...) {
    CloseDrawingScope();
    throw;
  }
}

void PluginUIRoot::CloseDrawingScope() {
  if (mDrawingScopeCount > 0) --mDrawingScopeCount;
}

PluginUIRoot::SuspendScope::SuspendScope(PluginUIRoot& root) : mRoot(root) {
  if (mRoot.mSuspendCount < INT32_MAX) ++mRoot.mSuspendCount;
}

PluginUIRoot::SuspendScope::~SuspendScope() {
  if (mRoot.mSuspendCount > 0) --mRoot.mSuspendCount;
}

// The back buffer.

void PluginUIRoot::EnsureBackBuffer(const Frame& frame) {
  if (!mBackBuffer) {
    mBackBuffer = CreateOffscreenWorld(frame.GetLocalRect());
    return;
  }
  Rect bounds = mBackBuffer->GetBounds();
  const bool wider = frame.GetWidth() > RectWidth(bounds), taller = frame.GetHeight() > RectHeight(bounds);
  if (!wider && !taller) return;
  if (wider) bounds.right = bounds.left + frame.GetWidth();
  if (taller) bounds.bottom = bounds.top + frame.GetHeight();
  mBackBuffer->Resize(bounds);
}

// Every part lets the frame go; the window's exclusions are the frame's own to leave.
void PluginUIRoot::ForgetFrame(Frame* frame) noexcept {
  mMouse.Forget(frame);
  mUpdateSet.Remove(frame);
  // A frame that goes during its drag takes the window's capture with it.
  if (mMouse.Capture() == frame) {
    try {
      WillReleaseMouse(frame);
    } catch (...) {
      // The frame is gone whatever the hook says: the capture is released all the same.
    }
    ReleaseMouse();
  }
  mHighlights.Forget(frame);
  if (mPage == frame) mPage = nullptr;
  if (mAboutPage == frame) mAboutPage = nullptr;
}

// Parameter highlights.

std::unique_ptr<FrameOverlay> PluginUIRoot::CreateParameterHighlighter(std::int32_t, std::int32_t type,
                                                                       std::int32_t mode) {
  return std::make_unique<DefaultParameterHighlighter>(type, mode);
}

void PluginUIRoot::BindFrameToParameter(Frame* frame, std::int32_t parameterId, std::int32_t mode) {
  mHighlights.Bind(frame, parameterId, mode);
}

void PluginUIRoot::UnbindFrameFromParameter(Frame* frame, std::int32_t parameterId) {
  mHighlights.Unbind(frame, parameterId);
}

void PluginUIRoot::SetParameterHighlight(std::int32_t index, bool on, std::int32_t type) {
  mHighlights.Set(index, on, type);
}

bool PluginUIRoot::IsControlKeyDown() const { return mWindowContext && mWindowContext->IsControlKeyDown(); }
bool PluginUIRoot::IsShiftKeyDown() const { return mWindowContext && mWindowContext->IsShiftKeyDown(); }
bool PluginUIRoot::IsControlShiftDown() const {
  return mWindowContext && mWindowContext->IsControlShiftDown();
}
bool PluginUIRoot::IsExtraModifierDown() const {
  return mWindowContext && mWindowContext->IsExtraModifierDown();
}

void PluginUIRoot::SetWindowContext(std::unique_ptr<DrawContext> context) {
  mWindowContext = std::move(context);
}
void PluginUIRoot::SetRootFrame(std::unique_ptr<Frame> frame) { mRootFrame = std::move(frame); }
std::unique_ptr<Frame> PluginUIRoot::TakeRootFrame() { return std::move(mRootFrame); }
