#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "platform/Platform.h"
#include "toolkit/editor/EditorHost.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/window/WindowContext.h"
#include "vst2/AEffEditor.h"

// The plug-in's editor as a VST 2 host sees it: effEditGetRect, effEditOpen with the host's
// window in ptr, effEditIdle and effEditClose reach the editor root through it. Every entry does
// all of its work holding the instance mutex, and a press that gives a frame the capture keeps it
// until its release (or the idle after a close began waiting on another thread). effEditIdle is the window's
// timer: it pumps the window's events (which also answers dialogs and ends in-place edits), then runs the
// root. Entries may come from any non-audio thread; the mutex serialises them, so none meets a half-opened or
// half-closed editor.
class VSTEditor : public PluginUIRoot, public AEffEditor, private WindowEventHandler {
 public:
  VSTEditor(AudioEffect* effect, EditorHost& host, PluginCoreInterface* core, PluginServices* services,
            Platform& platform, std::int32_t width, std::int32_t height);
  ~VSTEditor() override;

  bool getRect(ERect** rect) override;
  bool open(void* parentWindow) override;
  void close() override;
  void idle() override;

  void CapturedMouseMove(Point point) override;
  void CapturedMouseUp(Point point) override;
  void CapturedIdle() override;
  bool PlatformQuery() const override { return false; }

  // For a window that tells when the editor gains or loses the activation; the child window does
  // not. Losing it ends a drag.
  void HandleActivate();
  void HandleDeactivate();

  WindowContext* GetWindow() const { return static_cast<WindowContext*>(GetWindowContext()); }
  bool DragHoldsMutex() const { return mDragThread.load() != std::thread::id(); }

 protected:
  std::unique_ptr<DrawContext> CreateWindowContext() override;
  std::int64_t GetTick() const override { return mPlatform.GetTimerTick(); }

 private:
  // Holds the instance mutex for one entry (recursively, inside a drag's or an outer entry's)
  // and makes the calling thread the editor's.
  class EntryLock {
   public:
    explicit EntryLock(VSTEditor& editor);
    ~EntryLock();
    EntryLock(const EntryLock&) = delete;
    EntryLock& operator=(const EntryLock&) = delete;
    bool Held() const { return mHeld; }

   private:
    VSTEditor& mEditor;
    bool mHeld{false};
  };

  void HandlePaint() override;
  void HandleMouseDown(std::int32_t x, std::int32_t y) override;
  void HandleMouseMove(Point point) override;
  void HandleMouseUp(Point point) override;
  void Present();
  void EndDrag();
  bool DragOfAnotherThread() const;

  EditorHost& mHost;
  Platform& mPlatform;
  ERect mRect{};
  bool mIdleHost{true};
  // The thread whose press keeps the mutex until the release; none outside a drag.
  std::atomic<std::thread::id> mDragThread{};
  // Closes waiting for the mutex: the drag's thread ends its drag at its next idle for them.
  std::atomic<int> mClosesWaiting{0};
  bool mInIdle{false};      // with the mutex held only
  bool mInHostIdle{false};  // with the mutex held only
  std::uint64_t mParent{0};
};
