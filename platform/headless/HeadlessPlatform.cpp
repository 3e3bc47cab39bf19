#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <cstddef>
#include <utility>

class HeadlessChooser final : public FileChooser {
 public:
  explicit HeadlessChooser(HeadlessPlatform& platform) : mPlatform(platform) {}

  bool Begin(const FileChooserRequest& request, FileChosen done) override {
    if (IsRunning()) return false;
    mPlatform.mRequests.push_back(request);
    mDone = std::move(done);
    mAnswered = !mPlatform.mAnswers.empty();
    if (mAnswered) {
      mAnswer = std::move(mPlatform.mAnswers.front());
      mPlatform.mAnswers.pop_front();
    }
    return true;
  }
  void Poll() override {
    if (!IsRunning() || !mAnswered) return;
    const FileChosen done = std::move(mDone);
    mDone = nullptr;
    done(mAnswer);
  }
  void Cancel() override { mDone = nullptr; }
  bool IsRunning() const override { return static_cast<bool>(mDone); }

 private:
  HeadlessPlatform& mPlatform;
  FileChosen mDone;
  bool mAnswered = false;
  std::optional<std::string> mAnswer;
};

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, std::uint64_t parent, std::int32_t width,
                               std::int32_t height)
    : mPlatform(platform),
      mParent(parent),
      mWidth(width),
      mHeight(height),
      mScreen(static_cast<size_t>(width) * static_cast<size_t>(height), 0) {
  mPlatform.mWindow = this;
}

HeadlessWindow::~HeadlessWindow() {
  ShutDown();
  if (mPlatform.mWindow == this) mPlatform.mWindow = nullptr;
}

void HeadlessWindow::Queue(WindowEvent event) {
  event.time = mTime++;
  mQueue.push_back({Scripted::kEvent, event});
}

void HeadlessWindow::Press(std::int32_t x, std::int32_t y, MouseButton button, std::uint32_t modifiers) {
  WindowEvent event;
  event.kind = WindowEvent::Kind::kMouseDown;
  event.x = x;
  event.y = y;
  event.button = button;
  event.modifiers = modifiers | mButtons;
  mButtons |= ButtonModifier(button);
  Queue(event);
}

void HeadlessWindow::Release(std::int32_t x, std::int32_t y, MouseButton button, std::uint32_t modifiers) {
  WindowEvent event;
  event.kind = WindowEvent::Kind::kMouseUp;
  event.x = x;
  event.y = y;
  event.button = button;
  event.modifiers = modifiers | mButtons;
  mButtons &= ~ButtonModifier(button);
  Queue(event);
}

void HeadlessWindow::LoseRelease(MouseButton button) { mButtons &= ~ButtonModifier(button); }

void HeadlessWindow::Move(std::int32_t x, std::int32_t y) {
  WindowEvent event;
  event.kind = WindowEvent::Kind::kMouseMove;
  event.x = x;
  event.y = y;
  event.modifiers = mButtons;
  Queue(event);
}

void HeadlessWindow::Key(EditKey key, std::uint8_t character) {
  WindowEvent event;
  event.kind = WindowEvent::Kind::kKey;
  event.key = key;
  event.character = character;
  Queue(event);
}

void HeadlessWindow::Type(const std::string& text) {
  for (char c : text) Key(EditKey::kCharacter, static_cast<std::uint8_t>(c));
}

void HeadlessWindow::Expose(const PixelRect& area) {
  WindowEvent event;
  event.kind = WindowEvent::Kind::kExpose;
  event.area = area;
  Queue(event);
}

void HeadlessWindow::Focus(bool in) {
  WindowEvent event;
  event.kind = in ? WindowEvent::Kind::kFocusIn : WindowEvent::Kind::kFocusOut;
  Queue(event);
}

void HeadlessWindow::Destroy() {
  WindowEvent event;
  event.kind = WindowEvent::Kind::kDestroyed;
  Queue(event);
}

void HeadlessWindow::PumpEvents(WindowEventSink& sink) {
  while (!mQueue.empty()) {
    const Input input = mQueue.front();
    mQueue.pop_front();
    switch (input.what) {
      case Scripted::kEvent:
        Dispatch(input.event, sink);
        break;
      case Scripted::kStealFocus:
        if (mEditFocused) {
          mEditFocused = false;
          EditFocusLost();
        }
        break;
      case Scripted::kGrabElsewhere:
        mButtons = 0;
        LoseCapture(sink);
        break;
    }
  }
  FinishPump(sink);
}

void HeadlessWindow::Present(const PixelBuffer& buffer, const std::vector<PixelRect>& rects) {
  if (!IsAlive()) return;
  Upload upload;
  for (const PixelRect& rect : rects) {
    const PixelRect area =
        IntersectRects(rect, {0, 0, std::min(mWidth, buffer.width), std::min(mHeight, buffer.height)});
    if (area.IsEmpty()) continue;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      const std::uint32_t* row = &buffer.At(area.left, y);
      std::copy(row, row + area.Width(),
                mScreen.begin() + static_cast<std::ptrdiff_t>(y) * mWidth + area.left);
    }
    upload.rects.push_back(area);
    upload.pixels += static_cast<std::int64_t>(area.Width()) * area.Height();
  }
  mUploads.push_back(std::move(upload));
}

bool HeadlessWindow::OpenEditSurface(const PixelRect& frame) {
  if (mFailNextEdit) {
    mFailNextEdit = false;
    return false;
  }
  mEditFrame = frame;
  return true;
}

void HeadlessWindow::PresentEditSurface(const PixelBuffer& inside) {
  mEditPixels.assign(inside.pixels, inside.pixels + static_cast<size_t>(inside.width) * inside.height);
}

void HeadlessWindow::FocusEditSurface(std::uint32_t time) {
  mEditFocused = true;
  mEditFocusTime = time;
}

void HeadlessWindow::CloseEditSurface(bool restoreFocus) {
  if (restoreFocus && mEditFocused) ++mFocusRestores;
  mEditFocused = false;
  mEditFrame.reset();
  mEditPixels.clear();
}

std::unique_ptr<ChildWindow> HeadlessPlatform::OpenWindow(std::uint64_t parent, std::int32_t width,
                                                          std::int32_t height) {
  if (mFailNextOpen || parent == 0 || width <= 0 || height <= 0) {
    mFailNextOpen = false;
    return nullptr;
  }
  return std::make_unique<HeadlessWindow>(*this, parent, width, height);
}

std::unique_ptr<FileChooser> HeadlessPlatform::CreateChooser() {
  return std::make_unique<HeadlessChooser>(*this);
}
