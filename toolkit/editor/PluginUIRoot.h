#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/PluginUIRootInterface.h"
#include "framework/services/PluginServicesClient.h"
#include "toolkit/drawing/DrawContext.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/FrameOverlay.h"

class Frame;
class PluginCoreInterface;
class PluginServices;
class TextEditDialogUser;

// The editor's root object, one per plug-in instance: owns the frame tree while the editor is
// open, keeps the set of frames waiting for a redraw and the drawing scope in which frames may
// draw, the back buffer, the images of the library's bitmaps shared by id, the modal-frame list
// and the mouse capture. Editor thread only: the thread inside the current (or last) editor entry,
// which holds the instance mutex; ShowError and IsOpen may be called from any thread.
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
  // A page that goes while shown is no longer the page.
  void ForgetPage(Frame* frame) noexcept {
    if (mPage == frame) mPage = nullptr;
    if (mAboutPage == frame) mAboutPage = nullptr;
  }

  // Parameter highlights (PluginUIRootHighlights.cpp). A frame bound to a parameter (by its
  // four-character id; an unknown id binds nothing) shows the parameter's highlight: a
  // ParameterHiliteAwareFrame shows it itself, any other frame gets an overlay. A frame keeps its
  // first binding's mode; a destroyed frame is unbound.
  void BindFrameToParameter(Frame* frame, std::int32_t parameterId, std::int32_t mode);
  // parameterId -1: every parameter.
  void UnbindFrameFromParameter(Frame* frame, std::int32_t parameterId);
  // A frame that goes leaves every highlight list.
  void ForgetParameterBindings(Frame* frame) noexcept;
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
  void AddToUpdateSet(Frame* frame);
  void RemoveFromUpdateSet(Frame* frame);
  const std::vector<Frame*>& GetUpdateSet() const { return mUpdateSet; }

  // Grows the back buffer (never shrinks it) so that the buffered frame fits.
  void EnsureBackBuffer(const Frame& frame);
  OGWorld* GetBackBuffer() const { return mBackBuffer.get(); }

  // The image of a bitmap, shared by every holder of its id until the last one releases it.
  OGWorld* AcquirePixMap(std::int32_t bitmapId);
  void ReleasePixMap(const OGWorld* world);

  void AddModalFrame(Frame* frame);
  void RemoveModalFrame(Frame* frame);
  const std::vector<Frame*>& GetModalFrames() const { return mModalFrames; }

  Frame* GetMouseOverFrame() const { return mMouseOverFrame; }
  void ForgetMouseOverFrame() { mMouseOverFrame = nullptr; }

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
  void SetOpen(bool open) { mOpen = open; }
  // The calling thread is the editor's from now on: an entry that holds the instance mutex.
  void SetEditorThread() { mEditorThread.store(std::this_thread::get_id()); }
  // Between deciding to queue another thread's report and queueing it; a seam for tests.
  virtual void WillQueueReport() {}
  void SetActiveFlag(bool active) { mActive = active; }
  void SetMouseOverFrame(Frame* frame) { mMouseOverFrame = frame; }
  // Tests stand in for a second press.
  void SetDoubleClick(bool on) { mDoubleClick = on; }
  void ForgetCaptureFrame() { mCaptureFrame = nullptr; }
  void ClearUpdateSet();

 private:
  struct PixMapEntry {
    std::unique_ptr<OGWorld> world{};
    std::int32_t count{0};
  };

  void OpenDrawingScope(bool flush);
  void CloseDrawingScope();
  void Flush();

  PluginCoreInterface* mCore{nullptr};
  Rect mEditorRect{};
  Frame* mMouseOverFrame{nullptr};
  std::unique_ptr<Frame> mRootFrame{};
  bool mActive{false};
  std::atomic<bool> mOpen{false};  // read by reports from any thread
  std::unique_ptr<DrawContext> mWindowContext{};
  Frame* mCaptureFrame{nullptr};
  std::unique_ptr<OGWorld> mBackBuffer{};
  std::int32_t mDrawingScopeCount{0};
  std::vector<Frame*> mUpdateSet{};
  std::vector<Frame*> mFlushing{};  // the frames a flush still has to redraw; null once gone
  bool mInFlush{false};
  std::vector<Frame*> mModalFrames{};
  std::map<std::int32_t, PixMapEntry> mPixMaps{};
  bool mPainted{false};
  std::int32_t mSuspendCount{0};

  // Parameter highlights: per parameter index, and per frame the indices it is bound to.
  struct ParameterHighlight {
    bool on{false};
    std::int32_t type{0};
    std::vector<std::pair<Frame*, std::int32_t>> frames{};  // with their modes
  };
  void ResetParameterHighlights();
  std::vector<ParameterHighlight> mHighlights{};
  std::map<Frame*, std::vector<std::int32_t>> mFrameBindings{};

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

  // Reports from threads other than the editor's, shown at the next idle.
  struct QueuedError {
    std::string message;
    std::string detail;
    bool hasMessage{false};
    bool hasDetail{false};
    std::int32_t code{0};
    std::int32_t type{0};
  };
  void ShowQueuedErrors(bool inPanels);
  std::atomic<std::thread::id> mEditorThread{};
  // Guards the queue, and the open flag's changes, so no report is queued after the closing drain.
  std::mutex mQueuedErrorsMutex{};
  std::vector<QueuedError> mQueuedErrors{};
};
