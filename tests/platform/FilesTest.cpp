#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/Files.h"

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
  EXPECT_FALSE(Files::ReadFile(dir + "/big", text));
  // A FIFO without a writer would block a plain open for ever.
  ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
  EXPECT_FALSE(Files::ReadFile(dir + "/fifo", text));
  EXPECT_FALSE(Files::ReadFile(dir, text));
  EXPECT_FALSE(Files::ReadFile(dir + "/missing", text));
  EXPECT_FALSE(Files::ReadFile("/dev/zero", text));
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
  // A write that stops short (a full disk, a quota): the old file stays and no temporary file.
  ASSERT_EQ(chmod((dir + "/ro.korvane").c_str(), 0644), 0);
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(Files::SaveFile(dir + "/ro.korvane", "longer than four bytes") == Files::SaveResult::kWriteFailed
              ? 0
              : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Read("ro.korvane"), old);
  std::remove((dir + "/ro.korvane").c_str());
  EXPECT_EQ(Entries(), 0);
}

}  // namespace
