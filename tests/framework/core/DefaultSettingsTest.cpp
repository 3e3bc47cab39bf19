#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/core/DefaultSettings.h"
#include "platform/Registry.h"
#include "tests/support/TemporaryConfig.h"

TEST(DefaultSettings, WithoutTheFolderKeyNothingIsReadOrWritten) {
  TemporaryConfig config;
  std::string text = "kept";
  EXPECT_FALSE(ReadDefaultSettingsFile("Product", text));
  EXPECT_EQ(text, "kept");
  EXPECT_FALSE(WriteDefaultSettingsFile("Product", "settings"));
  EXPECT_FALSE(std::filesystem::exists(config.user));
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
