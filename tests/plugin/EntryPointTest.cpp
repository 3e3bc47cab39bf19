#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "framework/services/FourCC.h"
#include "tests/plugin/TestProductFixture.h"

using vsthost::Host;

class EntryPoint : public TestProductFixture {};

TEST_F(EntryPoint, HostWithoutVersionGetsNoEffectAndNothingIsCreated) {
  auto created = Hook<int (*)()>("TestProductMetaClassesCreated");
  const int before = created();
  Host host(*library);
  host.Answer(audioMasterVersion, 0);
  EXPECT_EQ(host.Instantiate(), nullptr);
  EXPECT_EQ(created(), before);
  EXPECT_STREQ(journal(), "");
  ASSERT_EQ(host.Calls().size(), 1u);
  EXPECT_EQ(host.Calls()[0].opcode, audioMasterVersion);
  EXPECT_FALSE(host.Calls()[0].hadEffect);
}

TEST_F(EntryPoint, AttachesTheCoreSuspendedAt44100HzAndBlocksOf2048) {
  Host host(*library);
  ASSERT_NE(host.Instantiate(), nullptr);
  EXPECT_STREQ(journal(), "construct 2x2\nSuspend\nSetSampleRate 44100\nSetBlockSize 2048\n");
}

TEST_F(EntryPoint, FillsTheEffectRecordFromTheDescription) {
  Host host(*library);
  AEffect* effect = host.Instantiate();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, kEffectMagic);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->numPrograms, 4);
  EXPECT_EQ(effect->numParams, 3);
  // The product gives an editor: the host sees the flag.
  EXPECT_EQ(effect->flags,
            effFlagsHasEditor | effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks);
  EXPECT_EQ(effect->uniqueID, FourCC('T', 's', 't', 'P'));
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_EQ(effect->object != nullptr, true);
  EXPECT_EQ(effect->user, nullptr);
}

TEST_F(EntryPoint, TwoInstancesShareOneDescriptionThatGoesWithTheLast) {
  auto created = Hook<int (*)()>("TestProductMetaClassesCreated");
  auto alive = Hook<int (*)()>("TestProductMetaClassesAlive");
  const int before = created();
  {
    Host first(*library);
    Host second(*library);
    ASSERT_NE(first.Instantiate(), nullptr);
    ASSERT_NE(second.Instantiate(), nullptr);
    EXPECT_NE(first.Effect(), second.Effect());
    EXPECT_EQ(created(), before + 1);
    EXPECT_EQ(alive(), 1);
    first.Close();
    EXPECT_EQ(alive(), 1);
  }
  EXPECT_EQ(alive(), 0);
}

TEST_F(EntryPoint, CloseAnswersOneAndDestroysTheInstance) {
  auto host = Instance();
  EXPECT_EQ(host->Close(), 1);
  EXPECT_STREQ(journal(), "Close\ndestroy\n");
}

// The editor's frames are clients of the core's services, so the editor goes first.
TEST_F(EntryPoint, CloseEndsTheEditorBeforeTheCore) {
  auto host = Instance();
  Hook<void (*)(AEffect*)>("TestProductAttachEditor")(host->Effect());
  EXPECT_TRUE(host->Effect()->flags & effFlagsHasEditor);
  EXPECT_EQ(host->Close(), 1);
  EXPECT_STREQ(journal(), "editor close\nClose\neditor destroy\ndestroy\n");
}

TEST_F(EntryPoint, AFailedEntryDoesNotSpoilLaterOnes) {
  for (int failure : {1, 2}) {
    setFailure(failure);
    Host failed(*library);
    EXPECT_EQ(failed.Instantiate(), nullptr) << "failure mode " << failure;
    setFailure(0);
    Host later(*library);
    EXPECT_NE(later.Instantiate(), nullptr) << "after failure mode " << failure;
  }
}

// A failed editor open shows a notice through a fake zenity that stays up a moment; the host
// unloads the plug-in meanwhile.
TEST_F(EntryPoint, UnloadingWhileANoticeIsUpStopsItsReaperAndLeavesTheNoticeToTheHost) {
  const auto threads = [] {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return std::distance(begin(tasks), end(tasks));
  };
  const auto before = threads();
  char folder[] = "/tmp/varnis-notice-XXXXXX";
  ASSERT_TRUE(mkdtemp(folder));
  const std::string dir = folder;
  std::ofstream(dir + "/zenity") << "#!/bin/sh\necho $$ > \"$FAKE_DIR/pid.tmp\"\n"
                                    "mv \"$FAKE_DIR/pid.tmp\" \"$FAKE_DIR/pid\"\nexec sleep 0.5\n";
  chmod((dir + "/zenity").c_str(), 0755);
  const std::string savedPath = std::getenv("PATH");
  setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
  setenv("FAKE_DIR", dir.c_str(), 1);
  const char* display = std::getenv("DISPLAY");
  const std::string savedDisplay = display ? display : "";
  setenv("DISPLAY", ":77", 1);  // the fake needs no server

  auto host = Instance();
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, nullptr), 0);  // no parent: the notice
  pid_t notice = 0;
  for (int i = 0; i < 500 && !notice; ++i) {
    std::ifstream(dir + "/pid") >> notice;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_GT(notice, 0);
  EXPECT_GT(threads(), before);  // its reaper
  host.reset();
  library.reset();
  EXPECT_EQ(threads(), before);
  // The notice outlives the plug-in; the host reaps it.
  int status = -1;
  EXPECT_EQ(waitpid(notice, &status, 0), notice);
  setenv("PATH", savedPath.c_str(), 1);
  if (savedDisplay.empty()) {
    unsetenv("DISPLAY");
  } else {
    setenv("DISPLAY", savedDisplay.c_str(), 1);
  }
  std::filesystem::remove_all(dir);
}

TEST(AnalyserEntryPoint, ExportsOnlyTheTwoEntryNamesOfOneFunction) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  ASSERT_NE(library.Symbol("VSTPluginMain"), nullptr);
  EXPECT_EQ(library.Symbol("main"), library.Symbol("VSTPluginMain"));
  for (const char* hidden :
       {"_Z25CreateVstKorvaneMetaClassv", "_Z22AcquirePluginMetaClassv", "_ZTV9VSTPlugin"}) {
    EXPECT_EQ(library.Symbol(hidden), nullptr) << hidden;
  }
}

TEST(AnalyserEntryPoint, RecordDescribesTheAnalyser) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  Host host(library);
  AEffect* effect = host.Instantiate();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->numParams, 1);
  EXPECT_EQ(effect->flags & (effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks), 0x38);
  EXPECT_EQ(effect->uniqueID, 0x37313831);
  EXPECT_EQ(host.Dispatch(effGetPlugCategory), 3);
  bool overrun = true;
  EXPECT_EQ(host.DispatchString(effGetEffectName, 0, kVstMaxEffectNameLen, &overrun),
            "KVN Stereo Analyzer (OrbA)");
  EXPECT_FALSE(overrun);
  EXPECT_EQ(host.DispatchString(effGetVendorString, 0, kVstMaxVendorStrLen, &overrun), "Quillmore");
  EXPECT_EQ(host.DispatchString(effGetParamName, 0, kVstMaxParamStrLen, &overrun), "Reset");
  EXPECT_EQ(host.Close(), 1);
}
