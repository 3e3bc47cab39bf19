#include "toolkit/editor/PluginUIRoot.h"

#include <algorithm>
#include <climits>

#include "framework/services/MessagingServer.h"
#include "framework/services/TimerManager.h"
#include "toolkit/editor/EntryFailureTexts.h"
#include "toolkit/editor/TextEditDialogUser.h"
#include "toolkit/frames/Frame.h"

PluginUIRoot::PluginUIRoot(PluginCoreInterface* core, PluginServices* services, const Rect& editorRect)
    : PluginServicesClient(services), mCore(core), mEditorRect(editorRect) {}

PluginUIRoot::~PluginUIRoot() {
  // The tree goes first: its frames leave the lists below and the window context's exclusions.
  mRootFrame.reset();
  mWindowContext.reset();
}

void PluginUIRoot::CapturedMouseMove(Point point) {
  if (mCaptureFrame) {
    mCaptureFrame->GlobalToLocal(point);
    mCaptureFrame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseMove, point.x, point.y});
  }
  ProcessTimersAndMessages();
}

void PluginUIRoot::CapturedMouseUp(Point point) {
  if (!mCaptureFrame) return;
  Frame* frame = mCaptureFrame;
  frame->GlobalToLocal(point);
  frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, point.x, point.y});
  mCaptureFrame = nullptr;
}

void PluginUIRoot::CapturedIdle() { ProcessTimersAndMessages(); }

Frame* PluginUIRoot::GetRootFrame() const { return mRootFrame.get(); }
bool PluginUIRoot::IsActive() const { return mActive; }
bool PluginUIRoot::IsOpen() const { return mOpen; }
Rect PluginUIRoot::GetEditorRect() const { return mEditorRect; }
Point PluginUIRoot::GetRootFrameOrigin() const { return Point{0, 0}; }

void PluginUIRoot::ProcessTimersAndMessages() {
  if (IsSuspended()) return;
  GetTimerManager().ProcessTimers();
  GetMessagingServer().DeliverPostedMessages();
}

void PluginUIRoot::CaptureMouse(Frame* frame) { mCaptureFrame = frame; }

void PluginUIRoot::ReleaseMouse() {
  if (!mCaptureFrame) return;
  if (mWindowContext) mWindowContext->ClearMouseCapturer();
  mCaptureFrame = nullptr;
}

Frame* PluginUIRoot::GetMouseCaptureFrame() const { return mCaptureFrame; }

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
  if (!mOpen || !mRootFrame) return;
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
  if (!flush || mInFlush) return;
  try {
    Flush();
  } catch (...) {
    CloseDrawingScope();
    throw;
  }
}

void PluginUIRoot::CloseDrawingScope() {
  if (mDrawingScopeCount > 0) --mDrawingScopeCount;
}

void PluginUIRoot::Flush() {
  // Both lists keep their capacity and trade places, so once both have grown to the set's size a
  // flush allocates nothing.
  mFlushing.clear();
  if (mFlushing.capacity() < mUpdateSet.capacity()) mFlushing.reserve(mUpdateSet.capacity());
  mFlushing.swap(mUpdateSet);
  mInFlush = true;
  size_t next = 0;
  try {
    for (; next < mFlushing.size(); ++next) {
      Frame* frame = mFlushing[next];
      if (!frame) continue;
      mFlushing[next] = nullptr;
      frame->Redraw(nullptr, true);
    }
  } catch (...) {
    // The frame that failed is dropped, so a failing draw cannot repeat at every scope; the
    // frames after it wait for the next one.
    mInFlush = false;
    for (++next; next < mFlushing.size(); ++next)
      if (mFlushing[next]) AddToUpdateSet(mFlushing[next]);
    mFlushing.clear();
    throw;
  }
  mInFlush = false;
  mFlushing.clear();
}

PluginUIRoot::SuspendScope::SuspendScope(PluginUIRoot& root) : mRoot(root) {
  if (mRoot.mSuspendCount < INT32_MAX) ++mRoot.mSuspendCount;
}

PluginUIRoot::SuspendScope::~SuspendScope() {
  if (mRoot.mSuspendCount > 0) --mRoot.mSuspendCount;
}

// The update set.

namespace {
bool IsAncestorOrSelf(const Frame* ancestor, const Frame* frame) {
  for (; frame; frame = frame->GetParent())
    if (frame == ancestor) return true;
  return false;
}
}  // namespace

void PluginUIRoot::AddToUpdateSet(Frame* frame) {
  for (const Frame* waiting : mUpdateSet)
    if (IsAncestorOrSelf(waiting, frame)) return;
  mUpdateSet.erase(std::remove_if(mUpdateSet.begin(), mUpdateSet.end(),
                                  [frame](const Frame* waiting) { return IsAncestorOrSelf(frame, waiting); }),
                   mUpdateSet.end());
  mUpdateSet.push_back(frame);
}

void PluginUIRoot::RemoveFromUpdateSet(Frame* frame) {
  mUpdateSet.erase(std::remove(mUpdateSet.begin(), mUpdateSet.end(), frame), mUpdateSet.end());
  std::replace(mFlushing.begin(), mFlushing.end(), frame, static_cast<Frame*>(nullptr));
}

void PluginUIRoot::ClearUpdateSet() { mUpdateSet.clear(); }

// Back buffer and images.

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

OGWorld* PluginUIRoot::AcquirePixMap(std::int32_t bitmapId) {
  auto found = mPixMaps.find(bitmapId);
  if (found == mPixMaps.end()) {
    found = mPixMaps.emplace(bitmapId, PixMapEntry{}).first;
    try {
      found->second.world = CreatePixMapFromResource(bitmapId);
    } catch (...) {
      mPixMaps.erase(found);
      throw;
    }
  }
  ++found->second.count;
  return found->second.world.get();
}

void PluginUIRoot::ReleasePixMap(const OGWorld* world) {
  for (auto entry = mPixMaps.begin(); entry != mPixMaps.end(); ++entry) {
    if (entry->second.world.get() != world) continue;
    if (--entry->second.count <= 0) mPixMaps.erase(entry);
    return;
  }
}

// Modal frames.

void PluginUIRoot::AddModalFrame(Frame* frame) {
  if (std::find(mModalFrames.begin(), mModalFrames.end(), frame) == mModalFrames.end())
    mModalFrames.push_back(frame);
}

void PluginUIRoot::RemoveModalFrame(Frame* frame) {
  mModalFrames.erase(std::remove(mModalFrames.begin(), mModalFrames.end(), frame), mModalFrames.end());
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
