#include <gtest/gtest.h>

#include <sys/resource.h>

#include <string>

#include "tests/plugin/TestProductFixture.h"
#include "tests/support/ArchiveText.h"
#include "tests/support/StderrCapture.h"
#include "tests/vsthost/Chunks.h"

using vsthost::GetChunk;
using vsthost::Host;
using vsthost::SetChunk;

namespace {

class Chunks : public TestProductFixture {};

const std::string kSettings =
    "<obj_archive type=\"ZEB Plugin Settings (Quillmore 2026)\">\n"
    "<obj id=\"X\" name=\"Settings Metadata\" type=\"PluginCore_SettingsMetaData\">\n"
    "\t<att name=\"signature\" type=\"str\">Test Product</att>\n"
    "\t<att name=\"name\" type=\"str\">A Test Product Whose Name Is Far Too Long For Hosts</att>\n"
    "\t<att name=\"version\" type=\"str\">0.1</att>\n"
    "\t<att name=\"copyright\" type=\"str\">Quillmore tests</att>\n"
    "\t<att name=\"manufacturer\" type=\"str\">Quillmore</att>\n"
    "\t<att name=\"IOConfig.inputs\" type=\"i\">2</att>\n"
    "\t<att name=\"IOConfig.outputs\" type=\"i\">2</att>\n"
    "</obj>\n"
    "</obj_archive>\n";

}  // namespace

TEST_F(Chunks, ABankIsTheHeaderAndEachProgramsTextFollowedBySixteenZeros) {
  auto host = Instance();
  std::string name = "Mine";
  host->Dispatch(effSetProgramName, 0, 0, name.data());
  const std::string bank = GetChunk(*host, false);
  const std::string expected =
      "<!-- QuillmoreTest Product Program Settings -->\n"
      "<program number=\"0\" name=\"Mine\">\n" +
      kSettings +
      "</program>\n"
      "<program number=\"1\" name=\"User Config 2\">\n</program>\n"
      "<program number=\"2\" name=\"User Config 3\">\n</program>\n"
      "<program number=\"3\" name=\"User Config 4\">\n</program>\n" +
      std::string(16, '\0');
  EXPECT_EQ(WithoutIds(bank), expected);
}

TEST_F(Chunks, AProgramChunkIsTheLiveTextWithItsZeroByteAndLineFeed) {
  auto host = Instance();
  EXPECT_EQ(WithoutIds(GetChunk(*host, true)), kSettings + '\0' + "\n" + std::string(16, '\0'));
  EXPECT_NE(GetChunk(*host, true).substr(0, 500).find("Quillmore"), std::string::npos);
}

TEST_F(Chunks, BankAndProgramChunksRestoreAnotherInstance) {
  auto first = Instance();
  auto second = Instance();
  std::string name = "Carried over";
  first->Dispatch(effSetProgramName, 0, 0, name.data());
  const std::string bank = GetChunk(*first, false);
  EXPECT_EQ(SetChunk(*second, bank, false), 1);
  EXPECT_EQ(WithoutIds(GetChunk(*second, false)), WithoutIds(bank));
  EXPECT_EQ(SetChunk(*second, GetChunk(*first, true), true), 1);
  EXPECT_EQ(WithoutIds(GetChunk(*second, true)), WithoutIds(GetChunk(*first, true)));
}

// A double quote would end the name's value in the bank line: it becomes an apostrophe as it
// enters, and the whole name travels.
TEST_F(Chunks, ANameHoldingDoubleQuotesTravelsWholeThroughABank) {
  auto first = Instance();
  auto second = Instance();
  std::string name = "My \"Best\"\r\nPreset";
  first->Dispatch(effSetProgramName, 0, 0, name.data());
  ASSERT_EQ(SetChunk(*second, GetChunk(*first, false), false), 1);
  EXPECT_EQ(second->DispatchString(effGetProgramNameIndexed, 0, kVstMaxProgNameLen, nullptr),
            "My 'Best'  Preset");
}

TEST_F(Chunks, BankReadingTakesProgramNumbersAndNamesAsWritten) {
  auto host = Instance();
  const std::string bank =
      "<!-- Quillmore Test Product Program Settings -->\n"
      "<plugin_programs>\n"
      "<program number=\"-0\" name=\"Zero \"quoted\">\n" +
      kSettings +
      "</program>\n"
      "<program number=\"-2\" name=\"" +
      std::string(300, 'n') +
      "\">\n</program>\n"
      "<program number=\"5\" name=\"Skipped\">\n" +
      kSettings +
      "</program>\n"
      "<program number=\"-9223372036854775808\" name=\"Huge\">\n</program>\n"
      "</plugin_programs>\n";
  ASSERT_EQ(SetChunk(*host, bank, false), 1);
  EXPECT_EQ(host->DispatchString(effGetProgramNameIndexed, 0, kVstMaxProgNameLen, nullptr), "Zero ");
  EXPECT_EQ(host->DispatchString(effGetProgramNameIndexed, 2, kVstMaxProgNameLen, nullptr),
            std::string(23, 'n'));
  EXPECT_EQ(host->DispatchString(effGetProgramNameIndexed, 3, kVstMaxProgNameLen, nullptr), "User Config 4");
}

TEST_F(Chunks, RefusedChunksChangeNothingAndTheFirstRefusalIsShown) {
  auto host = Instance();
  const std::string before = WithoutIds(GetChunk(*host, false));
  const std::string late = std::string(600, ' ') + "Quillmore" + kSettings;
  std::string crlf = kSettings;
  crlf.insert(crlf.find('\n'), "\r");
  {
    StderrCapture capture;
    EXPECT_EQ(SetChunk(*host, late, true), 0);
    const std::string shown = capture.Text();
    EXPECT_NE(shown.find("Unable to load settings."), std::string::npos) << shown;
    EXPECT_NE(shown.find("These are not valid settings or the settings have been corrupted."),
              std::string::npos);
  }
  {
    StderrCapture capture;
    EXPECT_EQ(SetChunk(*host, crlf, true), 0);
    EXPECT_EQ(SetChunk(*host, std::string(1, '\0') + kSettings, true), 0);
    EXPECT_EQ(capture.Text(), "");  // only the first refusal of an instance is shown
  }
  const std::string garbage[] = {
      "Quillmore",
      "Quillmore <obj_archive type=\"x\"><obj",
      "Quillmore " + std::string(5000, '<'),
      kSettings.substr(0, kSettings.size() / 2),
      "<obj_archive type=\"Quillmore\">\n<obj id=\"1\" name=\"Settings Metadata\" "
      "type=\"t\">\n</obj>\n</obj_archive>\n",
  };
  for (const std::string& chunk : garbage) {
    EXPECT_EQ(SetChunk(*host, chunk, true), 0) << chunk.substr(0, 60);
    EXPECT_EQ(WithoutIds(GetChunk(*host, false)), before);
  }
  EXPECT_EQ(host->Dispatch(effSetChunk, 0, 10, nullptr), 0);
  EXPECT_EQ(host->Dispatch(effSetChunk, 0, 0, const_cast<char*>("Quillmore")), 0);
  void* data = nullptr;
  EXPECT_EQ(host->Dispatch(effGetChunk, 0, 0, nullptr), 0);
  EXPECT_GT(host->Dispatch(effGetChunk, 0, 0, &data), 16);
}

TEST_F(Chunks, ABankWithoutItsHeaderIsRefusedAndReportedEveryTime) {
  auto host = Instance();
  const std::string before = WithoutIds(GetChunk(*host, false));
  const std::string headless = "Quillmore\n<program number=\"0\" name=\"x\">\n" + kSettings + "</program>\n";
  for (int attempt = 0; attempt < 2; ++attempt) {
    StderrCapture capture;
    EXPECT_EQ(SetChunk(*host, headless, false), 0);
    EXPECT_NE(capture.Text().find("(Unable to find the header.)"), std::string::npos) << attempt;
  }
  // A header that is the last line without its line feed is not read either.
  EXPECT_EQ(SetChunk(*host, "<!-- QuillmoreTest Product Program Settings -->", false), 0);
  EXPECT_EQ(WithoutIds(GetChunk(*host, false)), before);
}

TEST_F(Chunks, ABankWithAnyUnreadableProgramIsRefusedWhole) {
  auto host = Instance();
  const std::string before = WithoutIds(GetChunk(*host, false));
  const std::string bank =
      "<!-- QuillmoreTest Product Program Settings -->\n"
      "<program number=\"0\" name=\"Fine\">\n" +
      kSettings +
      "</program>\n"
      "<program number=\"2\" name=\"Broken\">\n<obj_archive type=\"x\">\n<obj\n</program>\n";
  StderrCapture capture;
  EXPECT_EQ(SetChunk(*host, bank, false), 0);
  EXPECT_NE(capture.Text().find("Unable to load settings."), std::string::npos);
  EXPECT_EQ(WithoutIds(GetChunk(*host, false)), before);
}

namespace {

// The most this process has ever had resident, in kilobytes.
long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

// Neither lines nor programs beyond the program count are kept while a bank is read.
TEST_F(Chunks, HugeBanksAreReadInBoundedMemory) {
  auto host = Instance();
  const std::string header = "<!-- QuillmoreTest Product Program Settings -->\n";
  const std::string lineFeeds = header + std::string(16u << 20, '\n');
  std::string programs = header;
  for (int i = 0; i < 1000000; ++i) programs += "<program number=\"4\" name=\"beyond\">\nx\n</program>\n";
  const std::string before = WithoutIds(GetChunk(*host, false));
  for (const std::string* bank : {&lineFeeds, static_cast<const std::string*>(&programs)}) {
    const long peak = PeakResidentKilobytes();
    EXPECT_EQ(host->Dispatch(effSetChunk, 0, static_cast<std::intptr_t>(bank->size()),
                             const_cast<char*>(bank->data())),
              1);
    EXPECT_LT(PeakResidentKilobytes() - peak, 16 * 1024) << bank->size();
    EXPECT_EQ(WithoutIds(GetChunk(*host, false)), before);
  }
}
