#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/support/ArchiveText.h"
#include "tests/support/StderrCapture.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

using vsthost::GetChunk;
using vsthost::Host;
using vsthost::SetChunk;

namespace {

class Analyser : public ::testing::Test {
 protected:
  std::unique_ptr<Host> Instance() {
    auto host = std::make_unique<Host>(library);
    EXPECT_NE(host->Instantiate(), nullptr);
    return host;
  }
  // The chunk with its alarm manager holding one stored alarm of the given attribute lines.
  static std::string WithAlarm(std::string chunk, const std::string& attributes) {
    const std::string manager =
        "<obj id=\"0000000001\" name=\"KVNAlarmManager\" type=\"QMR_KVNAlarmManager\">\n"
        "\t<att name=\"alarm_count\" type=\"i\">1</att>\n"
        "\t<obj id=\"0000000002\" name=\"0\" type=\"QMR_PersistentAlarmInfo\">\n" +
        attributes + "\t</obj>\n</obj>\n";
    const size_t from = chunk.rfind("<obj", chunk.find("name=\"KVNAlarmManager\""));
    EXPECT_NE(from, std::string::npos);
    return from == std::string::npos ? chunk
                                     : chunk.replace(from, chunk.find("</obj_archive>") - from, manager);
  }
  static std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  }

  vsthost::PluginLibrary library{VARNIS_PATH};
};

}  // namespace

TEST_F(Analyser, PassesAudioThroughBitForBit) {
  auto host = Instance();
  host->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host->Dispatch(effMainsChanged, 0, 1);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(-1.5f, 1.5f);
  for (std::int32_t frames : {1, 480, 512, 2048, 4096}) {
    host->Dispatch(effSetBlockSize, 0, frames);
    std::vector<float> left(frames), right(frames);
    for (std::int32_t i = 0; i < frames; ++i) {
      left[i] = sample(random);
      right[i] = sample(random);
    }
    left[0] = std::nanf("");  // odd samples pass untouched too
    if (frames > 2) right[1] = INFINITY, right[2] = 1e30f;
    std::vector<float> outLeft(frames, 9.0f), outRight(frames, 9.0f);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 3; ++block) host->ProcessReplacing(inputs, outputs, frames);
    EXPECT_EQ(std::memcmp(outLeft.data(), left.data(), frames * sizeof(float)), 0) << frames;
    EXPECT_EQ(std::memcmp(outRight.data(), right.data(), frames * sizeof(float)), 0) << frames;
    std::vector<float> zerosLeft(frames, 0.0f), zerosRight(frames, 0.0f);
    float* accumulated[] = {zerosLeft.data(), zerosRight.data()};
    host->Process(inputs, accumulated, frames);
    EXPECT_EQ(std::memcmp(zerosRight.data(), right.data(), frames * sizeof(float)), 0) << frames;
    EXPECT_EQ(std::memcmp(zerosLeft.data(), left.data(), frames * sizeof(float)), 0) << frames;
  }
}

TEST_F(Analyser, AChunkFromOneInstanceRestoresAnother) {
  auto first = Instance();
  auto second = Instance();
  const std::string changed =
      Replace(Replace(GetChunk(*first, true), "typePolar</att>", "typeXY</att>"),
              "\"mGainDb\" type=\"f\">0.0000000000000000", "\"mGainDb\" type=\"f\">6.5");
  ASSERT_EQ(SetChunk(*first, changed, true), 1);
  for (const bool preset : {true, false}) {
    ASSERT_EQ(SetChunk(*second, GetChunk(*first, preset), preset), 1);
    EXPECT_EQ(WithoutIds(GetChunk(*second, preset)), WithoutIds(GetChunk(*first, preset)));
  }
  EXPECT_NE(GetChunk(*second, true).find("typeXY</att>"), std::string::npos);
  EXPECT_NE(GetChunk(*second, true).find(">6.5000000000000000<"), std::string::npos);
}

TEST_F(Analyser, RefusedChunksOfEveryKindLeaveTheStateAlone) {
  auto host = Instance();
  const std::string good = GetChunk(*host, true);
  const std::string bank = GetChunk(*host, false);
  ASSERT_EQ(SetChunk(*host, Replace(good, "typePolar</att>", "typeXY</att>"), true), 1);
  const std::string before = WithoutIds(GetChunk(*host, false));
  std::mt19937 random(3);
  std::string binary(3000, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  std::string crlf = good;
  for (size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2) crlf.insert(at, "\r");
  const std::string cases[] = {
      "Quillmore",
      "Quillmore" + binary,
      binary,
      crlf,
      Replace(good, ">Quillmore</att>", ">Elsewhere</att>"),
      good.substr(0, good.size() / 2),
      bank.substr(0, bank.size() * 2 / 3),
      Replace(good, "name=\"KVNAlarmManager\"", "name=\"SomethingElse\""),
  };
  StderrCapture quiet;
  for (const std::string& chunk : cases) {
    for (const bool preset : {true, false}) {
      EXPECT_EQ(SetChunk(*host, chunk, preset), 0) << "preset " << preset << ": " << chunk.substr(0, 50);
      EXPECT_EQ(WithoutIds(GetChunk(*host, false)), before)
          << "preset " << preset << ": " << chunk.substr(0, 50);
    }
  }
  EXPECT_EQ(host->Dispatch(effSetChunk, 1, 0, const_cast<char*>("")), 0);
}

TEST_F(Analyser, AnotherMakersSettingsAreRefusedWithoutChangingAnything) {
  auto host = Instance();
  const std::string before = WithoutIds(GetChunk(*host, true));
  std::string other = Replace(GetChunk(*host, true), ">Quillmore</att>", ">Elsewhere</att>");
  other = Replace(other, "typePolar</att>", "typeXY</att>");
  StderrCapture capture;
  EXPECT_EQ(SetChunk(*host, other, true), 0);
  EXPECT_NE(capture.Text().find("Unable to load settings."), std::string::npos);
  EXPECT_EQ(WithoutIds(GetChunk(*host, true)), before);
}

TEST_F(Analyser, OpeningLoadsTheDefaultSettingsFileTheRegistryNames) {
  TemporaryConfig config;
  auto author = Instance();
  const std::string settings = Replace(GetChunk(*author, true), "typePolar</att>", "typeXYCentered</att>");
  const auto folder = config.root / "defaults";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "KVN Stereo Analyzer (OrbA).default", std::ios::binary)
      << settings.substr(0, settings.find('\0') + 1);
  std::filesystem::create_directories(config.SystemStore().parent_path());
  std::ofstream(config.SystemStore())
      << "Software\\\\Quillmore\\\\Default Settings\t\t" << folder.string() << "\n";

  auto host = Instance();
  EXPECT_EQ(GetChunk(*host, true).find("typeXYCentered</att>"), std::string::npos);
  host->Dispatch(effOpen);
  EXPECT_NE(GetChunk(*host, true).find("typeXYCentered</att>"), std::string::npos);

  std::ofstream(folder / "KVN Stereo Analyzer (OrbA).default", std::ios::binary) << "damaged";
  auto other = Instance();
  StderrCapture quiet;
  other->Dispatch(effOpen);
  EXPECT_EQ(quiet.Text(), "");  // a bad default settings file is ignored quietly
  EXPECT_NE(GetChunk(*other, true).find("typePolar</att>"), std::string::npos);
}

TEST_F(Analyser, AlarmSettingsSurviveSavesAndRefusalsWhileTheEditorIsClosed) {
  auto host = Instance();
  const std::string chunk =
      WithAlarm(GetChunk(*host, true),
                "\t\t<att name=\"uai\" type=\"str\">phase_and_balance.balance.level</att>\n"
                "\t\t<att name=\"th\" type=\"f\">7.2500000000000000</att>\n"
                "\t\t<att name=\"severity\" type=\"i\">3</att>\n");
  ASSERT_EQ(SetChunk(*host, chunk, true), 1);
  StderrCapture quiet;
  EXPECT_EQ(SetChunk(*host, Replace(chunk, ">Quillmore</att>", ">Elsewhere</att>"), true), 0);
  const std::string saved = GetChunk(*host, true);
  EXPECT_NE(saved.find("<att name=\"uai\" type=\"str\">phase_and_balance.balance.level</att>\n"
                       "\t\t<att name=\"th\" type=\"f\">7.2500000000000000</att>\n"
                       "\t\t<att name=\"severity\" type=\"i\">3</att>"),
            std::string::npos)
      << saved;
}

// A value the writer cannot carry is refused when it arrives, so every later save still works.
TEST_F(Analyser, AnUnsaveablePresetIsRefusedAndLaterChangesAreStillSaved) {
  auto host = Instance();
  const std::string unsaveable = WithAlarm(Replace(GetChunk(*host, true), "typePolar</att>", "typeXY</att>"),
                                           "\t\t<att name=\"uai\" type=\"str\">one</program>two</att>\n");
  const std::string before = WithoutIds(GetChunk(*host, false));
  {
    StderrCapture capture;
    EXPECT_EQ(SetChunk(*host, unsaveable, true), 0);
    EXPECT_NE(capture.Text().find("Unable to load settings."), std::string::npos);
  }
  StderrCapture capture;
  EXPECT_EQ(WithoutIds(GetChunk(*host, false)), before);
  const std::string changed = Replace(GetChunk(*host, true), "typePolar</att>", "typeXYCentered</att>");
  ASSERT_EQ(SetChunk(*host, changed, true), 1);
  EXPECT_NE(GetChunk(*host, true).find("typeXYCentered</att>"), std::string::npos);
  EXPECT_EQ(capture.Text(), "");
}
