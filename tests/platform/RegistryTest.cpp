#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

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

// The copies the writes set aside, oldest name first.
std::vector<std::filesystem::path> Asides(const TemporaryConfig& config) {
  std::vector<std::filesystem::path> asides;
  for (const auto& entry : std::filesystem::directory_iterator(config.UserStore().parent_path())) {
    if (entry.path().filename().string().rfind("registry.corrupt.", 0) == 0) asides.push_back(entry.path());
  }
  std::sort(asides.begin(), asides.end());
  return asides;
}

// A valid store of about the given size.
std::string ValidStore(size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i)
    text += "Software\\\\Quillmore\\\\A\tv" + std::to_string(i) + "\tvalue\n";
  return text;
}

TEST(Registry, AStoreThatCannotBeReadReadsAsEmptyAndIsSetAsideWholeNeverOverwritten) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"a line without tabs", "Software\\\\Quillmore\\\\A\tx\tkept\nthis line has no tabs\n"},
      {"over the store's limit", ValidStore(Registry::kMaxStoreSize + 1)},
      {"over the settings files' limit", ValidStore((size_t{20} << 20))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryConfig config;
    std::filesystem::create_directories(config.UserStore().parent_path());
    WriteText(config.UserStore(), c.text);
    EXPECT_FALSE(Registry::ReadString("Software\\Quillmore\\A", "x").has_value());
    EXPECT_FALSE(Registry::ReadString("Software\\Quillmore\\A", "v0").has_value());
    ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\B", "y", "new"));
    EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\B", "y"), "new");
    EXPECT_FALSE(Registry::ReadString("Software\\Quillmore\\A", "v0").has_value());
    const auto asides = Asides(config);
    ASSERT_EQ(asides.size(), 1u);
    EXPECT_TRUE(ReadText(asides[0]) == c.text) << "the copy set aside differs";
    // A second bad store keeps the first copy, even when set aside within the same second.
    WriteText(config.UserStore(), c.text);
    ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\B", "y", "newer"));
    EXPECT_EQ(Asides(config).size(), 2u);
  }
  TemporaryConfig config;
  for (const std::string& bad : {std::string("a\tb\tc\\q\n"), std::string("a\tb\tc\td\n"),
                                 std::string("a\tb\tc\\"), std::string("a\tb\tc\0\n", 7)}) {
    WriteText(config.SystemStore(), bad);
    EXPECT_FALSE(Registry::ReadString("a", "b").has_value()) << bad;
  }
}

TEST(Registry, AnythingButAFileInTheStoresPlaceIsLeftAloneAndWritesFail) {
  TemporaryConfig config;
  std::filesystem::create_directories(config.UserStore());
  EXPECT_FALSE(Registry::WriteString("k", "n", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(config.UserStore()));
  std::filesystem::remove(config.UserStore());
  // A FIFO is neither waited on nor replaced.
  ASSERT_EQ(mkfifo(config.UserStore().c_str(), 0600), 0);
  EXPECT_FALSE(Registry::ReadString("k", "n").has_value());
  EXPECT_FALSE(Registry::WriteString("k", "n", "v"));
  EXPECT_TRUE(std::filesystem::is_fifo(config.UserStore()));
  EXPECT_TRUE(Asides(config).empty());
}

TEST(Registry, AStoreUpToTheLimitIsReadAndNoWriteMakesOneLarger) {
  TemporaryConfig config;
  std::filesystem::create_directories(config.UserStore().parent_path());
  std::string text = ValidStore(Registry::kMaxStoreSize - 100);
  text += std::string(Registry::kMaxStoreSize - text.size() - 1, '#') + "\n";  // a comment up to the limit
  ASSERT_EQ(text.size(), Registry::kMaxStoreSize);
  WriteText(config.UserStore(), text);
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\A", "v0"), "value");
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\A", "v0", "changed"));
  EXPECT_EQ(Registry::ReadString("Software\\Quillmore\\A", "v0"), "changed");
  const std::string kept = ReadText(config.UserStore());
  EXPECT_FALSE(
      Registry::WriteString("Software\\Quillmore\\A", "big", std::string(Registry::kMaxStoreSize, 'x')));
  EXPECT_EQ(ReadText(config.UserStore()), kept);
  EXPECT_TRUE(Asides(config).empty());
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
