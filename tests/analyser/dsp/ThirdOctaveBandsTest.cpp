#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "analyser/dsp/ThirdOctaveBands.h"

namespace {

TEST(ThirdOctaveBands, TableLookupsAndTheirLimits) {
  EXPECT_EQ(thirdOctaveCentreFrequencyOfRow(0), 20.0f);
  EXPECT_EQ(thirdOctaveCentreFrequencyOfRow(2), 31.0f);
  EXPECT_EQ(thirdOctaveCentreFrequencyOfRow(30), 20000.0f);
  EXPECT_EQ(thirdOctaveCentreFrequencyOfRow(-1), -1.0f);
  EXPECT_EQ(thirdOctaveCentreFrequencyOfRow(31), -1.0f);
  EXPECT_EQ(thirdOctaveCentreFrequency(13), 20.0f);
  EXPECT_EQ(thirdOctaveCentreFrequency(30), 1000.0f);
  EXPECT_EQ(thirdOctaveCentreFrequency(43), 20000.0f);
  EXPECT_EQ(thirdOctaveCentreFrequency(12), -1.0f);
  EXPECT_EQ(thirdOctaveCentreFrequency(44), -1.0f);
  EXPECT_EQ(std::string(thirdOctaveLabel(15)), "31");
  EXPECT_EQ(std::string(thirdOctaveLabel(30)), "1k");
  EXPECT_EQ(std::string(thirdOctaveLabel(35)), "3.15k");
  EXPECT_EQ(std::string(thirdOctaveLabel(43)), "20k");
  EXPECT_EQ(std::string(thirdOctaveLabel(12)), "ERR");
  EXPECT_EQ(std::string(thirdOctaveLabel(44)), "ERR");
}

TEST(ThirdOctaveBands, EveryCentreIsItsOwnNearestBand) {
  for (int band = kFirstThirdOctaveBand; band <= kLastThirdOctaveBand; ++band)
    EXPECT_EQ(nearestThirdOctaveBand(thirdOctaveCentreFrequency(band)), band);
}

TEST(ThirdOctaveBands, NearestBandBetweenEdgesAndOutside) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float hz;
    int band;
  } cases[] = {
      {22.5f, 13},  {22.51f, 14},   {28.0f, 14},    {28.01f, 15},   {900.0f, 29},
      {900.1f, 30}, {1000.0f, 30},  {18000.0f, 42}, {18000.1f, 43}, {0.0f, 13},
      {-50.0f, 13}, {30000.0f, 43}, {inf, 43},      {-inf, 13},     {std::nanf(""), 13},
  };
  for (const auto& c : cases) EXPECT_EQ(nearestThirdOctaveBand(c.hz), c.band) << c.hz;
}

}  // namespace
