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
  mHeld = mEditor.mHost.LockMutexForEntry();
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
  // Waits for any other thread's entry to end, then always runs to the end. A drag ends here, as
  // if released where the pointer was last, whichever thread pressed.
  EntryLock lock(*this);
  if (!IsOpen()) return;
  try {
    if (mDragHoldsMutex) GetWindow()->EndCapture();
    CloseEditor();
    mSystemWindow = nullptr;
    // The drag's hold goes with the editor; the entry's own lock is released last, which applies
    // a program change that found the mutex busy.
    EndDrag();
  } catch (...) {
    ReportCaughtFailure(GetCore(), EntryFailureTexts::kClose);
  }
}

void VSTEditor::Present() {
  if (WindowContext* window = GetWindow()) window->PresentDamage();
}

void VSTEditor::idle() {
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
  if (!lock.Held() || !IsOpen() || mDragHoldsMutex) return;
  // The drag's hold of the mutex, kept past this entry when a frame takes the capture.
  mHost.HoldMutex(true);
  mDragHoldsMutex = true;
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
  if (!mDragHoldsMutex) return;
  mDragHoldsMutex = false;
  mHost.HoldMutex(false);
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
