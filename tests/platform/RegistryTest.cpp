#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/TemporaryConfig.h"

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(Registry, ValuesRoundTripWithEveryCharacterThatNeedsEscaping) {
  TemporaryConfig config;
  const std::string key = "Software\\Quillmore\\Recent Directories\\";
  const std::string odd = "tab\there\nline\r\\end\\t";
  EXPECT_FALSE(Registry::ReadString(key, "x").has_value());
  ASSERT_TRUE(Registry::WriteString(key, "x", odd));
  ASSERT_TRUE(Registry::WriteString(key, "", "default"));
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\Other", "x", "other"));
  EXPECT_EQ(Registry::ReadString(key, "x"), odd);
  EXPECT_EQ(Registry::ReadString(key, ""), "default");
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\Other", "x"), "other");
  const std::string text = ReadText(config.UserStore());
  EXPECT_NE(
      text.find("Software\\\\Quillmore\\\\Recent Directories\\\\\tx\ttab\\there\\nline\\r\\\\end\\\\t\n"),
      std::string::npos)
      << text;
}

TEST(Registry, SystemStoresAnswerWhatTheUserStoreLacks) {
  TemporaryConfig config;
  WriteText(config.SystemStore(),
            "# provided by the installer\nSoftware\\\\Quillmore\\\\Default Settings\t\t/opt/presets\n");
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\Default Settings", ""), "/opt/presets");
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\Default Settings", "", "/home/me/presets"));
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\Default Settings", ""), "/home/me/presets");
}

TEST(Registry, ACorruptStoreReadsAsEmptyAndIsSetAsideNotErased) {
  TemporaryConfig config;
  std::filesystem::create_directories(config.UserStore().parent_path());
  const std::string corrupt = "Software\\\\Quillmore\\\\A\tx\tkept\nthis line has no tabs\n";
  WriteText(config.UserStore(), corrupt);
  EXPECT_FALSE(Registry::ReadString("Software\\Quillmore\\A", "x").has_value());
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\B", "y", "new"));
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\B", "y"), "new");
  int asides = 0;
  for (const auto& entry : std::filesystem::directory_iterator(config.UserStore().parent_path())) {
    if (entry.path().filename().string().rfind("registry.corrupt.", 0) == 0) {
      ++asides;
      EXPECT_EQ(ReadText(entry.path()), corrupt);
    }
  }
  EXPECT_EQ(asides, 1);
  for (const std::string& bad :
       {std::string("a\tb\tc\\q\n"), std::string("a\tb\tc\td\n"), std::string("a\tb\tc\\")}) {
    WriteText(config.UserStore(), bad);
    EXPECT_FALSE(Registry::ReadString("a", "b").has_value()) << bad;
  }
}

// A writer that finds the store busy gives up rather than wait; every value reported written
// is kept, and the store stays whole.
TEST(Registry, ConcurrentWritersKeepEveryValueTheyReportWritten) {
  TemporaryConfig config;
  std::vector<std::thread> writers;
  bool written[4][20] = {};
  for (int w = 0; w < 4; ++w) {
    writers.emplace_back([w, &written] {
      for (int i = 0; i < 20; ++i) {
        written[w][i] =
            Registry::WriteString("Software\\Quillmore\\W" + std::to_string(w), std::to_string(i), "v");
      }
    });
  }
  for (auto& writer : writers) writer.join();
  int kept = 0;
  for (int w = 0; w < 4; ++w) {
    for (int i = 0; i < 20; ++i) {
      const bool read =
          Registry::ReadString("Software\\Quillmore\\W" + std::to_string(w), std::to_string(i)).has_value();
      EXPECT_TRUE(read || !written[w][i]) << w << " " << i;
      kept += read;
    }
  }
  EXPECT_GT(kept, 0);
}

TEST(Registry, NoWritableStoreWithoutAHome) {
  TemporaryConfig config;
  unsetenv("XDG_CONFIG_HOME");
  const char* home = getenv("HOME");
  const std::string saved = home ? home : "";
  unsetenv("HOME");
  EXPECT_FALSE(Registry::WriteString("k", "n", "v"));
  if (!saved.empty()) setenv("HOME", saved.c_str(), 1);
}
