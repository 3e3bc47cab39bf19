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
  if (mEditor.mDragHoldsMutex) {
    mHeld = true;
    return;
  }
  mTaken = mHeld = mEditor.mHost.LockMutex(false);
}

VSTEditor::EntryLock::~EntryLock() {
  if (mTaken) mEditor.mHost.UnlockMutex();
}

bool VSTEditor::getRect(ERect** rect) {
  if (!rect) return false;
  const Rect editor = GetEditorRect();
  mRect = ERect{Clamp16(editor.top), Clamp16(editor.left), Clamp16(editor.bottom), Clamp16(editor.right)};
  *rect = &mRect;
  return true;
}

bool VSTEditor::open(void* parentWindow) {
  try {
    EntryLock lock(*this);
    if (!lock.Held()) return false;
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
  if (!IsOpen()) return;
  try {
    // A drag's lock becomes this entry's, released once at its end.
    const bool dragLock = mDragHoldsMutex;
    mDragHoldsMutex = false;
    EntryLock lock(*this);
    CloseEditor();
    mSystemWindow = nullptr;
    if (dragLock) mHost.UnlockMutex();
  } catch (...) {
    ReportError(GetCore(), "Cannot destroy editor window.", "There is insufficient memory available.", 0,
                kErrorError);
  }
}

void VSTEditor::Present() {
  if (WindowContext* window = GetWindow()) window->PresentDamage();
}

void VSTEditor::idle() {
  // A host that answers audioMasterIdle with effEditIdle finds the idle already running.
  if (mInIdle || !IsOpen()) return;
  mInIdle = true;
  try {
    // The events first, outside the lock: a drag's release ends the drag here.
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
      EntryLock lock(*this);
      if (lock.Held()) {
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
  try {
    EntryLock lock(*this);
    if (!lock.Held()) return;
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
  if (!IsOpen() || mDragHoldsMutex) return;
  if (!mHost.LockMutex(false)) return;
  mDragHoldsMutex = true;
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
  if (!mDragHoldsMutex) return;
  mDragHoldsMutex = false;
  mHost.UnlockMutex();
}

void VSTEditor::HandleMouseMove(Point point) {
  // Timers and messages under the lock, and not before the first paint.
  if (!IsOpen() || !IsPainted()) return;
  EntryLock lock(*this);
  if (!lock.Held()) return;
  {
    DrawingScope scope(*this, true);
    PluginUIRoot::CapturedMouseMove(point);
  }
  Present();
}

void VSTEditor::HandleMouseUp(Point point) { CapturedMouseUp(point); }

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
