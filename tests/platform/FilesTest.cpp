#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "platform/Files.h"
#include "tests/support/AllocationFailure.h"

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/varnis-files-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    dir = folder;
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
  void Write(const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; }
  std::string Read(const std::string& name) {
    std::string text;
    EXPECT_TRUE(Files::ReadFile(dir + "/" + name, text));
    return text;
  }
  mode_t Mode(const std::string& name) {
    struct stat info {};
    stat((dir + "/" + name).c_str(), &info);
    return info.st_mode & 07777;
  }
  // Nothing but the named files is left in the folder (no temporary files).
  int Entries() { return std::system(("test $(ls -A '" + dir + "' | wc -l) -eq 0").c_str()) == 0 ? 0 : 1; }

  std::string dir;
};

TEST_F(FilesTest, ReadsOnlyRegularFilesOfAtMostSixteenMebibytes) {
  Write("ok", std::string(Files::kMaxFileSize, 'x'));
  EXPECT_EQ(Read("ok").size(), Files::kMaxFileSize);
  std::string text = "kept";
  Write("big", std::string(Files::kMaxFileSize + 1, 'x'));
  EXPECT_EQ(Files::LoadFile(dir + "/big", text), Files::LoadResult::kTooLarge);
  EXPECT_FALSE(Files::ReadFile(dir + "/big", text));
  EXPECT_EQ(Files::LoadFile(dir + "/ok", text, Files::kMaxFileSize - 1), Files::LoadResult::kTooLarge);
  // A FIFO without a writer would block a plain open for ever.
  ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
  EXPECT_EQ(Files::LoadFile(dir + "/fifo", text), Files::LoadResult::kNotAFile);
  EXPECT_EQ(Files::LoadFile(dir, text), Files::LoadResult::kNotAFile);
  EXPECT_EQ(Files::LoadFile("/dev/zero", text), Files::LoadResult::kNotAFile);
  EXPECT_EQ(Files::LoadFile(dir + "/missing", text), Files::LoadResult::kFailed);
  EXPECT_EQ(text, "kept");
}

TEST_F(FilesTest, AReadWhoseTextCannotBeAllocatedClosesTheFile) {
  Write("settings", std::string(4096, 'x'));
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
  };
  const auto before = openFiles();
  const std::string path = dir + "/settings";
  std::string text = "kept";
  {
    alloc_test::FailAllocation fail(0);
    EXPECT_THROW(Files::ReadFile(path, text), std::bad_alloc);
    EXPECT_TRUE(fail.Failed());
  }
  EXPECT_EQ(openFiles(), before);
  EXPECT_EQ(text, "kept");
}

TEST_F(FilesTest, SaveReplacesTheFileKeepingItsModeAndLeavesNoTemporaryFile) {
  Write("a.korvane", "old");
  ASSERT_EQ(chmod((dir + "/a.korvane").c_str(), 0640), 0);
  EXPECT_EQ(Files::SaveFile(dir + "/a.korvane", "new"), Files::SaveResult::kSaved);
  EXPECT_EQ(Read("a.korvane"), "new");
  EXPECT_EQ(Mode("a.korvane"), 0640u);
  EXPECT_EQ(Files::SaveFile(dir + "/b.korvane", "fresh"), Files::SaveResult::kSaved);
  EXPECT_EQ(Read("b.korvane"), "fresh");
  std::remove((dir + "/a.korvane").c_str());
  std::remove((dir + "/b.korvane").c_str());
  EXPECT_EQ(Entries(), 0);
}

TEST_F(FilesTest, SaveThroughASymbolicLinkReplacesItsTarget) {
  ASSERT_EQ(mkdir((dir + "/real").c_str(), 0755), 0);
  Write("real/target.korvane", "old");
  ASSERT_EQ(symlink("real/target.korvane", (dir + "/link.korvane").c_str()), 0);
  EXPECT_EQ(Files::SaveFile(dir + "/link.korvane", "new"), Files::SaveResult::kSaved);
  struct stat info {};
  ASSERT_EQ(lstat((dir + "/link.korvane").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(Read("real/target.korvane"), "new");
}

TEST_F(FilesTest, AFailedSaveLeavesTheOldFileByteForByte) {
  const std::string old("old\0bytes\n", 10);
  Write("ro.korvane", old);
  ASSERT_EQ(chmod((dir + "/ro.korvane").c_str(), 0444), 0);
  EXPECT_EQ(Files::SaveFile(dir + "/ro.korvane", "new"), Files::SaveResult::kCannotCreate);
  EXPECT_EQ(Read("ro.korvane"), old);
  EXPECT_EQ(Files::SaveFile(dir + "/missing/x.korvane", "new"), Files::SaveResult::kCannotCreate);
  EXPECT_EQ(Files::SaveFile(dir, "new"), Files::SaveResult::kCannotCreate);
  std::remove((dir + "/ro.korvane").c_str());
  EXPECT_EQ(Entries(), 0);
}

TEST_F(FilesTest, AWritePastTheFileSizeLimitFailsWithoutEndingTheProcessAndLeavesNothingBehind) {
  const std::string old("old\0bytes\n", 10);
  Write("a.korvane", old);
  // In a child of its own, with SIGXFSZ as a host has it: ending the process.
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool failed =
        Files::SaveFile(dir + "/a.korvane", "longer than four bytes") == Files::SaveResult::kWriteFailed;
    // The thread's mask is as it was and no signal waits to end the process later.
    sigset_t mask, pending;
    pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    sigpending(&pending);
    _exit(failed && !sigismember(&mask, SIGXFSZ) && !sigismember(&pending, SIGXFSZ) ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Read("a.korvane"), old);
  std::remove((dir + "/a.korvane").c_str());
  EXPECT_EQ(Entries(), 0);  // no temporary file
}

TEST_F(FilesTest, SaveFollowsAChainOfLinksToItsEndAndRefusesALoop) {
  ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/real").c_str(), 0755), 0);
  // Each relative target is read from the folder of its own link.
  ASSERT_EQ(symlink("sub/b", (dir + "/a").c_str()), 0);
  ASSERT_EQ(symlink("../real/missing", (dir + "/sub/b").c_str()), 0);
  EXPECT_EQ(Files::SaveFile(dir + "/a", "first"), Files::SaveResult::kSaved);
  EXPECT_EQ(Read("real/missing"), "first");
  EXPECT_EQ(Files::SaveFile(dir + "/a", "second"), Files::SaveResult::kSaved);
  EXPECT_EQ(Read("real/missing"), "second");
  for (const char* link : {"a", "sub/b"}) {
    struct stat info {};
    ASSERT_EQ(lstat((dir + "/" + link).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << link;
  }

  ASSERT_EQ(symlink("y", (dir + "/x").c_str()), 0);
  ASSERT_EQ(symlink("x", (dir + "/y").c_str()), 0);
  ASSERT_EQ(symlink("self", (dir + "/self").c_str()), 0);
  for (const char* loop : {"x", "y", "self"}) {
    EXPECT_EQ(Files::SaveFile(dir + "/" + loop, "data"), Files::SaveResult::kCannotCreate) << loop;
    struct stat info {};
    ASSERT_EQ(lstat((dir + "/" + loop).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << loop;
  }
  for (const char* name : {"a", "sub/b", "real/missing", "x", "y", "self"})
    std::remove((dir + "/" + name).c_str());
  std::remove((dir + "/sub").c_str());
  std::remove((dir + "/real").c_str());
  EXPECT_EQ(Entries(), 0);
}

TEST_F(FilesTest, SaveFollowsAsManyLinksAsTheSystemDoes) {
  Write("end", "old");
  // chainN -> ... -> chain1 -> end: a path through N links.
  for (int n = 1; n <= 41; ++n) {
    const std::string previous = n == 1 ? "end" : "chain" + std::to_string(n - 1);
    ASSERT_EQ(symlink(previous.c_str(), (dir + "/chain" + std::to_string(n)).c_str()), 0);
  }
  for (const int n : {40, 41}) {
    SCOPED_TRACE(n);
    const std::string start = dir + "/chain" + std::to_string(n);
    struct stat info {};
    const bool systemFollows = stat(start.c_str(), &info) == 0;
    EXPECT_EQ(systemFollows, n == 40);
    EXPECT_EQ(Files::SaveFile(start, "new" + std::to_string(n)),
              systemFollows ? Files::SaveResult::kSaved : Files::SaveResult::kCannotCreate);
  }
  EXPECT_EQ(Read("end"), "new40");
}

}  // namespace
