// The VST editor on the headless platform: the idle's order, the mutex through a drag, presses,
// uploads and the edit field, without a display.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/services/PluginServices.h"
#include "platform/PlatformMutex.h"
#include "platform/Registry.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/StderrCapture.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/toolkit/support/FakeEditorHost.h"
#include "toolkit/editor/ErrorFrame.h"
#include "toolkit/editor/VSTEditor.h"
#include "toolkit/frames/Frame.h"

namespace {

// Logs its mouse events; capturing ones take the capture on a press.
class MouseFrame : public Frame {
 public:
  MouseFrame(Frame* parent, Rect at, bool capturing, std::vector<std::string>* log, std::uint32_t flags = 0)
      : Frame(parent, at.left, at.top, RectWidth(at), RectHeight(at), flags, 0),
        mCapturing(capturing),
        mLog(log) {}
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override {
    mLog->push_back(Name() + std::to_string(kind) + "@" + std::to_string(x) + "," + std::to_string(y));
    if (kind == kMouseDown && mCapturing) CaptureMouse();
  }
  void Draw(DrawContext& context, const Rect& area) override {
    context.SetForeColor(colour);
    context.FillRect(area);
  }
  std::string Name() const { return mCapturing ? "c" : "p"; }

  Color colour{0xFFFF, 0, 0};

 private:
  bool mCapturing{false};
  std::vector<std::string>* mLog{nullptr};
};

class VSTEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor = std::make_unique<VSTEditor>(nullptr, host, nullptr, &services, platform, 200, 100);
    Open();
  }
  void TearDown() override { editor.reset(); }

  // Opens the editor with a capturing frame and a plain one, painted once.
  void Open() {
    ASSERT_TRUE(editor->open(reinterpret_cast<void*>(0x2A)));
    window = platform.Window();
    ASSERT_NE(window, nullptr);
    capturing = new MouseFrame(editor->GetRootFrame(), Rect{10, 10, 60, 40}, true, &log);
    plain = new MouseFrame(editor->GetRootFrame(), Rect{100, 10, 150, 40}, false, &log);
    window->Expose({0, 0, 200, 100});
    editor->idle();
    log.clear();
    window->ClearUploads();
  }

  std::int64_t UploadedPixels() const {
    std::int64_t pixels = 0;
    for (const auto& upload : window->Uploads()) pixels += upload.pixels;
    return pixels;
  }

  FakeEditorHost host;
  PluginServices services;
  HeadlessPlatform platform;
  std::unique_ptr<VSTEditor> editor;
  HeadlessWindow* window = nullptr;
  MouseFrame* capturing = nullptr;
  MouseFrame* plain = nullptr;
  std::vector<std::string> log;
};

TEST_F(VSTEditorTest, OpensIntoThePointersWindowPaintsOnExposeAndUploadsOnlyChangedPixels) {
  EXPECT_EQ(window->Parent(), 0x2Au);
  EXPECT_EQ(window->Pixel(20, 20), 0x00FF0000u);  // painted by the first expose
  editor->idle();
  EXPECT_EQ(UploadedPixels(), 0);  // nothing to draw, nothing sent
  plain->Invalidate();
  editor->idle();
  EXPECT_EQ(UploadedPixels(), 0);  // drawn again, the same pixels: nothing sent
  plain->colour = Color{0, 0, 0xFFFF};
  plain->Invalidate();
  editor->idle();
  EXPECT_EQ(UploadedPixels(), 50 * 30);  // exactly the frame
  EXPECT_EQ(window->Pixel(120, 20), 0x000000FFu);
  window->ClearUploads();
  window->Expose({5, 5, 6, 6});  // any expose sends the whole editor, changed or not
  editor->idle();
  EXPECT_EQ(UploadedPixels(), 200 * 100);
  ERect* rect = nullptr;
  EXPECT_TRUE(editor->getRect(&rect));
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 200);
  EXPECT_EQ(rect->bottom, 100);
}

TEST_F(VSTEditorTest, APressThatCapturesKeepsTheMutexUntilItsRelease) {
  window->Press(20, 20);
  editor->idle();
  EXPECT_EQ(host.depth, 1);
  EXPECT_TRUE(editor->DragHoldsMutex());
  window->Move(300, 50);  // outside the window, still the drag's
  editor->idle();
  EXPECT_EQ(host.depth, 1);
  window->Release(300, 50);
  editor->idle();
  EXPECT_EQ(host.depth, 0);
  EXPECT_FALSE(editor->DragHoldsMutex());
  EXPECT_EQ(log, (std::vector<std::string>{"c2@10,10", "c0@10,10", "c4@290,40", "c1@290,40",
                                           "c3@-1,-1"}));  // the pointer is outside it now

  log.clear();
  window->Press(110, 20);  // a frame that does not capture: locked and released within the press
  editor->idle();
  EXPECT_EQ(host.depth, 0);
  window->Release(110, 20);
  editor->idle();
  EXPECT_EQ(host.depth, 0);  // a release after a press that kept nothing frees nobody's lock
}

TEST_F(VSTEditorTest, DuringADragIdleRunsOnlyTimersAndTheHostsIdleEvenWhenTheHostIdlesUsAgain) {
  int nested = 0;
  host.onHostIdle = [&] {
    ++nested;
    editor->idle();  // the host answers audioMasterIdle with effEditIdle
  };
  window->Press(20, 20);
  editor->idle();
  editor->idle();
  editor->idle();
  EXPECT_EQ(host.hostIdles, 3);  // the press's own idle included
  EXPECT_EQ(nested, 3);
  EXPECT_EQ(host.depth, 1);
  window->LoseRelease(MouseButton::kLeft);  // the release went elsewhere: the next move ends the drag
  window->Move(25, 25);
  editor->idle();
  EXPECT_EQ(host.depth, 0);
  EXPECT_EQ(log.back(), "c1@15,15");
}

TEST_F(VSTEditorTest, ClosingDuringADragReleasesItsLockOnceAndTheEditorOpensAgain) {
  window->Press(20, 20);
  editor->idle();
  ASSERT_EQ(host.depth, 1);
  editor->close();
  EXPECT_EQ(host.depth, 0);
  EXPECT_FALSE(editor->IsOpen());
  EXPECT_EQ(editor->GetMouseCaptureFrame(), nullptr);
  EXPECT_EQ(platform.Window(), nullptr);
  editor->close();  // a second close does nothing
  EXPECT_EQ(host.depth, 0);
  ASSERT_TRUE(editor->open(reinterpret_cast<void*>(0x2B)));
  EXPECT_EQ(platform.Window()->Parent(), 0x2Bu);
}

TEST_F(VSTEditorTest, AWindowDestroyedDuringADragEndsItAtTheNextIdleWithAReleaseWhereThePointerWas) {
  // With the middle button held first the window's drag is that button's, which the editor
  // ignores: the capture still ends with the window.
  for (const bool middleFirst : {false, true}) {
    SCOPED_TRACE(middleFirst ? "middle button held first" : "left button alone");
    if (middleFirst) window->Press(150, 80, MouseButton::kMiddle);
    window->Press(20, 20);
    window->Move(30, 25);
    editor->idle();
    ASSERT_TRUE(editor->DragHoldsMutex());
    window->Destroy();
    editor->idle();
    EXPECT_FALSE(editor->DragHoldsMutex());
    EXPECT_EQ(host.depth, 0);
    EXPECT_EQ(editor->GetMouseCaptureFrame(), nullptr);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "c1@20,15");
    editor->close();
    Open();
  }
}

TEST_F(VSTEditorTest, ACloseOnAnotherThreadWaitsForTheDragsEntryThenEndsTheDragWhereThePointerWas) {
  window->Press(20, 20);
  window->Move(30, 25);
  editor->idle();
  ASSERT_TRUE(editor->DragHoldsMutex());
  log.clear();
  std::atomic<bool> closed{false};
  std::thread closer;
  // The drag's next idle is inside its entry when the close comes: the close waits for it.
  host.onHostIdle = [&] {
    if (closer.joinable()) return;
    closer = std::thread([&] {
      editor->close();
      closed.store(true);
    });
    while (host.waiting.load() == 0) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(closed.load());
  };
  editor->idle();
  closer.join();
  EXPECT_TRUE(closed.load());
  EXPECT_FALSE(editor->IsOpen());
  EXPECT_EQ(host.depth, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"c1@20,15"}));
}

TEST_F(VSTEditorTest, IdlesOnAnyThreadCarryADragOnAfterThePressingThreadEndedAndEndItAtTheRelease) {
  std::thread([&] {
    window->Press(20, 20);
    editor->idle();
  }).join();
  ASSERT_TRUE(editor->DragHoldsMutex());
  const int hostIdles = host.hostIdles;
  log.clear();
  window->Move(30, 30);
  editor->idle();
  EXPECT_EQ(log, (std::vector<std::string>{"c4@20,20"}));
  EXPECT_EQ(host.hostIdles, hostIdles + 1);  // the drag's idle: timers and the host's idle only
  EXPECT_TRUE(editor->DragHoldsMutex());
  window->Release(30, 30);
  std::thread([&] { editor->idle(); }).join();
  EXPECT_EQ(log.back(), "c1@20,20");
  EXPECT_FALSE(editor->DragHoldsMutex());
  EXPECT_EQ(host.depth, 0);
  std::thread([&] {  // free for anyone
    EXPECT_TRUE(host.LockMutex(true));
    host.UnlockMutex();
  })
      .join();
}

TEST_F(VSTEditorTest, LosingTheActivationEndsADragAndRegainingItActivatesTheEditor) {
  EXPECT_FALSE(editor->PlatformQuery());
  window->Press(20, 20);
  editor->idle();
  ASSERT_TRUE(editor->DragHoldsMutex());
  log.clear();
  editor->HandleDeactivate();
  EXPECT_FALSE(editor->IsActive());
  EXPECT_EQ(editor->GetMouseCaptureFrame(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"c1@0,0"}));
  editor->idle();
  EXPECT_FALSE(editor->DragHoldsMutex());
  EXPECT_EQ(host.depth, 0);
  editor->HandleActivate();
  EXPECT_TRUE(editor->IsActive());
  editor->close();
  editor->HandleDeactivate();  // closed: nothing
  EXPECT_EQ(host.depth, 0);
}

TEST_F(VSTEditorTest, DoubleClicksAreTwoPressesUnderFifteenTicksAndFourPixelsApart) {
  struct Case {
    std::int64_t ticks;
    std::int32_t dx;
    bool doubleClick;
  };
  for (const Case& c : {Case{14, 4, true}, Case{15, 0, false}, Case{3, 5, false}}) {
    SCOPED_TRACE(std::to_string(c.ticks) + " ticks, " + std::to_string(c.dx) + " px");
    platform.AdvanceTicks(100);
    window->Press(110, 20);
    window->Release(110, 20);
    editor->idle();
    EXPECT_FALSE(editor->IsDoubleClick());
    platform.AdvanceTicks(c.ticks);
    window->Press(110 + c.dx, 20);
    window->Release(110 + c.dx, 20);
    editor->idle();
    EXPECT_EQ(editor->IsDoubleClick(), c.doubleClick);
  }
}

TEST_F(VSTEditorTest, WhileAModalFrameIsShownEveryPressGoesToIt) {
  auto* modal = new MouseFrame(editor->GetRootFrame(), Rect{70, 50, 90, 70}, false, &log, 0x2000);
  (void)modal;
  window->Press(20, 20);  // on the capturing frame, outside the modal one
  window->Release(20, 20);
  editor->idle();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "p0@-50,-30");
  EXPECT_EQ(host.depth, 0);
}

TEST_F(VSTEditorTest, AFailedOpenAnswersZeroAndLeavesNothingBehind) {
  editor->close();
  platform.FailNextOpen();
  EXPECT_FALSE(editor->open(reinterpret_cast<void*>(0x2A)));
  EXPECT_FALSE(editor->IsOpen());
  EXPECT_EQ(editor->GetRootFrame(), nullptr);
  EXPECT_EQ(editor->GetWindowContext(), nullptr);
  EXPECT_EQ(host.depth, 0);
  editor->idle();  // idles of an editor that is not open do nothing
  EXPECT_TRUE(editor->open(reinterpret_cast<void*>(0x2A)));

  VSTEditor empty(nullptr, host, nullptr, &services, platform, 0, 0);
  EXPECT_FALSE(empty.open(reinterpret_cast<void*>(0x2A)));  // no window of size 0 is asked for
}

TEST_F(VSTEditorTest, TheEditFieldCommitsSixtyFourCharactersAndAnEditOpenAtCloseAnswersOnce) {
  std::vector<std::optional<std::string>> answers;
  const auto done = [&](const std::optional<std::string>& text) { answers.push_back(text); };
  ASSERT_TRUE(editor->GetWindow()->BeginTextEdit(Rect{10, 50, 110, 62}, "old", done));
  window->Type(std::string(70, 'x'));
  window->Key(EditKey::kReturn);
  editor->idle();
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0], std::string(64, 'x'));
  // The field is drawn with the editor's font: black text on white within the border.
  ASSERT_TRUE(editor->GetWindow()->BeginTextEdit(Rect{10, 50, 110, 62}, "Abc", done));
  const std::vector<std::uint32_t>& field = window->EditPixels();
  ASSERT_EQ(field.size(), 98u * 14u);
  int dark = 0;
  for (std::uint32_t p : field) dark += p == 0 ? 1 : 0;
  EXPECT_GT(dark, 10);  // the selected text shows as a dark band
  editor->close();
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_FALSE(answers[1]);
}

TEST_F(VSTEditorTest, ErrorPanelsStackTheNewestTakesTheClickAndGoesAtTheNextTimerPass) {
  ASSERT_TRUE(editor->ShowError("first", nullptr, 0, 2));
  ASSERT_TRUE(editor->ShowError("second", "detail", 12, 1));
  ASSERT_EQ(editor->GetModalFrames().size(), 2u);
  auto* second = static_cast<ErrorFrame*>(editor->GetModalFrames()[1]);
  EXPECT_EQ(second->GetText(), "second\n\ndetail");
  EXPECT_EQ(second->GetX(), 100 - 130);  // centred on an editor smaller than the panel
  window->Press(0, 0);
  window->Release(0, 0);
  window->Press(0, 0);  // a second click on the closing panel raises nothing
  window->Release(0, 0);
  editor->idle();  // the presses; the panel goes at the timer pass of this idle
  ASSERT_EQ(editor->GetModalFrames().size(), 1u);
  EXPECT_EQ(static_cast<ErrorFrame*>(editor->GetModalFrames()[0])->GetText(), "first");
  window->Press(0, 0);
  window->Release(0, 0);
  editor->idle();
  EXPECT_TRUE(editor->GetModalFrames().empty());
  EXPECT_EQ(window->Pixel(20, 20), 0x00FF0000u);  // the editor shows again where the panel was
}

TEST_F(VSTEditorTest, AReportFromAnotherThreadWaitsForTheNextIdleOrTheMessageBoxAtClose) {
  std::thread([&] { EXPECT_TRUE(editor->ShowError("from audio", nullptr, 0, 2)); }).join();
  EXPECT_TRUE(editor->GetModalFrames().empty());
  editor->idle();
  ASSERT_EQ(editor->GetModalFrames().size(), 1u);
  EXPECT_EQ(static_cast<ErrorFrame*>(editor->GetModalFrames()[0])->GetText(), "from audio");

  std::thread([&] { editor->ShowError("too late", nullptr, 0, 2); }).join();
  unsetenv("DISPLAY");
  StderrCapture capture;
  editor->close();
  EXPECT_EQ(capture.Text(), "Quillmore: : \ntoo late        \n\n\n");
}
TEST_F(VSTEditorTest, SettingsFilesLoadAndSaveThroughTheDialogAndRememberTheFolder) {
  TemporaryConfig config;
  unsetenv("DISPLAY");
  const std::filesystem::path folder = config.root / "mix";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "a.korvane") << "settings";
  SettingsFileDialogs& dialogs = editor->GetWindow()->GetSettingsFileDialogs();
  std::vector<std::optional<std::string>> loaded;
  const auto done = [&](const std::optional<std::string>& text) { loaded.push_back(text); };

  platform.ScriptChooserAnswer(std::nullopt);
  dialogs.Load(".korvane", done);
  dialogs.Load(".korvane", done);  // ignored while the first is up
  editor->idle();
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_FALSE(loaded[0]);
  EXPECT_FALSE(
      Registry::ReadString("Software\\Quillmore\\Recent Directories\\", ""));  // a cancel stores nothing
  const FileChooserRequest& request = platform.ChooserRequests()[0];
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].name, "Settings Files (.korvane)");
  EXPECT_EQ(request.filters[0].pattern, "*.korvane");
  EXPECT_EQ(request.filters[1].name, "All Files (*.*)");
  EXPECT_EQ(request.filters[1].pattern, "*");

  platform.ScriptChooserAnswer((folder / "a.korvane").string());
  dialogs.Load(".korvane", done);
  editor->idle();
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1], std::string("settings"));
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\Recent Directories\\", ""), folder.string());

  // A FIFO is no settings file: the load error, and nothing hangs.
  mkfifo((folder / "pipe.korvane").c_str(), 0600);
  platform.ScriptChooserAnswer((folder / "pipe.korvane").string());
  {
    StderrCapture capture;
    dialogs.Load(".korvane", done);
    editor->idle();
    EXPECT_EQ(
        capture.Text(),
        "Quillmore: : Unable to load settings\n\nThere was an error reading from the file and the settings"
        "\t\t\t\t\t\t\tcould not be loaded.\n\n\n");
  }
  EXPECT_FALSE(loaded.back());

  platform.ScriptChooserAnswer((folder / "b").string());
  dialogs.Save("saved", "Program 1", ".korvane");
  editor->idle();
  EXPECT_EQ(platform.ChooserRequests().back().suggestedName, "Program 1");
  EXPECT_TRUE(platform.ChooserRequests().back().save);
  std::ifstream saved(folder / "b.korvane");
  std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "saved");

  std::filesystem::permissions(folder / "a.korvane", std::filesystem::perms::owner_read);
  platform.ScriptChooserAnswer((folder / "a.korvane").string());
  StderrCapture capture;
  dialogs.Save("new", "Program 1", ".korvane");
  editor->idle();
  EXPECT_EQ(
      capture.Text(),
      "Quillmore: : Unable to save settings\n\nThe selected file could not be opened or created.\n\n\n");
}
// Another process writing the registry store holds its lock: the answer loads all the same, the
// folder is not remembered this time, and the idle returns while the lock is still held.
TEST_F(VSTEditorTest, ADialogAnswerLoadsWithoutWaitingForAnotherProcessThatHoldsTheRegistry) {
  TemporaryConfig config;
  unsetenv("DISPLAY");
  const std::filesystem::path folder = config.root / "mix";
  std::filesystem::create_directories(folder);
  std::filesystem::create_directories(config.UserStore().parent_path());
  std::ofstream(folder / "a.korvane") << "settings";
  const std::string lock = config.UserStore().string() + ".lock";
  const std::string ready = (config.root / "ready").string();
  const std::string script = "touch '" + ready + "'; exec sleep 60";
  // -o: flock alone holds the lock, so it is free once flock has gone.
  const char* argv[] = {"flock", "-o", lock.c_str(), "sh", "-c", script.c_str(), nullptr};
  // In a group of its own, so that the lock goes with the whole group.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t holder = 0;
  ASSERT_EQ(posix_spawnp(&holder, "flock", nullptr, &attributes, const_cast<char**>(argv), environ), 0);
  posix_spawnattr_destroy(&attributes);
  for (int i = 0; i < 2500 && !std::filesystem::exists(ready); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  ASSERT_TRUE(std::filesystem::exists(ready));

  SettingsFileDialogs& dialogs = editor->GetWindow()->GetSettingsFileDialogs();
  std::vector<std::optional<std::string>> loaded;
  const auto done = [&](const std::optional<std::string>& text) { loaded.push_back(text); };
  platform.ScriptChooserAnswer((folder / "a.korvane").string());
  dialogs.Load(".korvane", done);
  editor->idle();
  EXPECT_EQ(waitpid(holder, nullptr, WNOHANG), 0);  // the idle came back while the lock was held
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0], std::string("settings"));
  EXPECT_FALSE(Registry::ReadString("Software\\Quillmore\\Recent Directories\\", ""));

  kill(-holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  platform.ScriptChooserAnswer((folder / "a.korvane").string());
  dialogs.Load(".korvane", done);
  editor->idle();
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\Recent Directories\\", ""), folder.string());
}

TEST_F(VSTEditorTest, AFrameDestroyedDuringItsDragLeavesNoCaptureAndItsReleaseFreesTheLock) {
  window->Press(20, 20);
  editor->idle();
  ASSERT_EQ(host.depth, 1);
  delete capturing;
  EXPECT_EQ(editor->GetMouseCaptureFrame(), nullptr);
  EXPECT_EQ(editor->GetWindow()->GetMouseCapturer(), nullptr);
  window->Release(20, 20);
  editor->idle();
  EXPECT_EQ(host.depth, 0);
  EXPECT_FALSE(editor->DragHoldsMutex());
}

TEST_F(VSTEditorTest, ShowingNoPageKeepsThePageShown) {
  Frame* page = editor->GetPage();
  editor->ShowPage(nullptr);
  editor->ShowAboutPage();  // no product, no about page
  EXPECT_EQ(editor->GetPage(), page);
}

TEST_F(VSTEditorTest, APageThatGoesWhileShownIsForgotten) {
  auto* page = new Frame(editor->GetRootFrame(), 0, 0, 10, 10, 0, 0);
  editor->ShowPage(page);
  ASSERT_EQ(editor->GetPage(), page);
  delete page;
  EXPECT_EQ(editor->GetPage(), nullptr);
  editor->ShowPage(capturing);  // would hide the freed page
  EXPECT_EQ(editor->GetPage(), capturing);
}
}  // namespace
