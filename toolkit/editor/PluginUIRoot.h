#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/PluginUIRootInterface.h"
#include "framework/services/PluginServicesClient.h"
#include "toolkit/drawing/DrawContext.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/ErrorQueue.h"
#include "toolkit/editor/HighlightBindings.h"
#include "toolkit/editor/MouseTargets.h"
#include "toolkit/editor/PixMapCache.h"
#include "toolkit/editor/UpdateSet.h"
#include "toolkit/frames/FrameOverlay.h"

class Frame;
class PluginCoreInterface;
class PluginServices;
class TextEditDialogUser;

// The editor's root object, one per plug-in instance: owns the frame tree while the editor is
// open, the drawing scope in which frames may draw and the back buffer, and the session (opening,
// closing, the mouse, idle, the page). Its other jobs are small parts it owns: the update set, the
// bitmap cache, the mouse targets (modal frames, capture, hover), the parameter highlights and the
// queue of other threads' reports. Editor thread only: the thread inside the current (or last)
// editor entry, which holds the instance mutex; ShowError and IsOpen may be called from any thread.
class PluginUIRoot : public PluginUIRootInterface,
                     public PluginServicesClient,
                     public DrawContext::MouseCapturer {
 public:
  // Frames may draw only while a scope is open. A flush scope first redraws the frames that wait
  // when it opens, one at a time; what those draws invalidate waits for the next scope.
  class DrawingScope {
   public:
    DrawingScope(PluginUIRoot& root, bool flush);
    ~DrawingScope();
    DrawingScope(const DrawingScope&) = delete;
    DrawingScope& operator=(const DrawingScope&) = delete;

   private:
    PluginUIRoot& mRoot;
  };

  // While one exists, mouse, drawing, activation and idle are ignored.
  class SuspendScope {
   public:
    explicit SuspendScope(PluginUIRoot& root);
    ~SuspendScope();
    SuspendScope(const SuspendScope&) = delete;
    SuspendScope& operator=(const SuspendScope&) = delete;

   private:
    PluginUIRoot& mRoot;
  };

  // services: the instance's timers and messages (frames publish on message classes).
  PluginUIRoot(PluginCoreInterface* core, PluginServices* services, const Rect& editorRect);
  ~PluginUIRoot() override;
  PluginUIRoot(const PluginUIRoot&) = delete;
  PluginUIRoot& operator=(const PluginUIRoot&) = delete;

  void CapturedMouseMove(Point point) override;
  void CapturedMouseUp(Point point) override;
  void CapturedIdle() override;

  virtual Frame* GetRootFrame() const;
  virtual bool IsActive() const;
  bool IsOpen() const override;
  // Shows the failure as an error panel; from another thread the report waits for the next
  // idle, or for the message box when the editor closes first. False when the editor is closed
  // or no panel can be made: the caller's message box shows it then.
  bool ShowError(const char* message, const char* detail, std::int32_t code, std::int32_t type) override;
  virtual Rect GetEditorRect() const;
  virtual Point GetRootFrameOrigin() const;
  virtual void ProcessTimersAndMessages();
  virtual void CaptureMouse(Frame* frame);
  virtual void ReleaseMouse();
  virtual Frame* GetMouseCaptureFrame() const;
  // An in-place edit of the text over the rect (window coordinates), reported to the user through
  // a proxy that the window context owns; nothing without a window context.
  virtual void BeginTextEdit(const Rect& rect, const std::string& text, TextEditDialogUser* user);
  // A yes/no question to the platform part; nothing in the toolkit asks it.
  virtual bool PlatformQuery() const = 0;
  virtual std::unique_ptr<OGWorld> CreatePixMapFromResource(std::int32_t bitmapId);
  virtual std::unique_ptr<OGWorld> CreateOffscreenWorld(const Rect& rect);
  // The window needs painting: redraws the root frame over the rect (in a drawing scope).
  virtual void DrawRect(const Rect& rect);
  virtual void WillCaptureMouse(Frame* frame);
  virtual void WillReleaseMouse(Frame* frame);

  // The editor's session (PluginUIRootSession.cpp). Opening builds the window context, the root
  // frame and the product's page; closing takes them down. Failures are reported, never thrown.
  virtual bool OpenEditor();
  virtual void CloseEditor();
  // A press in window coordinates: double clicks, modal frames first, the capture afterwards.
  virtual void MouseDown(std::int32_t x, std::int32_t y);
  virtual void MouseHover();
  // The core's parameter changes, hover tracking, timers and posted messages; nothing before
  // the first paint.
  virtual void Idle();
  virtual void SetActive(bool on);
  virtual void ShowPage(Frame* frame);
  virtual void ShowAboutPage();
  virtual Point GetMousePosition() const;
  Frame* GetPage() const { return mPage; }

  // A frame that goes: it leaves every part and stops being the page; a capture it holds is
  // released through the hooks.
  void ForgetFrame(Frame* frame) noexcept;

  // Parameter highlights (HighlightBindings.h says how they show); a destroyed frame is unbound.
  void BindFrameToParameter(Frame* frame, std::int32_t parameterId, std::int32_t mode);
  // parameterId -1: every parameter.
  void UnbindFrameFromParameter(Frame* frame, std::int32_t parameterId);
  // An index out of range is ignored.
  void SetParameterHighlight(std::int32_t index, bool on, std::int32_t type);
  virtual std::unique_ptr<FrameOverlay> CreateParameterHighlighter(std::int32_t index, std::int32_t type,
                                                                   std::int32_t mode);
  bool IsDoubleClick() const { return mDoubleClick; }

  PluginCoreInterface* GetCore() const { return mCore; }
  DrawContext* GetWindowContext() const { return mWindowContext.get(); }
  bool IsSuspended() const { return mSuspendCount > 0; }
  bool IsPainted() const { return mPainted; }
  std::int32_t GetDrawingScopeCount() const { return mDrawingScopeCount; }

  // Nothing when the frame or an ancestor waits already; otherwise it waits instead of its
  // descendants.
  void AddToUpdateSet(Frame* frame) { mUpdateSet.Add(frame); }
  const std::vector<Frame*>& GetUpdateSet() const { return mUpdateSet.Frames(); }

  // Grows the back buffer (never shrinks it) so that the buffered frame fits.
  void EnsureBackBuffer(const Frame& frame);
  OGWorld* GetBackBuffer() const { return mBackBuffer.get(); }

  // The image of a bitmap, shared by every holder of its id until the last one releases it.
  OGWorld* AcquirePixMap(std::int32_t bitmapId) { return mPixMaps.Acquire(bitmapId); }
  void ReleasePixMap(const OGWorld* world) { mPixMaps.Release(world); }

  void AddModalFrame(Frame* frame) { mMouse.AddModal(frame); }
  void RemoveModalFrame(Frame* frame) { mMouse.RemoveModal(frame); }
  const std::vector<Frame*>& GetModalFrames() const { return mMouse.Modal(); }

  Frame* GetMouseOverFrame() const { return mMouse.Over(); }

  bool IsControlKeyDown() const;
  bool IsShiftKeyDown() const;
  bool IsControlShiftDown() const;
  bool IsExtraModifierDown() const;

 protected:
  // The platform parts: the window context of an opening editor (null: the open fails) and the
  // clock in ticks.
  virtual std::unique_ptr<DrawContext> CreateWindowContext();
  virtual std::int64_t GetTick() const;

  // Opening and closing the editor sets these.
  void SetWindowContext(std::unique_ptr<DrawContext> context);
  void SetRootFrame(std::unique_ptr<Frame> frame);
  std::unique_ptr<Frame> TakeRootFrame();
  void SetOpen(bool open) { mErrors.SetOpen(open); }
  // The calling thread is the editor's from now on: an entry that holds the instance mutex.
  void SetEditorThread() { mEditorThread.store(std::this_thread::get_id()); }
  // Between deciding to queue another thread's report and queueing it; a seam for tests.
  virtual void WillQueueReport() {}
  void SetActiveFlag(bool active) { mActive = active; }
  void ClearUpdateSet() { mUpdateSet.Clear(); }

 private:
  void OpenDrawingScope(bool flush);
  void CloseDrawingScope();

  PluginCoreInterface* mCore{nullptr};
  Rect mEditorRect{};
  std::unique_ptr<Frame> mRootFrame{};
  bool mActive{false};
  std::unique_ptr<DrawContext> mWindowContext{};
  std::unique_ptr<OGWorld> mBackBuffer{};
  std::int32_t mDrawingScopeCount{0};
  bool mPainted{false};
  std::int32_t mSuspendCount{0};

  UpdateSet mUpdateSet{};
  PixMapCache mPixMaps{[this](std::int32_t bitmapId) { return CreatePixMapFromResource(bitmapId); }};
  MouseTargets mMouse{};
  HighlightBindings mHighlights{[this](std::int32_t index, std::int32_t type, std::int32_t mode) {
    return CreateParameterHighlighter(index, type, mode);
  }};
  ErrorQueue mErrors{};  // also holds the open flag

  // The session.
  void UpdateMouseOver(Frame* target, std::int32_t x, std::int32_t y);
  void TrackHover();
  Frame* mPage{nullptr};
  Frame* mAboutPage{nullptr};
  std::int64_t mLastPressTick{0};
  std::int32_t mLastPressX{0};
  std::int32_t mLastPressY{0};
  bool mHavePressed{false};
  std::int32_t mLastHoverX{-1};
  std::int32_t mLastHoverY{-1};
  bool mDoubleClick{false};

  // Other threads' reports, shown at the next idle: in panels, or in message boxes when closing.
  void ShowQueuedErrors(bool inPanels);
  std::atomic<std::thread::id> mEditorThread{};
};
