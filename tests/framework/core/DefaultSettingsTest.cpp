#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/core/DefaultSettings.h"
#include "platform/Registry.h"
#include "tests/support/TemporaryConfig.h"

// Nothing on Linux names a folder: the files live beside the store, which stays as it was.
TEST(DefaultSettings, WithoutTheFolderKeyTheFilesLiveInTheStoresFolder) {
  TemporaryConfig config;
  const auto folder = config.user / "quillmore";
  EXPECT_EQ(ReadDefaultSettingsDirectory(), folder.string());
  std::string text = "kept";
  EXPECT_FALSE(ReadDefaultSettingsFile("Product", text));
  EXPECT_EQ(text, "kept");
  EXPECT_FALSE(std::filesystem::exists(config.user)) << "reading creates nothing";
  ASSERT_TRUE(WriteDefaultSettingsFile("Product", "settings"));  // makes the folder and its parent
  ASSERT_TRUE(ReadDefaultSettingsFile("Product", text));
  EXPECT_EQ(text, "settings");
  EXPECT_TRUE(std::filesystem::exists(folder / "Product.default"));
  EXPECT_FALSE(std::filesystem::exists(config.UserStore()));
  EXPECT_EQ(ReadRegistryValue("Default Settings"), "");

  unsetenv("XDG_CONFIG_HOME");
  const std::string home = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", config.root.c_str(), 1);
  EXPECT_EQ(ReadDefaultSettingsDirectory(), (config.root / ".config" / "quillmore").string());
  unsetenv("HOME");
  EXPECT_EQ(ReadDefaultSettingsDirectory(), "");
  EXPECT_FALSE(WriteDefaultSettingsFile("Product", "settings"));
  EXPECT_FALSE(ReadDefaultSettingsFile("Product", text));
  if (!home.empty()) setenv("HOME", home.c_str(), 1);
}

TEST(DefaultSettings, WritesIntoTheFolderTheRegistryNamesCreatingOneLevel) {
  TemporaryConfig config;
  const auto folder = config.root / "presets";
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\Default Settings", "", folder.string()));
  EXPECT_EQ(ReadDefaultSettingsDirectory(), folder.string());
  EXPECT_EQ(DefaultSettingsPath("/a/b", "KVN Stereo Analyzer (OrbA)"),
            "/a/b/KVN Stereo Analyzer (OrbA).default");
  ASSERT_TRUE(WriteDefaultSettingsFile("Product", std::string("text\0with zero", 14)));
  std::string text;
  ASSERT_TRUE(ReadDefaultSettingsFile("Product", text));
  EXPECT_EQ(text, std::string("text\0with zero", 14));
  ASSERT_TRUE(WriteDefaultSettingsFile("Product", ""));
  ASSERT_TRUE(ReadDefaultSettingsFile("Product", text));
  EXPECT_EQ(text, "");

  ASSERT_TRUE(
      Registry::WriteString("Software\\Quillmore\\Default Settings", "", (config.root / "x" / "y").string()));
  EXPECT_FALSE(WriteDefaultSettingsFile("Product", "settings"));  // only one level is created
}

TEST(DefaultSettings, AFailedSaveKeepsTheOldFile) {
  TemporaryConfig config;
  const auto folder = config.root / "presets";
  ASSERT_TRUE(Registry::WriteString("Software\\Quillmore\\Default Settings", "", folder.string()));
  ASSERT_TRUE(WriteDefaultSettingsFile("Product", "old"));
  // Read-only by its mode, which even root may not replace.
  std::filesystem::permissions(folder / "Product.default", std::filesystem::perms::owner_read);
  EXPECT_FALSE(WriteDefaultSettingsFile("Product", "new"));
  std::string text;
  ASSERT_TRUE(ReadDefaultSettingsFile("Product", text));
  EXPECT_EQ(text, "old");
}

TEST(DefaultSettings, Tokenizing) {
  std::vector<std::string> pieces{"stale"};
  TokenizeString("a,,b,", ",", pieces, false);
  EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b"}));
  TokenizeString("a,,b,", ",", pieces, true);
  EXPECT_EQ(pieces, (std::vector<std::string>{"a", "", "b", ""}));
  TokenizeString(",x=1;y", "=,;", pieces, false);
  EXPECT_EQ(pieces, (std::vector<std::string>{"x", "1", "y"}));
  TokenizeString(nullptr, ",", pieces, true);
  EXPECT_TRUE(pieces.empty());
  TokenizeString("", ",", pieces, true);
  EXPECT_TRUE(pieces.empty());
}
