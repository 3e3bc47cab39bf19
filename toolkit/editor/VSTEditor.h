#pragma once

#include <cstdint>
#include <memory>

#include "platform/Platform.h"
#include "toolkit/editor/EditorHost.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/window/WindowContext.h"
#include "vst2/AEffEditor.h"

// The plug-in's editor as a VST 2 host sees it: effEditGetRect, effEditOpen with the host's
// window in ptr, effEditIdle and effEditClose reach the editor root through it. Holds the
// instance mutex around every entry, and from a press that gives a frame the capture until its
// release. effEditIdle is the window's timer: it pumps the window's events, then runs the root.
// Lives on the host's user-interface thread.
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

  WindowContext* GetWindow() const { return static_cast<WindowContext*>(GetWindowContext()); }
  bool DragHoldsMutex() const { return mDragHoldsMutex; }

 protected:
  std::unique_ptr<DrawContext> CreateWindowContext() override;
  std::int64_t GetTick() const override { return mPlatform.GetTimerTick(); }

 private:
  // Holds the instance mutex for one entry, unless a drag holds it already.
  class EntryLock {
   public:
    explicit EntryLock(VSTEditor& editor);
    ~EntryLock();
    EntryLock(const EntryLock&) = delete;
    EntryLock& operator=(const EntryLock&) = delete;
    bool Held() const { return mHeld; }

   private:
    VSTEditor& mEditor;
    bool mTaken{false};
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
  bool mDragHoldsMutex{false};
  bool mInIdle{false};
  bool mInHostIdle{false};
  std::uint64_t mParent{0};
};
