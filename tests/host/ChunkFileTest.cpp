// The state chunk file: which files reach the plug-in, and as what.
#include "host/vst/ChunkFile.h"
#include "host/vst/TvMultimeterPlugin.h"
#include "tests/host/RecorderLog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

using namespace tolvaran;

namespace {

// Runs each case in a fresh current directory, where the host looks for its chunk file.
class ChunkFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    char pattern[] = "/tmp/tolvaran-chunk-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(previous_), 0);
    ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0);
  }

  static void write(const std::string& bytes) { std::ofstream(kChunkFileName, std::ios::binary) << bytes; }

  char previous_[PATH_MAX] = {};
  std::string dir_;
};

TEST_F(ChunkFile, WhatReachesThePlugin) {
  struct Case {
    const char* name;
    const char* variant;
    std::function<void()> make;
    bool sent;
    std::string chunk;  // as the plug-in receives it: size = the file's size
  };
  const std::string big(16, 'x');
  const Case cases[] = {
      {"absent", "recorder", [] {}, false, ""},
      {"no chunk flag", "recorder_no_chunks", [] { write("<a>\n"); }, false, ""},
      {"empty", "recorder", [] { write(""); }, true, ""},
      {"LF", "recorder", [] { write("one\ntwo\n"); }, true, "one\ntwo\n"},
      {"CR LF", "recorder", [] { write("one\r\ntwo\r\n"); }, true, std::string("one\ntwo\n\0\0", 10)},
      {"lone CR", "recorder", [] { write("one\rtwo\r"); }, true, "one\rtwo\r"},
      {"CR CR LF", "recorder", [] { write("a\r\r\n"); }, true, std::string("a\r\n\0", 4)},
      {"directory", "recorder", [] { ASSERT_EQ(mkdir(kChunkFileName, 0700), 0); }, false, ""},
      {"named pipe", "recorder", [] { ASSERT_EQ(mkfifo(kChunkFileName, 0600), 0); }, false, ""},
      {"over 16 MiB", "recorder",
       [] {
         write("x");
         ASSERT_EQ(truncate(kChunkFileName, static_cast<off_t>(kMaxChunkFileBytes) + 1), 0);
       },
       false, ""},
      {"16 MiB exactly", "recorder",
       [] {
         write("");
         ASSERT_EQ(truncate(kChunkFileName, static_cast<off_t>(kMaxChunkFileBytes)), 0);
       },
       true, std::string(kMaxChunkFileBytes, '\0')},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(std::system(("rm -rf " + std::string(kChunkFileName)).c_str()), 0);
    c.make();
    TvMultimeterPlugin plugin{QString()};
    ASSERT_TRUE(plugin.load_plugin(recorder_path(c.variant).c_str()));
    clear_recorded_calls();
    EXPECT_EQ(plugin.load_chunk_file(), 0) << c.name;

    const std::vector<RecordedCall> calls = recorded_calls();
    if (!c.sent) {
      EXPECT_TRUE(calls.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(calls.size(), 3u) << c.name;
    EXPECT_EQ(calls[0].opcode, effBeginSetProgram) << c.name;
    EXPECT_EQ(calls[1].opcode, effSetChunk) << c.name;
    EXPECT_EQ(calls[1].index, 0) << c.name << ": a bank";
    EXPECT_EQ(calls[1].value, static_cast<intptr_t>(c.chunk.size())) << c.name;
    EXPECT_NE(calls[1].ptr, nullptr) << c.name;
    EXPECT_TRUE(calls[1].chunk == c.chunk) << c.name;
    EXPECT_EQ(calls[2].opcode, effEndSetProgram) << c.name;
  }
}

TEST_F(ChunkFile, AnUnreadableFileIsSkipped) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  write("<a>\n");
  ASSERT_EQ(chmod(kChunkFileName, 0), 0);
  TvMultimeterPlugin plugin{QString()};
  ASSERT_TRUE(plugin.load_plugin(recorder_path("recorder").c_str()));
  clear_recorded_calls();
  EXPECT_EQ(plugin.load_chunk_file(), 0);
  EXPECT_TRUE(recorded_calls().empty());
}

TEST_F(ChunkFile, SavingWritesThePluginsBank) {
  TvMultimeterPlugin plugin{QString()};
  ASSERT_TRUE(plugin.load_plugin(recorder_path("recorder").c_str()));
  clear_recorded_calls();
  ASSERT_TRUE(plugin.save_chunk_file());
  EXPECT_EQ(recorded_opcodes(), std::vector<int32_t>{effGetChunk});
  EXPECT_EQ(recorded_calls()[0].index, 0);
  std::vector<char> bytes;
  ASSERT_TRUE(read_whole_file(kChunkFileName, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(kRecorderChunk, sizeof kRecorderChunk));
}

}  // namespace
