#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "framework/archive/Archive.h"
#include "framework/core/PluginUIRootInterface.h"
#include "framework/core/SettingsMetaData.h"
#include "tests/framework/core/CoreFixture.h"
#include "tests/framework/core/TestDescription.h"

namespace {

// A product whose state is two numbers, the second read after the first so that a load can fail
// half-way.
class StateCore : public HookCore {
 public:
  using HookCore::HookCore;
  std::int32_t first = 1;
  std::int32_t second = 2;
  std::string label = "fine";

 protected:
  void SaveProductState(Serialization::Archive& archive) override {
    archive.WriteInt("first", first);
    archive.WriteInt("second", second);
    archive.WriteString("label", label);
  }
  void LoadProductState(Serialization::Archive& archive, const ZEBPluginSettingsMetaData& metaData) override {
    if (std::string(metaData.GetManufacturer()) != "Quillmore") throw 0;
    first = archive.ReadInt("first");
    second = archive.ReadInt("second");
    label = archive.ReadString("label");
  }
};

// Collects what the core reports.
class RecordingRoot : public PluginUIRootInterface {
 public:
  bool IsOpen() const override { return true; }
  bool ShowError(const char* message, const char* detail, std::int32_t, std::int32_t) override {
    reports.push_back(std::string(message ? message : "") + " | " + (detail ? detail : ""));
    return true;
  }
  std::vector<std::string> reports;
};

class CoreSettings : public ::testing::Test {
 protected:
  void SetUp() override { core.SetUIRoot(&root); }
  std::string Text(std::int32_t first, std::int32_t second, const char* manufacturer = "Quillmore") {
    StateCore other(&platform);
    other.first = first;
    other.second = second;
    std::string text = other.LiveSettingsText();
    const std::string tag = "<att name=\"manufacturer\" type=\"str\">";
    return text.replace(text.find(tag) + tag.size(), 9, manufacturer);
  }

  PluginMetaClassRef metaClass;
  FakePlatform platform;
  StateCore core{&platform};
  RecordingRoot root;
};

}  // namespace

TEST_F(CoreSettings, ApplyingATextLoadsTheProductState) {
  EXPECT_TRUE(core.ApplySettingsText(Text(10, 20)));
  EXPECT_EQ(core.first, 10);
  EXPECT_EQ(core.second, 20);
  EXPECT_TRUE(root.reports.empty());
}

TEST_F(CoreSettings, ATextThatFailsHalfWayLeavesTheStateAsItWas) {
  std::string broken = Text(10, 20);
  broken.replace(broken.find("name=\"second\""), 13, "name=\"other\" ");
  EXPECT_FALSE(core.ApplySettingsText(broken));
  EXPECT_EQ(core.first, 1);
  EXPECT_EQ(core.second, 2);
  EXPECT_FALSE(core.ApplySettingsText(Text(10, 20, "Elsewhere")));
  EXPECT_EQ(core.first, 1);
  EXPECT_EQ(root.reports,
            (std::vector<std::string>{
                "Unable to load settings. | These are not valid settings or the settings have been "
                "corrupted.  ",
                "Unable to load settings. | "}));
}

TEST_F(CoreSettings, ProgramSwitchesKeepEachProgramsState) {
  core.first = 5;
  core.SetProgram(1);  // program 1 is empty: it gets the default settings text
  EXPECT_EQ(core.GetCurrentProgram(), 1);
  core.first = 7;
  core.SetProgram(0);
  EXPECT_EQ(core.first, 5);
  core.SetProgram(1);
  EXPECT_EQ(core.first, 7);
  core.SetProgram(1);  // the current program: nothing saved or applied
  EXPECT_EQ(core.first, 7);
}

TEST_F(CoreSettings, AChunkIsNeverEmptyEvenWhenTheLiveStateCannotBeWritten) {
  void* data = nullptr;
  const std::int32_t good = core.GetChunk(&data, true);
  ASSERT_GT(good, 16);
  const std::string before(static_cast<const char*>(data), static_cast<size_t>(good));
  core.label = "ends </att> early";
  const std::int32_t size = core.GetChunk(&data, true);
  EXPECT_EQ(std::string(static_cast<const char*>(data), static_cast<size_t>(size)), before);
  ASSERT_EQ(root.reports.size(), 1u);
  EXPECT_EQ(root.reports[0], "Unable to save settings. | An unknown error occurred.");
}

TEST_F(CoreSettings, DefaultSettingsGoThroughThePlatform) {
  struct FilePlatform : FakePlatform {
    bool LoadDefaultSettings(const std::string& name, std::string& text) override {
      if (name != "Unit Product" || file.empty()) return false;
      text = file;
      return true;
    }
    bool SaveDefaultSettings(const std::string& name, const std::string& text) override {
      if (name != "Unit Product") return false;
      file = text;
      return true;
    }
    std::string file;
  } files;
  StateCore product(&files);
  product.SetUIRoot(&root);
  EXPECT_FALSE(product.LoadDefaultSettings("Unit Product"));
  product.first = 42;
  ASSERT_TRUE(product.SaveDefaultSettings("Unit Product"));
  EXPECT_EQ(files.file.back(), '\0');  // the archive as written, no line feed added
  product.first = 0;
  EXPECT_TRUE(product.LoadDefaultSettings("Unit Product"));
  EXPECT_EQ(product.first, 42);
  files.file = "garbage";
  EXPECT_FALSE(product.LoadDefaultSettings("Unit Product"));
  EXPECT_EQ(product.first, 42);
  EXPECT_TRUE(root.reports.empty());  // default settings fail quietly
}
