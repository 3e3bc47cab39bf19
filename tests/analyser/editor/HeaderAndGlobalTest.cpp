#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analyser/editor/header/KVNGlobalFrame.h"
#include "analyser/editor/header/KVNHeaderFrame.h"
#include "analyser/editor/header/UserGuide.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/engine/services/KorvanePhaseService.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "platform/Registry.h"
#include "tests/analyser/editor/support/HeadlessEditor.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/toolkit/support/MessageLog.h"
#include "toolkit/controls/AboutFrame.h"
#include "toolkit/controls/GenericControl.h"
#include "toolkit/editor/ErrorFrame.h"

using namespace MeasurementIds;

namespace {

// Header buttons and global buttons, in editor coordinates.
constexpr std::int32_t kLoadX = 399 - 36 + 7, kSaveX = 399 - 22 + 7, kHeaderButtonY = 5 + 7;
constexpr std::int32_t kAboutX = 6 + 60, kAboutY = 434 + 6 + 13;
constexpr std::int32_t kGuideX = 399 - 143 + 6, kGuideY = 434 + 11 + 6;

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The text of the newest error panel, or nothing.
std::string NewestError(HeadlessEditor& e) {
  std::string text;
  for (Frame* frame : e.editor->GetRootFrame()->GetChildren())
    if (auto* error = dynamic_cast<ErrorFrame*>(frame)) text = error->GetText();
  return text;
}

// A click on the modal panel, which goes at the next timer pass.
void DismissError(HeadlessEditor& e) {
  e.Click(199, 235);
  e.Idle();
}

float BalanceThreshold(HeadlessEditor& e) {
  return e.plugin.GetAlarmManager().GetThresholdByName(kBalanceLevel);
}

}  // namespace

class HeaderFiles : public ::testing::Test {
 protected:
  TemporaryConfig config;
  std::filesystem::path folder = config.root / "files";
  void SetUp() override { std::filesystem::create_directories(folder); }
};

// The editor tests' host: settings, the scope's configuration and the alarms changed on a thread
// that does not hold the instance mutex are caught; inside a host's call they are not.
std::vector<std::string> gUnlockedChanges;

TEST(HeadlessEditorHost, CatchesStateChangedWithoutTheInstanceMutex) {
  HeadlessEditor e;
  InstanceMutexCheck::Install([](const char* where) { gUnlockedChanges.emplace_back(where); });
  KVNPhaseConfig& config = *e.plugin.GetServiceList().GetPhaseService().GetPhaseConfig();
  const std::string text = e.plugin.LiveSettingsText();
  const auto caught = [](const char* where) {
    const bool found =
        std::find(gUnlockedChanges.begin(), gUnlockedChanges.end(), where) != gUnlockedChanges.end();
    gUnlockedChanges.clear();
    return found;
  };
  e.plugin.ApplySettingsText(text);
  EXPECT_TRUE(caught("ApplySettingsText"));
  config.SetPlotDensity(3, true);
  EXPECT_TRUE(caught("SetPlotDensity"));
  e.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 2.0f);
  EXPECT_TRUE(caught("SetThreshold"));
  {
    HostCall call(e.host);
    e.plugin.ApplySettingsText(text);
    config.SetPlotDensity(4, true);
    e.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 3.0f);
  }
  EXPECT_TRUE(gUnlockedChanges.empty());
}

TEST_F(HeaderFiles, ASavedSettingsFileLoadsBackAndEndsWithItsZeroByte) {
  HeadlessEditor e;
  ASSERT_NE(e.window, nullptr);
  {
    HostCall call(e.host);
    e.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 9.5f);
  }
  const std::filesystem::path file = folder / "mine";
  e.platform.ScriptChooserAnswer(file.string());
  e.Click(kSaveX, kHeaderButtonY);
  e.Idle();
  ASSERT_EQ(e.platform.ChooserRequests().size(), 1u);
  EXPECT_TRUE(e.platform.ChooserRequests()[0].save);
  EXPECT_EQ(e.platform.ChooserRequests()[0].suggestedName, "KVN Stereo Analyzer (OrbA) Settings");
  const std::string saved = ReadAll(folder / "mine.korvane");
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(saved.back(), '\0');
  EXPECT_EQ(saved.find('\0'), saved.size() - 1);
  EXPECT_NE(saved.find("</obj_archive>"), std::string::npos);

  {
    HostCall call(e.host);
    e.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 3.0f);
  }
  e.platform.ScriptChooserAnswer((folder / "mine.korvane").string());
  e.Click(kLoadX, kHeaderButtonY);
  e.Idle();
  EXPECT_EQ(BalanceThreshold(e), 9.5f);
  EXPECT_EQ(NewestError(e), "");
}

// Files that are not our settings load nothing and are reported; the settings stay.
TEST_F(HeaderFiles, LoadsFilesWithOrWithoutTheZeroByteAndRefusesOthersCleanly) {
  HeadlessEditor reference;
  {
    HostCall call(reference.host);
    reference.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 12.0f);
  }
  std::string text = reference.plugin.LiveSettingsText();
  text = text.substr(0, text.find('\0'));
  std::string otherMaker = text;
  for (std::size_t at = otherMaker.find("Quillmore"); at != std::string::npos;
       at = otherMaker.find("Quillmore"))
    otherMaker.replace(at, 9, "Elsewhere");

  struct Case {
    const char* name;
    std::string content;
    bool loads;
  };
  const Case cases[] = {
      {"no trailing zero", text, true},
      {"with the zero byte", text + '\0', true},
      {"empty", "", false},
      {"another maker's", otherMaker, false},
      {"cut short", text.substr(0, text.size() / 2), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessEditor e;
    WriteAll(folder / "in.korvane", c.content);
    e.platform.ScriptChooserAnswer((folder / "in.korvane").string());
    e.Click(kLoadX, kHeaderButtonY);
    e.Idle();
    EXPECT_EQ(BalanceThreshold(e), c.loads ? 12.0f : 6.0f);
    EXPECT_EQ(NewestError(e).empty(), c.loads);
  }
}

// With nothing in the store, the default settings live beside it; a folder the store names wins.
TEST_F(HeaderFiles, DefaultSettingsWithShiftGoBesideTheStoreOrIntoTheFolderItNames) {
  const std::filesystem::path besideStore = config.user / "quillmore" / "KVN Stereo Analyzer (OrbA).default";
  {
    HeadlessEditor e;
    e.Click(kLoadX, kHeaderButtonY, kModifierShift);
    EXPECT_EQ(NewestError(e), "Can't load default settings.");
    EXPECT_EQ(BalanceThreshold(e), 6.0f);
    DismissError(e);
    {
      HostCall call(e.host);
      e.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 15.0f);
    }
    e.Click(kSaveX, kHeaderButtonY, kModifierShift);
    EXPECT_EQ(NewestError(e), "Default settings saved.");
    EXPECT_TRUE(e.platform.ChooserRequests().empty()) << "no dialog for Shift clicks";
  }
  EXPECT_TRUE(std::filesystem::exists(besideStore));
  EXPECT_FALSE(std::filesystem::exists(config.UserStore())) << "the folder is not written into the store";
  {
    HeadlessEditor e;
    {
      HostCall call(e.host);
      e.plugin.Open();  // as a host's effOpen
    }
    EXPECT_EQ(BalanceThreshold(e), 15.0f);
    {
      HostCall call(e.host);
      e.plugin.GetAlarmManager().SetThreshold(kBalanceLevel, 1.0f);
    }
    e.Click(kLoadX, kHeaderButtonY, kModifierShift | kModifierControl);
    EXPECT_TRUE(e.platform.ChooserRequests().empty()) << "Ctrl+Shift is refused by the button";
    EXPECT_EQ(BalanceThreshold(e), 1.0f);
    e.Click(kLoadX, kHeaderButtonY, kModifierShift);
    EXPECT_EQ(BalanceThreshold(e), 15.0f);
  }

  ASSERT_TRUE(
      Registry::WriteString("Software\\Quillmore\\Default Settings", "", (folder / "defaults").string()));
  HeadlessEditor e;
  e.Click(kLoadX, kHeaderButtonY, kModifierShift);
  EXPECT_EQ(NewestError(e), "Can't load default settings.") << "the named folder holds none yet";
  DismissError(e);
  e.Click(kSaveX, kHeaderButtonY, kModifierShift);
  EXPECT_EQ(NewestError(e), "Default settings saved.");
  EXPECT_TRUE(std::filesystem::exists(folder / "defaults" / "KVN Stereo Analyzer (OrbA).default"));
}

TEST_F(HeaderFiles, ADialogUpTakesNoSecondClickAndClosingTheEditorDropsItsAnswer) {
  HeadlessEditor e;
  e.Click(kLoadX, kHeaderButtonY);  // unscripted: the dialog stays up
  e.Click(kSaveX, kHeaderButtonY);
  EXPECT_EQ(e.platform.ChooserRequests().size(), 1u);
  e.editor->close();
  e.Idle();
  EXPECT_EQ(BalanceThreshold(e), 6.0f);
}

TEST(GlobalStrip, TheGuideButtonOpensTheFirstInstalledGuideAndNothingWithoutOne) {
  TemporaryConfig config;
  const std::filesystem::path home = config.root / "home", system = config.root / "system-data";
  const std::filesystem::path relative = "Quillmore/KORVANE/KORVANE User's Guide.pdf";
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  setenv("XDG_DATA_DIRS", (std::string("relative:") + system.string()).c_str(), 1);
  {
    HeadlessEditor e;
    e.Click(kGuideX, kGuideY);
    EXPECT_TRUE(e.platform.Documents().empty());
  }
  std::filesystem::create_directories((system / relative).parent_path());
  WriteAll(system / relative, "%PDF");
  EXPECT_EQ(FindUserGuide(), (system / relative).string());
  std::filesystem::create_directories((home / relative).parent_path());
  WriteAll(home / relative, "%PDF");
  HeadlessEditor e;
  e.Click(kGuideX, kGuideY);
  EXPECT_EQ(e.platform.Documents(), std::vector<std::string>{(home / relative).string()});
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_DATA_DIRS");
}

TEST(GlobalStrip, BothPictureButtonsShowTheOneAboutPage) {
  HeadlessEditor e;
  Frame* main = e.editor->GetPage();
  KVNGlobalFrame* strip = nullptr;
  for (Frame* frame : main->GetChildren())
    if (auto* global = dynamic_cast<KVNGlobalFrame*>(frame)) strip = global;
  ASSERT_NE(strip, nullptr);
  MessageLog log(e.editor->GetMessagingServer(),
                 strip->FindControl(KVNGlobalFrame::kAbout)->GetControlMsgClass());
  e.Click(kAboutX, kAboutY);
  // The page hides the button during its release: still one release, after the action.
  EXPECT_EQ(log.entries, (std::vector<MessageLog::Entry>{{GenericControl::kPressed, 0},
                                                         {GenericControl::kValueChanged, 1},
                                                         {GenericControl::kReleased, 0}}));
  auto* about = dynamic_cast<AboutFrame*>(e.editor->GetPage());
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->GetPictureRect().left, 57);
  EXPECT_EQ(about->GetPictureRect().top, 132);
  e.Click(100, 100);
  EXPECT_EQ(e.editor->GetPage(), main);
  e.Click(399 - 60, 434 + 12);
  EXPECT_EQ(e.editor->GetPage(), about) << "the same page, made once";
}

TEST(SettingsFileData, IsTheTextUpToAndWithItsFirstZeroByte) {
  EXPECT_EQ(SettingsFileData(std::string("abc\0\n", 5)), std::string("abc\0", 4));
  EXPECT_EQ(SettingsFileData("abc"), std::string("abc\0", 4));
}
