// What each editor entry tells the user when something inside it fails: a lack of memory and any
// other failure, driven through the VST editor on the headless platform. Without a core the
// report goes to the message box, which writes to standard error without a display.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/core/ErrorReporting.h"
#include "framework/services/PluginServices.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/StderrCapture.h"
#include "tests/toolkit/support/FakeEditorHost.h"
#include "toolkit/editor/VSTEditor.h"
#include "toolkit/frames/Frame.h"

namespace {

enum class Hook { kDraw, kPress, kEnter, kActiveChange };

// Throws from one of its hooks once armed: bad_alloc or any other failure.
class FailingFrame : public Frame {
 public:
  FailingFrame(Frame* parent, Rect at)
      : Frame(parent, at.left, at.top, RectWidth(at), RectHeight(at), 0, 0) {}

  void Arm(Hook hook, bool outOfMemory) {
    mArmed = true;
    mHook = hook;
    mOutOfMemory = outOfMemory;
  }
  void Draw(DrawContext& context, const Rect& area) override {
    Fail(Hook::kDraw);
    context.SetForeColor(Color{0, 0xFFFF, 0});
    context.FillRect(area);
  }
  void Mouse(std::int32_t kind, std::int32_t, std::int32_t) override {
    if (kind == kMouseDown) Fail(Hook::kPress);
    if (kind == kMouseEnter) Fail(Hook::kEnter);
  }
  void ActiveChanged(bool) override { Fail(Hook::kActiveChange); }

 private:
  void Fail(Hook hook) {
    if (!mArmed || hook != mHook) return;
    mArmed = false;
    if (mOutOfMemory) throw std::bad_alloc();
    throw std::runtime_error("failing frame");
  }

  bool mArmed{false};
  Hook mHook{Hook::kDraw};
  bool mOutOfMemory{false};
};

// An open, painted editor with a failing frame at (10, 10)-(60, 40).
struct OpenEditor {
  OpenEditor() {
    editor = std::make_unique<VSTEditor>(nullptr, host, nullptr, &services, platform, 200, 100);
    EXPECT_TRUE(editor->open(reinterpret_cast<void*>(0x2A)));
    window = platform.Window();
    frame = new FailingFrame(editor->GetRootFrame(), Rect{10, 10, 60, 40});
    window->Expose({0, 0, 200, 100});
    editor->idle();
  }

  FakeEditorHost host;
  PluginServices services;
  HeadlessPlatform platform;
  std::unique_ptr<VSTEditor> editor;
  HeadlessWindow* window{nullptr};
  FailingFrame* frame{nullptr};
};

// The root alone, whose window context cannot be made.
class RootWithoutWindow : public PluginUIRoot {
 public:
  RootWithoutWindow(PluginServices& services, bool outOfMemory)
      : PluginUIRoot(nullptr, &services, Rect{0, 0, 200, 100}), mOutOfMemory(outOfMemory) {}
  bool PlatformQuery() const override { return false; }

 protected:
  std::unique_ptr<DrawContext> CreateWindowContext() override {
    if (mOutOfMemory) throw std::bad_alloc();
    throw std::runtime_error("no window");
  }

 private:
  bool mOutOfMemory{false};
};

struct Texts {
  const char* message;
  const char* detail;
};

struct EntryCase {
  const char* entry;
  std::function<void(OpenEditor&, bool outOfMemory)> fail;
  Texts outOfMemory;
  Texts other;
};

constexpr const char* kNoMemory = "There is insufficient memory available.";

std::string MessageBoxText(const Texts& texts) {
  return "Quillmore: : " + ErrorMessageBody(texts.message, texts.detail, 0) + "\n";
}

TEST(EditorEntryFailure, EachEntryReportsItsOwnTextsForALackOfMemoryAndForAnyOtherFailure) {
  unsetenv("DISPLAY");
  const std::vector<EntryCase> cases = {
      {"press",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kPress, oom);
         e.window->Press(20, 20);
         e.editor->idle();
       },
       {"Cannot open editor window.", kNoMemory},
       {"An unknown error occurred.", ""}},
      {"idle's drawing",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kDraw, oom);
         e.frame->Invalidate();
         e.editor->idle();
       },
       {"An unknown error has occurred.", ""},
       {"An unknown error has occurred.", ""}},
      {"activation's drawing",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kDraw, oom);
         e.frame->Invalidate();
         e.editor->HandleActivate();
       },
       {"An unknown error occurred.", ""},
       {"An unknown error occurred.", ""}},
      {"deactivation's drawing",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kDraw, oom);
         e.frame->Invalidate();
         e.editor->HandleDeactivate();
       },
       {"Cannot open editor window.", kNoMemory},
       {"An unknown error has occurred.", ""}},
      {"root's paint",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kDraw, oom);
         e.window->Expose({0, 0, 5, 5});
         e.editor->idle();
       },
       {"Cannot open editor window.", kNoMemory},
       {"An unknown error occurred.", ""}},
      {"root's idle",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kEnter, oom);
         e.window->Move(20, 20);
         e.editor->idle();
       },
       {"An unknown error occurred.", kNoMemory},
       {"An unknown error occurred.", ""}},
      {"root's activation",
       [](OpenEditor& e, bool oom) {
         e.frame->Arm(Hook::kActiveChange, oom);
         e.editor->HandleDeactivate();
       },
       {"An error occurred.", kNoMemory},
       {"An unknown error has occurred.", ""}},
  };
  for (const EntryCase& c : cases) {
    for (const bool oom : {true, false}) {
      SCOPED_TRACE(std::string(c.entry) + (oom ? ", out of memory" : ", other failure"));
      OpenEditor e;
      StderrCapture capture;
      c.fail(e, oom);
      EXPECT_EQ(capture.Text(), MessageBoxText(oom ? c.outOfMemory : c.other));
      // The editor stays usable: its next idle reports nothing.
      StderrCapture after;
      e.editor->idle();
      EXPECT_EQ(after.Text(), "");
    }
  }
}

TEST(EditorEntryFailure, AnOpenThatFailsReportsItsTextsAndLeavesTheEditorClosed) {
  unsetenv("DISPLAY");
  for (const bool oom : {true, false}) {
    SCOPED_TRACE(oom ? "out of memory" : "other failure");
    PluginServices services;
    RootWithoutWindow root(services, oom);
    StderrCapture capture;
    EXPECT_FALSE(root.OpenEditor());
    EXPECT_EQ(capture.Text(),
              MessageBoxText(oom ? Texts{"Cannot open editor window.", kNoMemory}
                                 : Texts{"Cannot open editor window.", "An unknown error has occurred."}));
    EXPECT_FALSE(root.IsOpen());
    EXPECT_EQ(root.GetRootFrame(), nullptr);
  }
  // The VST editor's open in a window that cannot be made.
  FakeEditorHost host;
  PluginServices services;
  HeadlessPlatform platform;
  VSTEditor editor(nullptr, host, nullptr, &services, platform, 200, 100);
  platform.FailNextOpen();
  StderrCapture capture;
  EXPECT_FALSE(editor.open(reinterpret_cast<void*>(0x2A)));
  EXPECT_EQ(capture.Text(),
            MessageBoxText(Texts{"Cannot open editor window.", "An unknown error has occurred."}));
  EXPECT_FALSE(editor.IsOpen());
}

}  // namespace
