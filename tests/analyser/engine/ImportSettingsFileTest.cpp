// Reading a settings file for the editor: our own, another maker's, none and a broken one.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "framework/archive/XMLArchive.h"
#include "tests/support/StubPlatform.h"

namespace {

std::string ReplacedEverywhere(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

TEST(ImportSettingsFile, OurSettingsComeBackReadyToLoadTheScopeSettings) {
  StubPlatform platform;
  Korvane plugin(&platform, IOConfig{2, 2});
  KVNPhaseConfig& config = *plugin.GetServiceList().GetPhaseService().GetPhaseConfig();
  config.SetPlotType(KVNPhaseConfig::typeXYCentered, false);
  const std::string text = plugin.LiveSettingsText();
  config.SetPlotType(KVNPhaseConfig::typePolar, false);

  const auto imported = Korvane::ImportSettingsFile(text);
  ASSERT_NE(imported, nullptr);
  Serialization::XMLArchive& archive = *imported->archive;
  ASSERT_TRUE(archive.EnterObjectPath({"KorvanePhaseService"}));
  config.LoadAsObject(archive, "KVNPhaseConfig");
  EXPECT_EQ(config.GetPlotType(), KVNPhaseConfig::typeXYCentered);
}

TEST(ImportSettingsFile, AnotherMakersSettingsLoadNothing) {
  StubPlatform platform;
  Korvane plugin(&platform, IOConfig{2, 2});
  const std::string text = plugin.LiveSettingsText();
  ASSERT_NE(text.find("Quillmore"), std::string::npos);
  const auto imported = Korvane::ImportSettingsFile(ReplacedEverywhere(text, "Quillmore", "Othermaker"));
  ASSERT_NE(imported, nullptr);
  Serialization::XMLArchive& archive = *imported->archive;
  archive.BeginLoad();
  EXPECT_FALSE(archive.HasEntry("KorvanePhaseService"));
  EXPECT_FALSE(archive.EnterObjectPath({"KorvanePhaseService"}));
}

TEST(ImportSettingsFile, NoFileGivesNothingAndABrokenOneThrows) {
  EXPECT_EQ(Korvane::ImportSettingsFile(std::nullopt), nullptr);
  EXPECT_EQ(Korvane::ImportSettingsFile(std::string()), nullptr);
  for (const std::string& broken :
       {std::string("not an archive"), std::string("<obj_archive type=\"x\">\n\t<unclosed"),
        std::string(3, '\0')}) {
    EXPECT_THROW(Korvane::ImportSettingsFile(broken), Serialization::XMLArchive::ParseException) << broken;
  }
}

}  // namespace
