#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "analyser/editor/values/KVNTextConvertor.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Case {
  const KVNTextConvertor* convertor;
  float value;
  const char* text;
};

const Case kCases[] = {
    {&kPercentageConvertor, 150.0f, "100"},
    {&kPercentageConvertor, -3.0f, "0"},
    {&kPercentageConvertor, 49.5f, "50"},
    {&kPercentageConvertor, kNaN, "0"},
    {&kPercentageConvertor, kInf, "100"},
    {&kPercentageConvertor, -kInf, "0"},
    {&kCorrConvertor, 0.0f, "0"},
    {&kCorrConvertor, -0.0f, "0"},
    {&kCorrConvertor, 25.0f, "+25"},
    {&kCorrConvertor, -25.4f, "-25"},
    {&kCorrConvertor, 0.3f, "+0"},
    {&kCorrConvertor, -0.3f, "-0"},
    {&kCorrConvertor, 100.0f, "+100"},
    {&kCorrConvertor, kNaN, "0"},
    {&kCorrConvertor, kInf, "+100"},
    {&kCorrConvertor, -kInf, "-100"},
    {&kCorrConvertor, 1e30f, "+100"},
    {&kBalanceLevelConvertor, 0.05f, "0.0"},
    {&kBalanceLevelConvertor, 3.27f, "3.3 R"},
    {&kBalanceLevelConvertor, -6.0f, "6.0 L"},
    {&kBalanceLevelConvertor, 0.1f, "0.1 R"},
    {&kBalanceLevelConvertor, -0.1f, "0.1 L"},
    {&kBalanceLevelConvertor, kNaN, "0.0"},
    {&kBalanceLevelConvertor, kInf, "150.0 R"},
    {&kBalanceLevelConvertor, -1e30f, "150.0 L"},
    {&kSideMidRatioDbConvertor, -20.04f, "-20.0"},
    {&kSideMidRatioDbConvertor, -150.0f, "-inf"},
    {&kSideMidRatioDbConvertor, -149.94f, "-149.9"},
    {&kSideMidRatioDbConvertor, 0.0f, "0.0"},
    {&kSideMidRatioDbConvertor, kNaN, "0.0"},
    {&kSideMidRatioDbConvertor, -kInf, "-inf"},
    {&kSideMidRatioDbConvertor, kInf, "150.0"},
    {&kSideMidRatioDbConvertor, 1e30f, "150.0"},
};

// Hosts may switch the process to a locale with a decimal comma; the texts must not follow.
class ValueTextTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const char* locale = GetParam();
    if (!std::setlocale(LC_ALL, locale)) GTEST_SKIP() << locale << " is not installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_P(ValueTextTest, EveryConvertorGivesItsTextInAtMostFourteenCharacters) {
  for (const Case& c : kCases) {
    const ValueText text = c.convertor->Convert(c.value);
    EXPECT_STREQ(text.c_str(), c.text) << "value " << c.value;
    EXPECT_LE(std::strlen(text.c_str()), 14u);
  }
}

TEST_P(ValueTextTest, NoValueOverrunsTheText) {
  const KVNTextConvertor* all[] = {&kPercentageConvertor, &kCorrConvertor, &kBalanceLevelConvertor,
                                   &kSideMidRatioDbConvertor};
  for (const KVNTextConvertor* convertor : all)
    for (float v : {std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                    std::numeric_limits<float>::denorm_min(), -1e-30f, 12345.678f, -99999.9f})
      EXPECT_LE(std::strlen(convertor->Convert(v).c_str()), 14u);
}

INSTANTIATE_TEST_SUITE_P(Locales, ValueTextTest, ::testing::Values("C", "de_DE.UTF-8"));

}  // namespace
