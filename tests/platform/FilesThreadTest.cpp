#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"

namespace {

// One writer's text for one round: a header naming both, then a body that only they give.
std::string Version(int writer, int round) {
  const std::string header = std::to_string(writer) + " " + std::to_string(round) + "\n";
  return header + std::string(30000 + 4099 * writer + 17 * (round % 50), static_cast<char>('a' + writer));
}

// Whether text is exactly one of the versions.
bool Whole(const std::string& text) {
  int writer = -1, round = -1;
  if (std::sscanf(text.c_str(), "%d %d", &writer, &round) != 2 || writer < 0 || writer > 1 || round < 0)
    return false;
  return text == Version(writer, round);
}

}  // namespace

// Two instances saving their default settings at once: each save writes a temporary of its own,
// so the file is always one save's whole text, and no save fails for the other's sake.
TEST(FilesThreads, SavesOfOnePathAtOnceEachLeaveOneWholeVersionAndNoTemporary) {
  char pattern[] = "/tmp/varnis-files-threads-XXXXXX";
  ASSERT_TRUE(mkdtemp(pattern));
  const std::filesystem::path dir = pattern;
  const std::string path = (dir / "shared.default").string();
  ASSERT_EQ(Files::SaveFile(path, Version(0, 0)), Files::SaveResult::kSaved);

  constexpr int kRounds = 300;
  std::atomic<int> failedSaves{0}, tornReads{0}, reads{0}, writing{2};
  std::vector<std::thread> threads;
  for (int writer = 0; writer < 2; ++writer) {
    threads.emplace_back([&, writer] {
      for (int round = 0; round < kRounds; ++round) {
        if (Files::SaveFile(path, Version(writer, round)) != Files::SaveResult::kSaved) ++failedSaves;
      }
      --writing;
    });
  }
  threads.emplace_back([&] {
    while (writing.load() > 0) {
      std::string text;
      if (Files::ReadFile(path, text)) {
        ++reads;
        if (!Whole(text)) ++tornReads;
      }
    }
  });
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(failedSaves.load(), 0);
  EXPECT_EQ(tornReads.load(), 0) << "of " << reads.load() << " reads";
  std::string last;
  ASSERT_TRUE(Files::ReadFile(path, last));
  EXPECT_TRUE(Whole(last));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"shared.default"});
  std::filesystem::remove_all(dir);
}
