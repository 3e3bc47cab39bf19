#include "toolkit/editor/VSTEditor.h"

#include "framework/core/PluginCoreInterface.h"
#include "toolkit/editor/EntryFailureTexts.h"
#include "vst2/HostQuirks.h"

namespace {

std::int16_t Clamp16(std::int32_t value) {
  return static_cast<std::int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

}  // namespace

VSTEditor::VSTEditor(AudioEffect* effect, EditorHost& host, PluginCoreInterface* core,
                     PluginServices* services, Platform& platform, std::int32_t width, std::int32_t height)
    : PluginUIRoot(core, services, Rect{0, 0, width, height}),
      AEffEditor(effect),
      mHost(host),
      mPlatform(platform) {
  const char* product = core ? core->GetHostProductString() : nullptr;
  mIdleHost = HostQuirks::TakesIdleRequests(product ? product : "");
}

VSTEditor::~VSTEditor() { close(); }

VSTEditor::EntryLock::EntryLock(VSTEditor& editor) : mEditor(editor) {
  mHeld = mEditor.mHost.LockMutex(EditorHost::kWaitForIt);
  if (mHeld) mEditor.SetEditorThread();
}

VSTEditor::EntryLock::~EntryLock() {
  if (mHeld) mEditor.mHost.UnlockMutex();
}

bool VSTEditor::getRect(ERect** rect) {
  if (!rect) return false;
  const Rect editor = GetEditorRect();
  mRect = ERect{Clamp16(editor.top), Clamp16(editor.left), Clamp16(editor.bottom), Clamp16(editor.right)};
  *rect = &mRect;
  return true;
}

bool VSTEditor::open(void* parentWindow) {
  EntryLock lock(*this);
  if (!lock.Held()) return false;
  try {
    mParent = reinterpret_cast<std::uintptr_t>(parentWindow);
    mSystemWindow = parentWindow;
    if (!OpenEditor()) {
      mSystemWindow = nullptr;
      return false;
    }
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kOpen);
    return false;
  }
  return true;
}

std::unique_ptr<DrawContext> VSTEditor::CreateWindowContext() {
  WindowEventHandler& handler = *this;
  return std::make_unique<WindowContext>(mPlatform, mParent, GetEditorRect(), handler, GetCore());
}

void VSTEditor::close() {
  // Waits for any other thread's entry or drag to end, then always runs to the end. A drag of
  // another thread ends at that thread's next idle rather than at the user's release.
  mClosesWaiting.fetch_add(1);
  EntryLock lock(*this);
  mClosesWaiting.fetch_sub(1);
  if (!IsOpen()) return;
  try {
    // The drag's level of the mutex goes with the editor; the entry's own is released last, which
    // applies a program change that found the mutex busy.
    const bool ownDrag = mDragThread.load() == std::this_thread::get_id();
    CloseEditor();
    mSystemWindow = nullptr;
    if (ownDrag) EndDrag();
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kClose);
  }
}

void VSTEditor::Present() {
  if (WindowContext* window = GetWindow()) window->PresentDamage();
}

bool VSTEditor::DragOfAnotherThread() const {
  const std::thread::id drag = mDragThread.load();
  return drag != std::thread::id() && drag != std::this_thread::get_id();
}

void VSTEditor::idle() {
  // Another thread's drag keeps the mutex until that thread's idle sees the release: this idle
  // is skipped rather than wait for the user.
  if (DragOfAnotherThread()) return;
  EntryLock lock(*this);
  // A host that answers audioMasterIdle with effEditIdle finds the idle already running.
  if (!lock.Held() || mInIdle || !IsOpen()) return;
  mInIdle = true;
  try {
    GetWindow()->PumpEvents();
    if (!IsOpen()) {
      mInIdle = false;
      return;
    }
    // A close waits on another thread: the drag ends now, as if released where the pointer is.
    if (mClosesWaiting.load() > 0 && mDragThread.load() == std::this_thread::get_id()) {
      GetWindow()->EndCapture();
    }
    if (GetMouseCaptureFrame()) {
      CapturedIdle();
    } else {
      // A capture given up without a release (its frame disabled, hidden or gone) ends the drag here.
      EndDrag();
      {
        DrawingScope scope(*this, IsPainted());
        Idle();
        // What the timers and messages invalidated is drawn now, not one idle later.
        if (IsPainted() && !GetUpdateSet().empty()) DrawingScope flush(*this, true);
      }
      Present();
    }
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kIdle);
  }
  mInIdle = false;
}

void VSTEditor::HandlePaint() {
  EntryLock lock(*this);
  if (!lock.Held()) return;
  try {
    DrawingScope scope(*this, false);
    DrawRect(GetEditorRect());  // the whole editor, whatever the window asked for
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kPaint);
  }
  Present();
}

void VSTEditor::HandleMouseDown(std::int32_t x, std::int32_t y) {
  EntryLock lock(*this);
  if (!lock.Held() || !IsOpen() || DragHoldsMutex()) return;
  // The drag's own level of the mutex, kept past this entry when a frame takes the capture.
  if (!mHost.LockMutex(EditorHost::kWaitForIt)) return;
  mDragThread.store(std::this_thread::get_id());
  try {
    DrawingScope scope(*this, true);
    MouseDown(x, y);
    // Only a press that gave a frame the capture keeps the mutex until its release.
    if (!GetMouseCaptureFrame()) EndDrag();
  } catch (...) {
    EndDrag();
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kMouseDown);
  }
  Present();
}

void VSTEditor::EndDrag() {
  if (mDragThread.load() != std::this_thread::get_id()) return;
  mDragThread.store(std::thread::id());
  mHost.UnlockMutex();
}

void VSTEditor::HandleMouseMove(Point point) {
  EntryLock lock(*this);
  // Timers and messages, not before the first paint.
  if (!lock.Held() || !IsOpen() || !IsPainted()) return;
  {
    DrawingScope scope(*this, true);
    PluginUIRoot::CapturedMouseMove(point);
  }
  Present();
}

void VSTEditor::HandleMouseUp(Point point) { CapturedMouseUp(point); }

void VSTEditor::HandleActivate() {
  EntryLock lock(*this);
  if (!lock.Held() || !IsOpen()) return;
  try {
    DrawingScope scope(*this, IsPainted());
    SetActive(true);
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kActivate);
  }
  Present();
}

void VSTEditor::HandleDeactivate() {
  EntryLock lock(*this);
  if (!lock.Held() || !IsOpen()) return;
  try {
    DrawingScope scope(*this, true);
    SetActive(false);
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kDeactivate);
  }
  Present();
}

void VSTEditor::CapturedMouseMove(Point point) {
  {
    DrawingScope scope(*this, true);
    PluginUIRoot::CapturedMouseMove(point);
  }
  Present();
}

void VSTEditor::CapturedMouseUp(Point point) {
  {
    DrawingScope scope(*this, true);
    PluginUIRoot::CapturedMouseUp(point);
  }
  // Only the lock a press kept: a release after a press that kept nothing frees nobody's.
  EndDrag();
  Present();
}

void VSTEditor::CapturedIdle() {
  {
    DrawingScope scope(*this, true);
    ProcessTimersAndMessages();
  }
  Present();
  if (mIdleHost && !mInHostIdle) {
    mInHostIdle = true;
    mHost.HostIdle();
    mInHostIdle = false;
  }
}
