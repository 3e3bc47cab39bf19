#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/core/PluginMetaClass.h"
#include "tests/framework/core/TestDescription.h"

namespace {

struct DisplayCase {
  std::int32_t id;
  float value;
  std::int32_t width;
  const char* display;
  const char* withLabel;
};

class MetaClass : public ::testing::Test {
 protected:
  std::int32_t Index(std::int32_t id) const { return description.GetParameterIndex(id); }
  UnitTestMetaClass description;
};

}  // namespace

TEST_F(MetaClass, DisplaysValuesByKindWidthAndLabel) {
  const DisplayCase cases[] = {
      {kToggleId, 0.0f, -1, "Off", "Off"},
      {kToggleId, 1.0f, -1, "On", "On"},
      {kToggleId, 0.0f, 3, "Off", "Off"},
      {kToggleId, 1.0f, 8, "On", "On"},
      {kFreqId, 2500.0f, -1, "3k", "3k Hz"},
      {kFreqId, 1000.0f, -1, "1000", "1000 Hz"},
      {kFreqId, 440.0f, -1, "440", "440 Hz"},
      {kLevelId, -12.34f, -1, "-12.3", "-12.3 dB"},
      {kLevelId, -12.34f, 8, "-12.3", "-12.3 dB"},
      {kLevelId, -12.34f, 7, "-12.3", "-12.3dB"},
      {kLevelId, -12.34f, 6, "-12.3", "*"},
      {kLevelId, -12.34f, 4, "*", "* dB"},
      {kLevelId, -12.34f, 0, "", "*"},
      {kModeId, 1.0f, -1, "Centre", "Centre"},
      {kModeId, 1.7f, 3, "Mid", "Mid"},
      {kModeId, 2.0f, 2, "Ri", "Ri"},
      {kModeId, 9.0f, -1, "Right", "Right"},
      {kModeId, -4.0f, -1, "Left", "Left"},
  };
  for (const auto& c : cases) {
    const std::int32_t index = Index(c.id);
    const std::string display = description.GetParameterDisplay(index, c.value, c.width);
    EXPECT_STREQ(display.c_str(), c.display) << c.id << " " << c.value << " width " << c.width;
    EXPECT_STREQ(description.GetParameterDisplayWithLabel(index, c.value, c.width).c_str(), c.withLabel)
        << c.id << " " << c.value << " width " << c.width;
  }
}

TEST_F(MetaClass, NamedValuesArePaddedWithZerosToTheWidth) {
  const std::string text = description.GetParameterDisplay(Index(kToggleId), 1.0f, 5);
  EXPECT_EQ(text, std::string("On\0\0\0", 5));
  // The padding counts towards the label's room.
  EXPECT_EQ(description.GetParameterDisplayWithLabel(Index(kModeId), 0.0f, 4), "Left");
}

TEST_F(MetaClass, RegistrationKeepsTheFirstOfOneIdAndNamesOnOffValues) {
  const std::int32_t before = description.GetNumberOfParameters();
  ParameterDescriptor again;
  again.mId = kLevelId;
  again.mKind = 7;
  description.AddParameter(again);
  EXPECT_EQ(description.GetNumberOfParameters(), before);
  EXPECT_EQ(description.FindParameterDescriptor(kLevelId)->mKind, 4);
  const ParameterDescriptor* toggle = description.FindParameterDescriptor(kToggleId);
  ASSERT_NE(toggle, nullptr);
  EXPECT_EQ(toggle->mIndex, 0);
  EXPECT_EQ(toggle->mValueNames, (std::vector<std::string>{"Off;0", "On;1"}));
}

TEST_F(MetaClass, LookupsOutsideTheTableFindNothing) {
  EXPECT_EQ(description.GetParameterDescriptor(-1), nullptr);
  EXPECT_EQ(description.GetParameterDescriptor(description.GetNumberOfParameters()), nullptr);
  EXPECT_EQ(description.GetParameterIndex(0x12345678), -1);
  EXPECT_EQ(description.FindParameterDescriptor(0x12345678), nullptr);
  EXPECT_EQ(description.GetParameterLabel(99), "");
  EXPECT_EQ(description.GetParameterDisplay(99, 1.0f, -1), "");
  EXPECT_EQ(description.GetParameterLabel(Index(kFreqId)), "Hz");
  EXPECT_EQ(description.GetParameterLabel(Index(kToggleId)), "");
}

TEST_F(MetaClass, ValuesMapToAndFromTheHostRange) {
  const ParameterDescriptor& level = *description.FindParameterDescriptor(kLevelId);
  EXPECT_FLOAT_EQ(DenormalizeValue(level, 0.5f), -24.0f);
  EXPECT_FLOAT_EQ(DenormalizeValue(level, 2.0f), 12.0f);
  EXPECT_FLOAT_EQ(DenormalizeValue(level, -1.0f), -60.0f);
  EXPECT_FLOAT_EQ(NormalizeValue(level, -24.0f), 0.5f);
  EXPECT_FLOAT_EQ(NormalizeValue(level, 100.0f), 1.0f);
  const ParameterDescriptor& frequency = *description.FindParameterDescriptor(kFreqId);
  for (float v : {0.0f, 0.1f, 0.5f, 0.9f, 1.0f}) {
    EXPECT_NEAR(NormalizeValue(frequency, DenormalizeValue(frequency, v)), v, 1e-4f);
  }
  EXPECT_LT(DenormalizeValue(frequency, 0.5f), 1000.0f);  // the taper favours low frequencies
  ParameterDescriptor flat;
  flat.mMinimum = flat.mMaximum = 3.0f;
  EXPECT_EQ(NormalizeValue(flat, 3.0f), 0.0f);
  EXPECT_EQ(DenormalizeValue(flat, 0.7f), 3.0f);
  EXPECT_EQ(DenormalizeValue(level, std::nanf("")), -60.0f);
  EXPECT_EQ(NormalizeValue(level, std::nanf("")), 0.0f);
}

TEST_F(MetaClass, FactoryProgramsComeFromTheBankAfterItsHeader) {
  description.defaultPrograms =
      "<program number=\"9\" name=\"before the header\">\n"
      "<!-- QuillmoreUnit Product Program Settings -->\n"
      "<plugin_programs>\n"
      "<program number=\"0\" name=\"First\">\n"
      "<program name=\"not a program, inside the first\">\n"
      "</program>\n"
      "<program number=\"1\" name=\"Second\">\n"
      "</program>\n";
  std::vector<std::string> names;
  description.GetFactoryPrograms(names);
  EXPECT_EQ(names, (std::vector<std::string>{"First", "Second"}));
  description.defaultPrograms = "<program number=\"0\" name=\"no header\">\n</program>\n";
  names.clear();
  description.GetFactoryPrograms(names);
  EXPECT_TRUE(names.empty());
}

TEST_F(MetaClass, PreferencesNameAndDescription) {
  EXPECT_EQ(description.GetPrefsName(), "QMR_Unit Product_Prefs");
  EXPECT_EQ(description.Describe(),
            "Name = Unit Product;Version = 9.9;FW Build Type = ;IOConfigs = /2,2;SupportsSidechain = 0;"
            "NumberOfPrograms = 2;NumberOfParameters = 4;ParametersRepresentCompleteState = 0;"
            "metaclass = UnitTestMetaClass");
}

TEST(MetaClassSingleton, LivesFromTheFirstAcquireToTheLastRelease) {
  ReleasePluginMetaClass();  // at zero: nothing happens
  EXPECT_EQ(GetPluginMetaClass(), nullptr);
  ZEBPluginMetaClass* first = AcquirePluginMetaClass();
  ASSERT_NE(first, nullptr);
  {
    PluginMetaClassRef ref;
    EXPECT_EQ(ref.get(), first);
  }
  EXPECT_EQ(GetPluginMetaClass(), first);
  ReleasePluginMetaClass();
  EXPECT_EQ(GetPluginMetaClass(), nullptr);
}
