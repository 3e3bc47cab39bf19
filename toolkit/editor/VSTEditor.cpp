#include "toolkit/editor/VSTEditor.h"

#include <cstring>
#include <new>

#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginCoreInterface.h"

namespace {

std::int16_t Clamp16(std::int32_t value) {
  return static_cast<std::int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

void ReportEntryFailure(PluginCoreInterface* core, bool outOfMemory) {
  if (outOfMemory) {
    ReportError(core, "Cannot open editor window.", "There is insufficient memory available.", 0,
                kErrorError);
  } else {
    ReportError(core, "An unknown error occurred.", "", 0, kErrorError);
  }
}

}  // namespace

VSTEditor::VSTEditor(AudioEffect* effect, EditorHost& host, PluginCoreInterface* core,
                     PluginServices* services, Platform& platform, std::int32_t width, std::int32_t height)
    : PluginUIRoot(core, services, Rect{0, 0, width, height}),
      AEffEditor(effect),
      mHost(host),
      mPlatform(platform) {
  const char* product = core ? core->GetHostProductString() : nullptr;
  mIdleHost = !(product && std::strstr(product, "sonicWORX"));
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
    ReportError(GetCore(), "Cannot open editor window.", "There is insufficient memory available.", 0,
                kErrorError);
    return false;
  }
  return true;
}

std::unique_ptr<DrawContext> VSTEditor::CreateWindowContext() {
  WindowEventHandler& handler = *this;
  return std::make_unique<WindowContext>(mPlatform, mParent, GetEditorRect(), handler, GetCore());
}

void VSTEditor::close() {
  // Waits for any other thread's entry or drag to end, then always runs to the end.
  EntryLock lock(*this);
  if (!IsOpen()) return;
  try {
    // The drag's level of the mutex goes with the editor; the entry's own is released last, which
    // applies a program change that found the mutex busy.
    const bool ownDrag = mDragThread.load() == std::this_thread::get_id();
    CloseEditor();
    mSystemWindow = nullptr;
    if (ownDrag) EndDrag();
  } catch (...) {
    ReportError(GetCore(), "Cannot destroy editor window.", "There is insufficient memory available.", 0,
                kErrorError);
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
    ReportError(GetCore(), "An unknown error has occurred.", "", 0, kErrorError);
  }
  mInIdle = false;
}

void VSTEditor::HandlePaint() {
  EntryLock lock(*this);
  if (!lock.Held()) return;
  try {
    DrawingScope scope(*this, false);
    DrawRect(GetEditorRect());  // the whole editor, whatever the window asked for
  } catch (const std::bad_alloc&) {
    ReportEntryFailure(GetCore(), true);
  } catch (...) {
    ReportEntryFailure(GetCore(), false);
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
  } catch (const std::bad_alloc&) {
    EndDrag();
    ReportEntryFailure(GetCore(), true);
  } catch (...) {
    EndDrag();
    ReportEntryFailure(GetCore(), false);
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
    ReportEntryFailure(GetCore(), false);
  }
  Present();
}

void VSTEditor::HandleDeactivate() {
  EntryLock lock(*this);
  if (!lock.Held() || !IsOpen()) return;
  try {
    DrawingScope scope(*this, true);
    SetActive(false);
  } catch (const std::bad_alloc&) {
    ReportEntryFailure(GetCore(), true);
  } catch (...) {
    ReportError(GetCore(), "An unknown error has occurred.", "", 0, kErrorError);
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
