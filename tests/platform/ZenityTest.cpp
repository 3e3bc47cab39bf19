// Dialogs, notices and the document launcher against fake zenity and xdg-open programs on PATH.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "tests/support/StderrCapture.h"

namespace {

constexpr const char* kFakeZenity = R"(#!/bin/sh
echo $$ >> "$FAKE_DIR/pids"
printf '%s\n' "$@" > "$FAKE_DIR/args"
case "$FAKE_ZENITY" in
  path) printf '%s\n' "$FAKE_PATH" ;;
  path-then-fail) printf '%s\n' "$FAKE_PATH"; exit 3 ;;
  cancel) exit 1 ;;
  hang) exec sleep 1000 ;;
  big) head -c 10000000 /dev/zero | tr '\0' a ;;
  huge) exec head -c 20000000 /dev/zero ;;
  notice) sleep 1 ;;
esac
)";

constexpr const char* kFakeOpener = R"(#!/bin/sh
printf '%s\n' "$@" >> "$FAKE_DIR/opened"
)";

class ZenityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/varnis-zenity-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    dir = folder;
    Install("zenity", kFakeZenity);
    Install("xdg-open", kFakeOpener);
    savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
    setenv("DISPLAY", ":77", 1);  // the fakes need no server
    setenv("FAKE_DIR", dir.c_str(), 1);
    setenv("FAKE_PATH", "/data/mix/a b;c.korvane", 1);
    chooser = GetSystemPlatform().CreateChooser();
  }
  void TearDown() override {
    chooser.reset();
    setenv("PATH", savedPath.c_str(), 1);
    signal(SIGCHLD, SIG_DFL);
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  void Install(const std::string& name, const char* text) {
    const std::string path = dir + "/" + name;
    std::ofstream(path) << text;
    chmod(path.c_str(), 0755);
  }
  std::string FileText(const std::string& name) {
    std::ifstream in(dir + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<pid_t> Pids() {
    std::vector<pid_t> pids;
    std::ifstream in(dir + "/pids");
    for (pid_t pid = 0; in >> pid;) pids.push_back(pid);
    return pids;
  }
  // The fake writes its arguments after its id: waits until they end as given.
  void WaitForArgs(const std::string& ending) {
    for (int i = 0; i < 1000; ++i) {
      const std::string args = FileText("args");
      if (args.size() >= ending.size() &&
          args.compare(args.size() - ending.size(), ending.size(), ending) == 0)
        return;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  static bool Gone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }  // neither running nor a zombie

  bool Begin(const char* mode, bool save = false) {
    setenv("FAKE_ZENITY", mode, 1);
    expected = answers.size() + 1;
    FileChooserRequest request;
    request.save = save;
    request.title = save ? "Save Settings" : "Load Settings";
    request.directory = "/data/mix";
    request.suggestedName = save ? "Program 1.korvane" : "";
    request.filters = {{"Settings Files (.korvane)", "*.korvane"}, {"All Files (*.*)", "*"}};
    return chooser->Begin(request,
                          [this](const std::optional<std::string>& path) { answers.push_back(path); });
  }
  bool Answered(int seconds = 5) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (answers.size() < expected && std::chrono::steady_clock::now() < end) {
      chooser->Poll();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return answers.size() == expected;
  }

  std::string dir;
  std::string savedPath;
  std::unique_ptr<FileChooser> chooser;
  std::vector<std::optional<std::string>> answers;
  size_t expected = 0;
};

TEST_F(ZenityTest, TheChosenPathIsWhatZenityPrintsWhateverItsExitStatus) {
  ASSERT_TRUE(Begin("path", true));
  EXPECT_FALSE(
      chooser->Begin({}, [this](const std::optional<std::string>&) { answers.push_back("second"); }));
  ASSERT_TRUE(Answered());
  EXPECT_EQ(answers[0], std::string("/data/mix/a b;c.korvane"));
  EXPECT_EQ(FileText("args"),
            "--file-selection\n--title=Save Settings\n--save\n--confirm-overwrite\n"
            "--filename=/data/mix/Program 1.korvane\n"
            "--file-filter=Settings Files (.korvane) | *.korvane\n--file-filter=All Files (*.*) | *\n");
  ASSERT_TRUE(Begin("path-then-fail"));
  ASSERT_TRUE(Answered());
  EXPECT_EQ(answers[1], std::string("/data/mix/a b;c.korvane"));
  EXPECT_EQ(FileText("args"),
            "--file-selection\n--title=Load Settings\n--filename=/data/mix/\n"
            "--file-filter=Settings Files (.korvane) | *.korvane\n--file-filter=All Files (*.*) | *\n");
  for (pid_t pid : Pids()) EXPECT_TRUE(Gone(pid)) << pid;
}

TEST_F(ZenityTest, CancellingNoDisplayAndNoZenityAnswerNothingAtALaterPoll) {
  ASSERT_TRUE(Begin("cancel"));
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(answers[0]);

  unsetenv("DISPLAY");
  ASSERT_TRUE(Begin("path"));
  EXPECT_TRUE(answers.size() == 1);  // not from inside Begin
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(answers[1]);

  setenv("DISPLAY", ":77", 1);
  setenv("PATH", "/nonexistent", 1);
  ASSERT_TRUE(Begin("path"));
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(answers[2]);
}

TEST_F(ZenityTest, AHostIgnoringSigchldStillGetsTheAnswer) {
  signal(SIGCHLD, SIG_IGN);
  ASSERT_TRUE(Begin("path"));
  ASSERT_TRUE(Answered());
  EXPECT_EQ(answers[0], std::string("/data/mix/a b;c.korvane"));
}

TEST_F(ZenityTest, ClosingTheEditorKillsAndReapsAHangingDialogAndDropsItsAnswer) {
  ASSERT_TRUE(Begin("hang"));
  for (int i = 0; i < 500 && Pids().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  ASSERT_EQ(Pids().size(), 1u);
  chooser->Poll();
  EXPECT_TRUE(chooser->IsRunning());
  chooser.reset();  // the editor closes
  EXPECT_TRUE(Gone(Pids()[0]));
  EXPECT_TRUE(answers.empty());
}

TEST_F(ZenityTest, OutputIsReadWithoutBlockingAndCappedAtSixteenMebibytes) {
  ASSERT_TRUE(Begin("big"));
  ASSERT_TRUE(Answered(20));
  ASSERT_TRUE(answers[0]);
  EXPECT_EQ(answers[0]->size(), 10000000u);

  ASSERT_TRUE(Begin("huge"));
  ASSERT_TRUE(Answered(20));
  EXPECT_FALSE(answers[1]);
  for (pid_t pid : Pids()) EXPECT_TRUE(Gone(pid)) << pid;
}

TEST_F(ZenityTest, NoticesAreNeverWaitedForAndReapedOnceTheyEndWithoutAnotherCall) {
  // A child of the host's own that has ended: never ours to reap.
  const pid_t hostChild = fork();
  if (hostChild == 0) _exit(7);
  setenv("FAKE_ZENITY", "notice", 1);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) {
    ShowMessageBox("Quillmore: Test", "\nUnable to load settings.        \n\n", MessageBoxIcon::kError);
  }
  // Each notice stays up a second.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  for (int i = 0; i < 500 && Pids().size() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  ASSERT_EQ(Pids().size(), 3u);
  WaitForArgs("--no-markup\n");
  EXPECT_EQ(FileText("args"),
            "--error\n--title=Quillmore: Test\n--text=\nUnable to load settings.        \n\n\n--no-markup\n");
  // Nothing calls into the plug-in any more (no editor): they are reaped all the same.
  const auto allGone = [&] {
    for (pid_t pid : Pids()) {
      if (!Gone(pid)) return false;
    }
    return true;
  };
  for (int i = 0; i < 500 && !allGone(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(allGone());
  int status = 0;
  ASSERT_EQ(waitpid(hostChild, &status, WNOHANG), hostChild);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
}

TEST_F(ZenityTest, EachKindOfNoticeHasItsDialogAndANoticeOfNoKindNoIcon) {
  const struct {
    MessageBoxIcon icon;
    const char* arguments;
  } kinds[] = {
      {MessageBoxIcon::kWarning, "--warning\n--title=T\n--text=body\n--no-markup\n"},
      {MessageBoxIcon::kInformation, "--info\n--title=T\n--text=body\n--no-markup\n"},
      {MessageBoxIcon::kError, "--error\n--title=T\n--text=body\n--no-markup\n"},
      {MessageBoxIcon::kNone, "--info\n--title=T\n--text=body\n--no-markup\n--icon-name=\n"},
  };
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.arguments);
    std::remove((dir + "/args").c_str());
    GetSystemPlatform().ShowMessageBox("T", "body", kind.icon);
    WaitForArgs(kind.arguments);
    EXPECT_EQ(FileText("args"), kind.arguments);
  }
}

TEST_F(ZenityTest, NoticesGoToStandardErrorWithoutADisplayOrZenity) {
  for (const bool display : {false, true}) {
    SCOPED_TRACE(display ? "no zenity" : "no display");
    if (display) {
      setenv("PATH", "/nonexistent", 1);
    } else {
      unsetenv("DISPLAY");
    }
    StderrCapture capture;
    ShowMessageBox("Quillmore: Test", "body", MessageBoxIcon::kInformation);
    EXPECT_EQ(capture.Text(), "Quillmore: Test: body\n");
    setenv("DISPLAY", ":77", 1);
  }
}

TEST_F(ZenityTest, DocumentsOpenWithXdgOpenFromAnArgvNeverAShell) {
  const std::string odd = "/usr/share/doc/guide $(touch pwned);x.pdf";
  GetSystemPlatform().OpenDocument(odd);
  GetSystemPlatform().OpenDocument("-help.pdf");
  const auto opened = [&](const std::string& line) {
    return FileText("opened").find(line + "\n") != std::string::npos;
  };
  for (int i = 0; i < 1000 && !(opened(odd) && opened("./-help.pdf")); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(opened(odd));
  EXPECT_TRUE(opened("./-help.pdf"));  // a name is never taken for an option
  EXPECT_NE(access("pwned", F_OK), 0);
}

}  // namespace
