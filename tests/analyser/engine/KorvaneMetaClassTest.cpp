#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "analyser/engine/KorvaneMetaClass.h"

namespace {

std::unique_ptr<ZEBVstKorvaneMetaClass> Description() { return std::make_unique<ZEBVstKorvaneMetaClass>(); }

}  // namespace

TEST(KorvaneMetaClass, NamesTheAnalyser) {
  auto description = Description();
  EXPECT_EQ(description->GetProductName(), "KVN Stereo Analyzer (OrbA)");
  EXPECT_EQ(description->GetName(), "KVN Stereo Analyzer (OrbA)");
  EXPECT_EQ(description->GetVersion(), "1.2x0");
  EXPECT_EQ(description->GetVendor(), "Quillmore");
  EXPECT_EQ(description->GetCopyright().rfind("Quillmore", 0), 0u);
  EXPECT_EQ(description->GetPrefsName(), "ZEB Korvane Prefs");
  EXPECT_EQ(description->GetPlugCategory(), 3);
  EXPECT_EQ(description->GetUniqueID(), 0x37313831);
  EXPECT_EQ(description->GetNumberOfPrograms(), 1);
  EXPECT_TRUE(description->StoresProgramSettings());
  EXPECT_FALSE(description->SupportsSidechain());
  IOConfigList configs;
  description->GetIOConfigs(configs);
  EXPECT_EQ(configs, (IOConfigList{{2, 2}}));
}

TEST(KorvaneMetaClass, DescribeEndsWithTheIdentifierLowestByteFirst) {
  const std::string text = Description()->Describe();
  EXPECT_EQ(text.rfind("Name = KVN Stereo Analyzer (OrbA);Version = 1.2x0;", 0), 0u) << text;
  const std::string tail =
      ";metaclass = ZEBVstKorvaneMetaClass;Build Type = ZEB_RELEASE_BUILD;VST ID = '1817'";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(KorvaneMetaClass, TheResetParameter) {
  auto description = Description();
  ASSERT_EQ(description->GetNumberOfParameters(), 1);
  const ParameterDescriptor* reset = description->GetParameterDescriptor(0);
  ASSERT_NE(reset, nullptr);
  EXPECT_EQ(reset->mId, 0x72657374);
  EXPECT_EQ(reset->mKind, 1);
  EXPECT_EQ(reset->mFlags, 2);
  EXPECT_TRUE(reset->mAutomatable);
  EXPECT_STREQ(reset->mInternalName, "prmReset");
  EXPECT_EQ(description->GetParameterDisplayName({2, 2}, 0), "Reset");
  EXPECT_EQ(description->GetParameterDisplayName({2, 2}, 1), "INVALID ID");
  EXPECT_EQ(description->GetParameterDisplayName({2, 2}, -1), "INVALID ID");
  EXPECT_EQ(description->GetParameterDisplay(0, 1.0f, -1), "/");
}

TEST(KorvaneMetaClass, DefaultBankHoldsOneProgramNamedAfterTheAnalyser) {
  auto description = Description();
  const std::string bank = description->GetDefaultPrograms();
  EXPECT_EQ(bank.find('\r'), std::string::npos);
  EXPECT_EQ(
      bank.rfind("<!-- Quillmore KVN Stereo Analyzer (OrbA) Program Settings -->\n<plugin_programs>\n", 0),
      0u);
  std::vector<std::string> names;
  description->GetFactoryPrograms(names);
  EXPECT_EQ(names, (std::vector<std::string>{"KVN Stereo Analyzer (OrbA)"}));
}
