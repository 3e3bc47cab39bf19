#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

class HeadlessPlatform;

// A child window without a display: tests queue input, PumpEvents delivers it with the real
// window's rules, and Present draws into a screen the test reads back.
class HeadlessWindow final : public RoutedChildWindow {
 public:
  struct Upload {
    std::vector<PixelRect> rects;
    std::int64_t pixels = 0;  // pixels copied
  };

  HeadlessWindow(HeadlessPlatform& platform, std::uint64_t parent, std::int32_t width, std::int32_t height);
  ~HeadlessWindow() override;

  void PumpEvents(WindowEventSink& sink) override;
  void Present(const PixelBuffer& buffer, const std::vector<PixelRect>& rects) override;

  // Scripted input, delivered by the next PumpEvents. Buttons held follow presses and releases.
  void Press(std::int32_t x, std::int32_t y, MouseButton button = MouseButton::kLeft,
             std::uint32_t modifiers = 0);
  void Release(std::int32_t x, std::int32_t y, MouseButton button = MouseButton::kLeft,
               std::uint32_t modifiers = 0);
  void Move(std::int32_t x, std::int32_t y);
  // The button comes up without an event reaching the window.
  void LoseRelease(MouseButton button);
  void Key(EditKey key, std::uint8_t character = 0);
  void Type(const std::string& text);  // each byte as a character key
  void Expose(const PixelRect& area);
  void Focus(bool in);
  // Another window takes the keyboard focus from the edit field; another client grabs the pointer.
  void StealEditFocus() { mQueue.push_back({Scripted::kStealFocus, {}}); }
  void GrabPointerElsewhere() { mQueue.push_back({Scripted::kGrabElsewhere, {}}); }
  void Destroy();
  void SetTime(std::uint32_t time) { mTime = time; }

  std::uint64_t Parent() const { return mParent; }
  std::int32_t Width() const { return mWidth; }
  std::int32_t Height() const { return mHeight; }
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) const {
    return mScreen[static_cast<size_t>(y) * mWidth + x];
  }
  const std::vector<Upload>& Uploads() const { return mUploads; }
  void ClearUploads() { mUploads.clear(); }

  // The edit field as the window shows it.
  std::optional<PixelRect> EditFrame() const { return mEditFrame; }
  const std::vector<std::uint32_t>& EditPixels() const { return mEditPixels; }
  bool EditHasFocus() const { return mEditFocused; }
  std::uint32_t EditFocusTime() const { return mEditFocusTime; }
  int FocusRestores() const { return mFocusRestores; }
  void FailNextEdit() { mFailNextEdit = true; }

 protected:
  bool OpenEditSurface(const PixelRect& frame) override;
  void PresentEditSurface(const PixelBuffer& inside) override;
  void FocusEditSurface(std::uint32_t time) override;
  void CloseEditSurface(bool restoreFocus) override;

 private:
  enum class Scripted { kEvent, kStealFocus, kGrabElsewhere };
  struct Input {
    Scripted what = Scripted::kEvent;
    WindowEvent event;
  };
  void Queue(WindowEvent event);

  HeadlessPlatform& mPlatform;
  std::uint64_t mParent = 0;
  std::int32_t mWidth = 0;
  std::int32_t mHeight = 0;
  std::uint32_t mTime = 1;
  std::uint32_t mButtons = 0;
  std::deque<Input> mQueue;
  std::vector<std::uint32_t> mScreen;
  std::vector<Upload> mUploads;
  std::optional<PixelRect> mEditFrame;
  std::vector<std::uint32_t> mEditPixels;
  bool mEditFocused = false;
  std::uint32_t mEditFocusTime = 0;
  int mFocusRestores = 0;
  bool mFailNextEdit = false;
};

// The platform for tests: windows as above, a chooser answering what the test scripted, recorded
// message boxes and opened documents, and a clock the test sets.
class HeadlessPlatform final : public Platform {
 public:
  struct Notice {
    std::string title;
    std::string body;
    MessageBoxIcon icon = MessageBoxIcon::kNone;
  };

  std::unique_ptr<ChildWindow> OpenWindow(std::uint64_t parent, std::int32_t width,
                                          std::int32_t height) override;
  std::unique_ptr<FileChooser> CreateChooser() override;
  void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon icon) override {
    mNotices.push_back({title, body, icon});
  }
  void OpenDocument(const std::string& path) override { mDocuments.push_back(path); }
  std::int64_t GetTimerTick() override { return mTick; }

  void SetTick(std::int64_t tick) { mTick = tick; }
  void AdvanceTicks(std::int64_t ticks) { mTick += ticks; }
  // The next OpenWindow fails, as with a bad parent.
  void FailNextOpen() { mFailNextOpen = true; }
  // The window last opened and still open, else null.
  HeadlessWindow* Window() const { return mWindow; }
  // What the next dialog answers at the Poll after it began; nothing is a cancel. Unscripted
  // dialogs stay up until Cancel.
  void ScriptChooserAnswer(std::optional<std::string> path) { mAnswers.push_back(std::move(path)); }
  // The requests the dialogs were begun with.
  const std::vector<FileChooserRequest>& ChooserRequests() const { return mRequests; }
  const std::vector<Notice>& Notices() const { return mNotices; }
  const std::vector<std::string>& Documents() const { return mDocuments; }
  // Forgets the requests, notices and documents recorded so far, so a long run does not grow.
  void ClearRecords() {
    mRequests.clear();
    mNotices.clear();
    mDocuments.clear();
  }

 private:
  friend class HeadlessWindow;
  friend class HeadlessChooser;

  std::int64_t mTick = 0;
  bool mFailNextOpen = false;
  HeadlessWindow* mWindow = nullptr;
  std::deque<std::optional<std::string>> mAnswers;
  std::vector<FileChooserRequest> mRequests;
  std::vector<Notice> mNotices;
  std::vector<std::string> mDocuments;
};
