#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The files beside the store other than the store and its lock: copies set aside, temporaries.
std::vector<std::string> Leftovers(const TemporaryConfig& config) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(config.UserStore().parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name != "registry" && name != "registry.lock") names.push_back(name);
  }
  return names;
}

// Lowers the soft limit on descriptors for the object's lifetime so that exactly `free` more can be
// opened, whatever the test framework and the sanitizers hold open.
class FreeDescriptors {
 public:
  explicit FreeDescriptors(int free) {
    getrlimit(RLIMIT_NOFILE, &mSaved);
    const int lowest = open("/dev/null", O_RDONLY | O_CLOEXEC);
    close(lowest);
    for (rlim_t limit = static_cast<rlim_t>(lowest + free); limit < mSaved.rlim_cur; ++limit) {
      const rlimit lowered{limit, mSaved.rlim_max};
      setrlimit(RLIMIT_NOFILE, &lowered);
      if (Openable() >= free) return;
    }
  }
  ~FreeDescriptors() { setrlimit(RLIMIT_NOFILE, &mSaved); }
  FreeDescriptors(const FreeDescriptors&) = delete;
  FreeDescriptors& operator=(const FreeDescriptors&) = delete;

  static int Openable() {
    std::vector<int> opened;
    opened.reserve(8);
    while (opened.size() < 8) {
      const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
      if (fd < 0) break;
      opened.push_back(fd);
    }
    for (int fd : opened) close(fd);
    return static_cast<int>(opened.size());
  }

 private:
  rlimit mSaved{};
};

// A write that runs short of descriptors (the store's lock, its read and the new store's temporary
// each take one) leaves either the new store whole or the old one as it was, never a copy set aside.
TEST(Registry, AWriteShortOfDescriptorsReplacesTheStoreWholeOrLeavesItUntouched) {
  const std::string key = "Software\\Quillmore\\Recent Directories\\";
  for (int free : {1, 2, 3}) {
    SCOPED_TRACE(std::to_string(free) + " descriptors free");
    TemporaryConfig config;
    ASSERT_TRUE(Registry::WriteString(key, "Kept", "/home/me/kept"));
    ASSERT_TRUE(Registry::WriteString(key, "Changed", "/home/me/old"));
    const std::string old = ReadText(config.UserStore());
    bool written = false;
    {
      const FreeDescriptors limit(free);
      ASSERT_EQ(FreeDescriptors::Openable(), free);
      written = Registry::WriteString(key, "Changed", "/home/me/new");
    }
    EXPECT_EQ(Leftovers(config), std::vector<std::string>{});
    EXPECT_EQ(Registry::ReadString(key, "Kept"), "/home/me/kept");
    if (written) {
      EXPECT_EQ(Registry::ReadString(key, "Changed"), "/home/me/new");
    } else {
      EXPECT_TRUE(ReadText(config.UserStore()) == old) << "the old store changed";
      EXPECT_EQ(Registry::ReadString(key, "Changed"), "/home/me/old");
    }
    // The lock and the read need two at once, and so do the lock and the new store's temporary.
    EXPECT_EQ(written, free >= 2);
  }
}

// A damaged store is set aside only once the new store is written whole.
TEST(Registry, ADamagedStoreStaysInPlaceWhenTheNewStoreCannotBeWritten) {
  TemporaryConfig config;
  std::filesystem::create_directories(config.UserStore().parent_path());
  const std::string damaged = "Software\\\\Quillmore\\\\A\tx\tkept\nthis line has no tabs\n";
  WriteText(config.UserStore(), damaged);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit small{16, saved.rlim_max};  // shorter than any store
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = Registry::WriteString("Software\\Quillmore\\B", "y", "new");
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(written);
  EXPECT_TRUE(ReadText(config.UserStore()) == damaged) << "the damaged store changed";
  EXPECT_EQ(Leftovers(config), std::vector<std::string>{});
  // Once writes can succeed it is set aside as before.
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\B", "y", "new"));
  ASSERT_EQ(Asides(config).size(), 1u);
  EXPECT_TRUE(ReadText(Asides(config)[0]) == damaged);
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
