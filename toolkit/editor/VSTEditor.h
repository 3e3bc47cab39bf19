#pragma once

#include <cstdint>
#include <memory>

#include "platform/Platform.h"
#include "toolkit/editor/EditorHost.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/window/WindowContext.h"
#include "vst2/AEffEditor.h"

// The plug-in's editor as a VST 2 host sees it: effEditGetRect, effEditOpen with the host's
// window in ptr, effEditIdle and effEditClose reach the editor root through it. Every entry does
// all of its work holding the instance mutex, and a press that gives a frame the capture keeps it
// until its release or the close. effEditIdle is the window's timer: it pumps the window's events (which
// also answers dialogs and ends in-place edits), then runs the root. Entries may come from any non-audio
// thread; the mutex serialises them, so none meets a half-opened or half-closed editor. The drag's hold
// belongs to the editor, not to the thread that pressed: whichever thread enters next takes it over, so an
// idle on any thread reads the release and a close on any thread ends the drag.
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
  // With the mutex held.
  bool DragHoldsMutex() const { return mDragHoldsMutex; }

 protected:
  std::unique_ptr<DrawContext> CreateWindowContext() override;
  std::int64_t GetTick() const override { return mPlatform.GetTimerTick(); }

 private:
  // Holds the instance mutex for one entry (recursively, inside an outer entry's; a drag's hold
  // passes to it) and makes the calling thread the editor's.
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

  EditorHost& mHost;
  Platform& mPlatform;
  ERect mRect{};
  bool mIdleHost{true};
  bool mDragHoldsMutex{false};  // with the mutex held only
  bool mInIdle{false};          // with the mutex held only
  bool mInHostIdle{false};      // with the mutex held only
  std::uint64_t mParent{0};
};
