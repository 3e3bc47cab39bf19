// The test product's editor in a real X window: a host (tests/vsthost) opens it inside a window
// of its own on a private Xvfb, idles it, drives it with XTest and closes it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/plugin/TestProductFixture.h"

namespace {

class EditorWindowTest : public TestProductFixture {
 protected:
  void SetUp() override {
    TestProductFixture::SetUp();
    ASSERT_FALSE(server.Display().empty());
    setenv("DISPLAY", server.Display().c_str(), 1);
    display = std::make_unique<Display>(server.Display());
    host = Instance();
  }
  void TearDown() override {
    host.reset();
    display.reset();
  }

  // Idles the editor until the journal holds line, or two seconds pass.
  bool IdleUntilJournal(const std::string& line) {
    for (int i = 0; i < 400; ++i) {
      host->Dispatch(effEditIdle);
      seen += journal();
      if (seen.find(line) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  // Idles until the window shows the colour at (x, y) of the parent.
  bool IdleUntilPixel(xcb_window_t parent, std::int16_t x, std::int16_t y, std::uint32_t colour) {
    for (int i = 0; i < 400; ++i) {
      host->Dispatch(effEditIdle);
      const std::vector<std::uint32_t> shown = display->Image(parent, x, y, 1, 1);
      if (!shown.empty() && (shown[0] & 0x00FFFFFF) == colour) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  void Screenshot(const std::string& name) {
    std::system(("import -display " + server.Display() + " -window root " + ARTEFACT_DIR + "/" + name +
                 " 2>/dev/null")
                    .c_str());
  }

  XvfbServer server;
  std::unique_ptr<Display> display;
  std::unique_ptr<vsthost::Host> host;
  std::string seen;
};

TEST_F(EditorWindowTest, OpensInParentsOfDepth24And32AndClosesAfterTheParentIsGone) {
  for (const std::uint8_t depth : {std::uint8_t{24}, std::uint8_t{32}}) {
    SCOPED_TRACE(static_cast<int>(depth));
    const xcb_window_t parent = display->Parent(depth, 0, 0, 220, 120);
    ERect* rect = nullptr;
    ASSERT_EQ(host->Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 200);
    // value is ignored: Tolvaran passes 20, other hosts other things.
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 20, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
    EXPECT_TRUE(IdleUntilPixel(parent, 20, 20, 0x00FF0000));  // the capturing frame, red
    EXPECT_TRUE(IdleUntilPixel(parent, 80, 20, 0x000000FF));  // the button, blue
    Screenshot("editor-depth" + std::to_string(depth) + ".png");
    display->Destroy(parent);
    for (int i = 0; i < 20; ++i) host->Dispatch(effEditIdle);
    EXPECT_EQ(host->Dispatch(effEditClose), 0);
  }
}

TEST_F(EditorWindowTest, ABadParentOrNoDisplayAnswersZeroAndThePluginLivesOn) {
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{0x3FFFFF})), 0);
  unsetenv("DISPLAY");
  const xcb_window_t parent = display->Parent(24, 0, 0, 220, 120);
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 0);
  setenv("DISPLAY", server.Display().c_str(), 1);
  host->Dispatch(effEditIdle);
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  EXPECT_TRUE(IdleUntilPixel(parent, 20, 20, 0x00FF0000));
  host->Dispatch(effEditClose);
}

TEST_F(EditorWindowTest, ADragHoldsTheMutexSoProgramChangesWaitAndApplyOnceAfterTheRelease) {
  const xcb_window_t parent = display->Parent(24, 0, 0, 220, 120);
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  ASSERT_TRUE(IdleUntilPixel(parent, 20, 20, 0x00FF0000));
  // A host that answers audioMasterIdle with effEditIdle: the idle does not run twice or lock up.
  int nested = 0;
  host->onCall = [&](const vsthost::HostCall& call, std::intptr_t&) {
    if (call.opcode == audioMasterIdle) {
      ++nested;
      host->Dispatch(effEditIdle);
    }
    return false;
  };
  display->MoveTo(20, 20);
  display->Button(true);
  ASSERT_TRUE(IdleUntilJournal("drag down 10,10"));
  EXPECT_GT(nested, 0);
  host->Dispatch(effSetProgram, 0, 2);  // from the UI thread, during the drag
  std::thread other([&] { host->Dispatch(effSetProgram, 0, 3); });
  other.join();
  host->Dispatch(effEditIdle);
  EXPECT_EQ(seen.find("SetProgram"), std::string::npos);
  display->MoveTo(150, 90);
  display->Button(false);
  ASSERT_TRUE(IdleUntilJournal("drag up 140,80"));
  EXPECT_NE(seen.find("SetProgram 3"), std::string::npos);
  EXPECT_EQ(seen.find("SetProgram 2"), std::string::npos);  // the last change wins, applied once
  const size_t first = seen.find("SetProgram");
  EXPECT_EQ(seen.find("SetProgram", first + 1), std::string::npos);
  host->Dispatch(effEditClose);
}

TEST_F(EditorWindowTest, TheEditFieldTakesSixtyFourOfSeventyCharactersAndGivesTheFocusBack) {
  const xcb_window_t parent = display->Parent(24, 0, 0, 220, 120);
  display->SetFocus(parent);
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  ASSERT_TRUE(IdleUntilPixel(parent, 20, 20, 0x00FF0000));
  display->Click(30, 65);
  for (int i = 0; i < 400 && display->Focus() == parent; ++i) {
    host->Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_NE(display->Focus(), parent);
  Screenshot("editor-edit-field.png");
  for (int i = 0; i < 70; ++i) display->Key('0' + i % 10);
  display->Key(0xFF0D);
  ASSERT_TRUE(IdleUntilJournal("edit "));
  const size_t at = seen.find("edit ");
  EXPECT_EQ(seen.substr(at, seen.find('\n', at) - at).size(), 5u + 64u);
  EXPECT_EQ(display->Focus(), parent);
  host->Dispatch(effEditClose);
}

TEST_F(EditorWindowTest, AKilledServerLeavesThePluginAndTheProcessAlive) {
  XvfbServer doomed;
  ASSERT_FALSE(doomed.Display().empty());
  Display other(doomed.Display());
  const xcb_window_t parent = other.Parent(24, 0, 0, 220, 120);
  setenv("DISPLAY", doomed.Display().c_str(), 1);
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  for (int i = 0; i < 20; ++i) host->Dispatch(effEditIdle);
  doomed.Kill();
  for (int i = 0; i < 50; ++i) host->Dispatch(effEditIdle);
  EXPECT_EQ(host->Dispatch(effEditClose), 0);
  setenv("DISPLAY", server.Display().c_str(), 1);
  const xcb_window_t fresh = display->Parent(24, 0, 0, 220, 120);
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{fresh})), 1);
  host->Dispatch(effEditClose);
}

TEST_F(EditorWindowTest, DuringADragTheHostIdlesUnlessItIsSonicWorx) {
  const xcb_window_t parent = display->Parent(24, 0, 0, 220, 120);
  for (const char* product : {"Default VST Host", "sonicWORX Studio"}) {
    SCOPED_TRACE(product);
    host = std::make_unique<vsthost::Host>(*library);
    host->SetProductString(product);
    ASSERT_NE(host->Instantiate(), nullptr);
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
    ASSERT_TRUE(IdleUntilPixel(parent, 20, 20, 0x00FF0000));
    display->MoveTo(20, 20);
    display->Button(true);
    seen.clear();
    ASSERT_TRUE(IdleUntilJournal("drag down"));
    host->ClearCalls();
    for (int i = 0; i < 10; ++i) host->Dispatch(effEditIdle);
    int idles = 0;
    for (const vsthost::HostCall& call : host->Calls()) idles += call.opcode == audioMasterIdle;
    EXPECT_EQ(idles, std::string(product) == "sonicWORX Studio" ? 0 : 10);
    display->Button(false);
    ASSERT_TRUE(IdleUntilJournal("drag up"));
    host->Dispatch(effEditClose);
  }
}
// A fake zenity on PATH answers the editor's load dialog.
class EditorDialogTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    char folder[] = "/tmp/varnis-editor-dialog-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    dir = folder;
    std::ofstream(dir + "/zenity") << "#!/bin/sh\necho $$ > \"$FAKE_DIR/pid\"\n"
                                      "case \"$FAKE_ZENITY\" in hang) exec sleep 1000 ;; esac\n"
                                      "printf '%s\\n' \"$FAKE_PATH\"\n";
    chmod((dir + "/zenity").c_str(), 0755);
    savedPath = std::getenv("PATH");
    setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
    setenv("FAKE_DIR", dir.c_str(), 1);
    parent = display->Parent(24, 0, 0, 220, 120);
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
    ASSERT_TRUE(IdleUntilPixel(parent, 150, 20, 0x0000FF00));  // the load button, green
  }
  void TearDown() override {
    host->Dispatch(effEditClose);
    setenv("PATH", savedPath.c_str(), 1);
    std::system(("rm -rf '" + dir + "'").c_str());
    EditorWindowTest::TearDown();
  }
  void Load(const char* mode, const std::string& path) {
    setenv("FAKE_ZENITY", mode, 1);
    setenv("FAKE_PATH", path.c_str(), 1);
    display->Click(150, 20);
  }

  std::string dir;
  std::string savedPath;
  xcb_window_t parent = 0;
};

TEST_F(EditorDialogTest, AChosenFileIsLoadedAndAFifoGivesTheLoadErrorInsideTheEditor) {
  std::ofstream(dir + "/a.korvane") << "twelve bytes";
  Load("path", dir + "/a.korvane");
  ASSERT_TRUE(IdleUntilJournal("loaded 12 bytes"));
  // The folder is remembered in the test's own store, never the user's.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(std::string(config).rfind("/tmp/", 0), 0u) << config;
  std::stringstream store;
  store << std::ifstream(std::string(config) + "/quillmore/registry").rdbuf();
  EXPECT_NE(store.str().find("Recent Directories\\\\\tTest Product\t" + dir + "\n"), std::string::npos)
      << store.str();
  ASSERT_EQ(mkfifo((dir + "/pipe.korvane").c_str(), 0600), 0);
  Load("path", dir + "/pipe.korvane");
  ASSERT_TRUE(IdleUntilJournal("load cancelled"));
  EXPECT_TRUE(IdleUntilPixel(parent, 150, 70, 0x00FFFFFF));  // the error panel over the editor
  Screenshot("editor-load-error.png");
  display->Click(150, 70);
  EXPECT_TRUE(IdleUntilPixel(parent, 150, 70, 0x00808080));  // gone after a click
}

TEST_F(EditorDialogTest, ClosingTheEditorTakesAHangingDialogDown) {
  Load("hang", "");
  std::string pid;
  for (int i = 0; i < 400 && pid.empty(); ++i) {
    host->Dispatch(effEditIdle);
    std::ifstream(dir + "/pid") >> pid;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_FALSE(pid.empty());
  host->Dispatch(effEditClose);
  EXPECT_NE(kill(std::stoi(pid), 0), 0);  // killed and reaped
  EXPECT_EQ(journal(), std::string());    // and its answer dropped
}
}  // namespace
