// The editor root's session: opening and closing, the mouse, idle and the page.
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginCoreInterface.h"
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

}  // namespace

std::unique_ptr<DrawContext> PluginUIRoot::CreateWindowContext() { return nullptr; }
std::int64_t PluginUIRoot::GetTick() const { return Clock::GetTimerTick(); }

Point PluginUIRoot::GetMousePosition() const {
  return mWindowContext ? mWindowContext->GetMousePosition() : Point{-1, -1};
}

bool PluginUIRoot::OpenEditor() {
  if (IsOpen()) return true;
  SetEditorThread();
  try {
    std::optional<AudioGate::Scope> busy;
    if (mCore) busy.emplace(mCore->MarkBusy());
    mHighlights.Reset();
    if (mCore) mCore->SetUIRoot(this);
    mWindowContext = CreateWindowContext();
    if (!mWindowContext) throw std::runtime_error("no window");
    mRootFrame.reset(new Frame(this, GetRootFrameOrigin().x, GetRootFrameOrigin().y, RectWidth(mEditorRect),
                               RectHeight(mEditorRect), 0, FourCC('m', 's', 't', 'r')));
    mRootFrame->SetVisible(false, Frame::kNoInvalidate);
    if (mCore) ShowPage(mCore->CreateEditorFrame(this));
    mRootFrame->SetVisible(true, Frame::kThenInvalidate);
    mRootFrame->SetActive(true);
    mActive = true;
    mErrors.SetOpen(true);
    mUpdateSet.Clear();
    return true;
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootOpen);
  }
  // Nothing of a failed open stays behind.
  mPage = mAboutPage = nullptr;
  mMouse.SetCapture(nullptr);
  mMouse.SetOver(nullptr);
  mRootFrame.reset();
  mUpdateSet.Clear();
  mWindowContext.reset();
  if (mCore) mCore->SetUIRoot(nullptr);
  return false;
}

void PluginUIRoot::CloseEditor() {
  if (!IsOpen()) return;
  // Reports queued until now go to message boxes; later ones find the editor closed.
  mErrors.SetOpen(false);
  ShowQueuedErrors(false);
  try {
    mMouse.SetCapture(nullptr);
    mMouse.SetOver(nullptr);
    mPage = mAboutPage = nullptr;
    mRootFrame.reset();
    mUpdateSet.Clear();
    mWindowContext.reset();
    mHighlights.Reset();
  } catch (...) {
    // Swallowed: the core must still forget its root, and the host expects nothing back.
  }
  if (mCore) mCore->SetUIRoot(nullptr);
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
  if (target == mMouse.Over()) {
    if (!target || !((target->GetFlags() & Frame::kHoverMoves) || target == mMouse.Capture())) return;
    Point local{x, y};
    target->GlobalToLocal(local);
    target->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseMove, local.x, local.y});
    return;
  }
  if (Frame* old = mMouse.Over()) {
    mMouse.SetOver(nullptr);
    old->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseLeave, -1, -1});
  }
  mMouse.SetOver(target);
  if (!target) return;
  Point local{x, y};
  target->GlobalToLocal(local);
  target->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseEnter, local.x, local.y});
}

bool PluginUIRoot::ShowError(const char* message, const char* detail, std::int32_t code, std::int32_t type) {
  // Another thread touches nothing of the tree: its report waits for the editor's next idle.
  if (std::this_thread::get_id() != mEditorThread.load()) {
    return mErrors.Push(message, detail, code, type, [this] { WillQueueReport(); });
  }
  if (!IsOpen() || !mRootFrame) return false;
  try {
    new ErrorFrame(this, message, detail, code, type);
    return true;
  } catch (...) {
    return false;  // the report goes to a message box instead
  }
}

void PluginUIRoot::ShowQueuedErrors(bool inPanels) {
  for (const ErrorQueue::Report& e : mErrors.TakeAll()) {
    if (!inPanels || !ShowError(e.Message(), e.Detail(), e.code, e.type)) {
      ShowErrorMessageBox(mCore, e.Message(), e.Detail(), e.code, e.type);
    }
  }
}

void PluginUIRoot::MouseDown(std::int32_t x, std::int32_t y) {
  if (!IsOpen() || IsSuspended()) return;
  if (Frame* frame = mMouse.TakeCapture()) frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, 0, 0});
  const std::int64_t tick = GetTick();
  mDoubleClick = mHavePressed && tick - mLastPressTick < kDoubleClickTicks &&
                 std::abs(x - mLastPressX) <= kDoubleClickDistance &&
                 std::abs(y - mLastPressY) <= kDoubleClickDistance;
  mHavePressed = true;
  mLastPressTick = tick;
  mLastPressX = x;
  mLastPressY = y;
  Frame* target =
      !mMouse.Modal().empty() ? mMouse.TopModal() : mRootFrame->FindFrameAt(x, y, Frame::kVisibleOnly);
  if (target) {
    UpdateMouseOver(target, x, y);
    Point local{x, y};
    target->GlobalToLocal(local);
    target->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, local.x, local.y});
  }
  if (mMouse.Capture() && mWindowContext) mWindowContext->SetMouseCapturer(this);
}

void PluginUIRoot::MouseHover() {}

void PluginUIRoot::TrackHover() {
  if (IsSuspended() || !mRootFrame) return;
  const Point position = GetMousePosition();
  if ((position.x == mLastPressX && position.y == mLastPressY) ||
      (position.x == mLastHoverX && position.y == mLastHoverY)) {
    return;
  }
  Frame* target = !mMouse.Modal().empty()
                      ? mMouse.TopModal()
                      : mRootFrame->FindFrameAt(position.x, position.y, Frame::kVisibleOnly);
  UpdateMouseOver(target, position.x, position.y);
  mLastHoverX = position.x;
  mLastHoverY = position.y;
}

void PluginUIRoot::Idle() {
  if (!IsOpen() || IsSuspended() || !mPainted) return;
  try {
    if (mCore) mCore->DispatchParameterChanges();
    ShowQueuedErrors(true);
    if (!mMouse.Capture() && mRootFrame && mRootFrame->IsActive()) TrackHover();
    GetTimerManager().ProcessTimers();
    GetMessagingServer().DeliverPostedMessages();
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootIdle);
  }
}

void PluginUIRoot::SetActive(bool on) {
  if (!IsOpen() || IsSuspended() || !mRootFrame) return;
  try {
    mActive = on;
    mRootFrame->SetActive(on);
    if (!on && mWindowContext) mWindowContext->RestoreCursor();
    if (Frame* frame = mMouse.TakeCapture())
      frame->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseUp, 0, 0});
  } catch (...) {
    ReportCaughtFailure(mCore, EntryFailureTexts::kRootActivate);
  }
}
