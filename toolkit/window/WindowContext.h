#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/drawing/RasterContext.h"
#include "toolkit/window/SettingsFileDialogs.h"

// What the window's events become: the VST editor's entries. Editor thread.
class WindowEventHandler {
 public:
  // The window needs its pixels again.
  virtual void HandlePaint() = 0;
  virtual void HandleMouseDown(std::int32_t x, std::int32_t y) = 0;
  // A move or release while no frame holds the capture.
  virtual void HandleMouseMove(Point point) = 0;
  virtual void HandleMouseUp(Point point) = 0;

 protected:
  ~WindowEventHandler() = default;
};

// The drawing context of the editor's child window: frames draw into the window's own pixels, and
// what they drew (the clips they drew in) is presented after each entry. Turns the window's
// events into the handler's entries or the capturer's drags, and keeps the modifier state, the
// edit field and the file dialog of the window. Editor thread only.
class WindowContext : public RasterContext, private WindowEventSink {
 public:
  // Throws AppFrame::ResAlloc when the window cannot be made. core: for reports of the dialogs.
  WindowContext(Platform& platform, std::uint64_t parent, const Rect& editorRect, WindowEventHandler& handler,
                PluginCoreInterface* core);
  ~WindowContext() override;

  // Delivers the window's events; never blocks.
  void PumpEvents();
  // Shows what was drawn since the last call and differs from what the window shows; after an
  // expose, the whole window.
  void PresentDamage();
  // The pixels presented since the window opened, for tests and figures.
  std::int64_t PresentedPixels() const { return mPresentedPixels; }
  bool IsWindowAlive() const { return mWindow->IsAlive(); }
  MouseCapturer* GetMouseCapturer() const { return mCapturer; }
  // Ends a drag now, as a release at the pointer's last position would, and forgets the capture.
  void EndCapture();

  // The in-place edit field over rect; done gets the text, or nothing when cancelled. A running
  // edit ends (cancelled) first.
  bool BeginTextEdit(const Rect& rect, const std::string& text,
                     std::function<void(const std::optional<std::string>&)> done);
  // A frame's edit request: the proxy lives until the edit ends and hears how it ended; an edit
  // that cannot start ends as cancelled at once.
  void BeginTextEdit(const Rect& rect, const std::string& text,
                     std::unique_ptr<TextEditDialogUserProxy> proxy) override;
  bool IsTextEditActive() const { return mWindow->IsTextEditActive(); }
  SettingsFileDialogs& GetSettingsFileDialogs() { return *mDialogs; }
  // For what else the editor asks of the system (documents to open).
  Platform& GetPlatform() const { return mPlatform; }

  Rect GetBounds() const override { return mEditorRect; }
  Point GetMousePosition() const override;
  bool IsControlKeyDown() const override;
  bool IsShiftKeyDown() const override;
  bool IsControlShiftDown() const override;
  void SetMouseCapturer(MouseCapturer* capturer) override { mCapturer = capturer; }
  void ClearMouseCapturer() override { mCapturer = nullptr; }
  // The whole window is painted again at the next pump.
  void InvalidateRect(const Rect& rect) override;
  void SetClipRect(const Rect& rect) override;
  void SetClipRegion(const Region& region) override;

 private:
  void OnWindowEvent(const WindowEvent& event) override;
  void Damage(const Rect& device);

  Platform& mPlatform;
  Rect mEditorRect{};
  WindowEventHandler& mHandler;
  std::vector<std::uint32_t> mPixels{};
  // What the window was last sent, to compare what frames drew again against.
  std::vector<std::uint32_t> mShown{};
  // The window shows nothing of ours yet, or lost it.
  bool mExposed{true};
  std::unique_ptr<ChildWindow> mWindow{};
  std::unique_ptr<FileChooser> mChooser{};
  std::unique_ptr<SettingsFileDialogs> mDialogs{};
  std::unique_ptr<EditFieldRenderer> mEditRenderer{};
  MouseCapturer* mCapturer{nullptr};
  bool mRightButtonDown{false};
  bool mPaintRequested{false};
  std::vector<PixelRect> mDamage{};
  std::int64_t mPresentedPixels{0};
};
