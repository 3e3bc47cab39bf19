// The editor root's session: opening and closing, the mouse, idle and the page.
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginCore.h"
#include "framework/services/FourCC.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/TimerManager.h"
#include "platform/Clock.h"
#include "toolkit/editor/EntryFailureTexts.h"
#include "toolkit/editor/ErrorFrame.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Frame.h"

namespace {

constexpr std::int64_t kDoubleClickTicks = 15;
constexpr std::int32_t kDoubleClickDistance = 4;

PluginCore* ConcreteCore(PluginCoreInterface* core) { return dynamic_cast<PluginCore*>(core); }

// The modal frame on top: the highest exclusion priority, the newest among equals.
Frame* TopModalFrame(const std::vector<Frame*>& modal) {
  Frame* top = nullptr;
  for (Frame* frame : modal) {
    if (!top || frame->GetExclusionPriority() >= top->GetExclusionPriority()) top = frame;
  }
  return top;
}

}  // namespace

std::unique_ptr<DrawContext> PluginUIRoot::CreateWindowContext() { return nullptr; }
std::int64_t PluginUIRoot::GetTick() const { return Clock::GetTimerTick(); }

Point PluginUIRoot::GetMousePosition() const {
  return mWindowContext ? mWindowContext->GetMousePosition() : Point{-1, -1};
}

bool PluginUIRoot::OpenEditor() {
  if (mOpen) return true;
  SetEditorThread();
  PluginCore* core = ConcreteCore(mCore);
  try {
    std::optional<AudioGate::Scope> busy;
    if (core) busy.emplace(core->GetAudioGate().Busy());
    ResetParameterHighlights();
    if (core) core->SetUIRoot(this);
    mWindowContext = CreateWindowContext();
    if (!mWindowContext) throw std::runtime_error("no window");
    mRootFrame.reset(new Frame(this, GetRootFrameOrigin().x, GetRootFrameOrigin().y, RectWidth(mEditorRect),
                               RectHeight(mEditorRect), 0, FourCC('m', 's', 't', 'r')));
    mRootFrame->SetVisible(false, Frame::kNoInvalidate);
    if (mCore) ShowPage(mCore->CreateEditorFrame(this));
    mRootFrame->SetVisible(true, Frame::kThenInvalidate);
    mRootFrame->SetActive(true);
    mActive = true;
    {
      std::lock_guard<std::mutex> lock(mQueuedErrorsMutex);
      mOpen = true;
    }
    mUpdateSet.clear();
    return true;
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootOpen);
  }
  // Nothing of a failed open stays behind.
  mPage = mAboutPage = nullptr;
  mCaptureFrame = mMouseOverFrame = nullptr;
  mRootFrame.reset();
  mUpdateSet.clear();
  mWindowContext.reset();
  if (core) core->SetUIRoot(nullptr);
  return false;
}

void PluginUIRoot::CloseEditor() {
  if (!mOpen) return;
  {
    // Reports queued until now go to message boxes; later ones find the editor closed.
    std::lock_guard<std::mutex> lock(mQueuedErrorsMutex);
    mOpen = false;
  }
  ShowQueuedErrors(false);
  try {
    mCaptureFrame = nullptr;
    mMouseOverFrame = nullptr;
    mPage = mAboutPage = nullptr;
    mRootFrame.reset();
    mUpdateSet.clear();
    mWindowContext.reset();
    ResetParameterHighlights();
  } catch (...) {
    // Swallowed: the core must still forget its root, and the host expects nothing back.
  }
  if (PluginCore* core = ConcreteCore(mCore)) core->SetUIRoot(nullptr);
}

void PluginUIRoot::ShowPage(Frame* frame) {
  if (!frame) return;  // nothing to show keeps what is shown
  if (mPage && mPage != frame) mPage->SetVisible(false, Frame::kNoInvalidate);
  mPage = frame;
  mPage->SetVisible(true, Frame::kNoInvalidate);
  mPage->Redraw(nullptr, true);
}

void PluginUIRoot::ShowAboutPage() {
  if (!mAboutPage && mCore) mAboutPage = mCore->CreateAboutFrame(this);
  ShowPage(mAboutPage);
}

void PluginUIRoot::UpdateMouseOver(Frame* target, std::int32_t x, std::int32_t y) {
  if (target == mMouseOverFrame) {
    if (!target || !((target->GetFlags() & Frame::kHoverMoves) || target == mCaptureFrame)) return;
    Point local{x, y};
    target->GlobalToLocal(local);
    target->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseMove, local.x, local.y});
    return;
  }
  if (Frame* old = mMouseOverFrame) {
    mMouseOverFrame = nullptr;
    old->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseLeave, -1, -1});
  }
  mMouseOverFrame = target;
  if (!target) return;
  Point local{x, y};
  target->GlobalToLocal(local);
  target->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseEnter, local.x, local.y});
}

bool PluginUIRoot::ShowError(const char* message, const char* detail, std::int32_t code, std::int32_t type) {
  // Another thread touches nothing of the tree: its report waits for the editor's next idle.
  if (std::this_thread::get_id() != mEditorThread.load()) {
    std::lock_guard<std::mutex> lock(mQueuedErrorsMutex);
    if (!mOpen) return false;
    WillQueueReport();
    mQueuedErrors.push_back(QueuedError{message ? message : "", detail ? detail : "", message != nullptr,
                                        detail != nullptr, code, type});
    return true;
  }
  if (!mOpen || !mRootFrame) return false;
  try {
    new ErrorFrame(this, message, detail, code, type);
    return true;
  } catch (...) {
    return false;  // the report goes to a message box instead
  }
}

void PluginUIRoot::ShowQueuedErrors(bool inPanels) {
  std::vector<QueuedError> queued;
  {
    std::lock_guard<std::mutex> lock(mQueuedErrorsMutex);
    queued.swap(mQueuedErrors);
  }
  for (const QueuedError& e : queued) {
    const char* message = e.hasMessage ? e.message.c_str() : nullptr;
    const char* detail = e.hasDetail ? e.detail.c_str() : nullptr;
    if (!inPanels || !ShowError(message, detail, e.code, e.type)) {
      ShowErrorMessageBox(mCore, message, detail, e.code, e.type);
    }
  }
}

void PluginUIRoot::MouseDown(std::int32_t x, std::int32_t y) {
  if (!mOpen || IsSuspended()) return;
  if (mCaptureFrame) {
    Frame* frame = mCaptureFrame;
    mCaptureFrame = nullptr;
    frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, 0, 0});
  }
  const std::int64_t tick = GetTick();
  mDoubleClick = mHavePressed && tick - mLastPressTick < kDoubleClickTicks &&
                 std::abs(x - mLastPressX) <= kDoubleClickDistance &&
                 std::abs(y - mLastPressY) <= kDoubleClickDistance;
  mHavePressed = true;
  mLastPressTick = tick;
  mLastPressX = x;
  mLastPressY = y;
  Frame* target = !mModalFrames.empty() ? TopModalFrame(mModalFrames)
                                        : mRootFrame->FindFrameAt(x, y, Frame::kVisibleOnly);
  if (target) {
    UpdateMouseOver(target, x, y);
    Point local{x, y};
    target->GlobalToLocal(local);
    target->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, local.x, local.y});
  }
  if (mCaptureFrame && mWindowContext) mWindowContext->SetMouseCapturer(this);
}

void PluginUIRoot::MouseHover() {}

void PluginUIRoot::TrackHover() {
  if (IsSuspended() || !mRootFrame) return;
  const Point position = GetMousePosition();
  if ((position.x == mLastPressX && position.y == mLastPressY) ||
      (position.x == mLastHoverX && position.y == mLastHoverY)) {
    return;
  }
  Frame* target = !mModalFrames.empty()
                      ? TopModalFrame(mModalFrames)
                      : mRootFrame->FindFrameAt(position.x, position.y, Frame::kVisibleOnly);
  UpdateMouseOver(target, position.x, position.y);
  mLastHoverX = position.x;
  mLastHoverY = position.y;
}

void PluginUIRoot::Idle() {
  if (!mOpen || IsSuspended() || !mPainted) return;
  try {
    if (PluginCore* core = ConcreteCore(mCore)) core->DispatchParameterChanges();
    ShowQueuedErrors(true);
    if (!mCaptureFrame && mRootFrame && mRootFrame->IsActive()) TrackHover();
    GetTimerManager().ProcessTimers();
    GetMessagingServer().DeliverPostedMessages();
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootIdle);
  }
}

void PluginUIRoot::SetActive(bool on) {
  if (!mOpen || IsSuspended() || !mRootFrame) return;
  try {
    mActive = on;
    mRootFrame->SetActive(on);
    if (!on && mWindowContext) mWindowContext->RestoreCursor();
    if (Frame* frame = mCaptureFrame) {
      mCaptureFrame = nullptr;
      frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, 0, 0});
    }
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootActivate);
  }
}
