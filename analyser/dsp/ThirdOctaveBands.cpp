#include "analyser/dsp/ThirdOctaveBands.h"

#include <cmath>

namespace {

// 31 Hz, not 31.5: the table and its label agree.
constexpr float kCentres[kThirdOctaveBandCount] = {
    20.0f,   25.0f,   31.0f,   40.0f,   50.0f,   63.0f,    80.0f,    100.0f,   125.0f,  160.0f,  200.0f,
    250.0f,  315.0f,  400.0f,  500.0f,  630.0f,  800.0f,   1000.0f,  1250.0f,  1600.0f, 2000.0f, 2500.0f,
    3150.0f, 4000.0f, 5000.0f, 6300.0f, 8000.0f, 10000.0f, 12500.0f, 16000.0f, 20000.0f};

constexpr const char* kLabels[kThirdOctaveBandCount] = {
    "20",    "25",  "31",  "40",   "50",  "63",  "80",    "100",   "125",  "160", "200",
    "250",   "315", "400", "500",  "630", "800", "1k",    "1.25k", "1.6k", "2k",  "2.5k",
    "3.15k", "4k",  "5k",  "6.3k", "8k",  "10k", "12.5k", "16k",   "20k"};

bool isBand(int band) { return band >= kFirstThirdOctaveBand && band <= kLastThirdOctaveBand; }

}  // namespace

float thirdOctaveCentreFrequencyOfRow(int row) {
  return row >= 0 && row < kThirdOctaveBandCount ? kCentres[row] : -1.0f;
}

float thirdOctaveCentreFrequency(int band) {
  return isBand(band) ? kCentres[band - kFirstThirdOctaveBand] : -1.0f;
}

const char* thirdOctaveLabel(int band) {
  return isBand(band) ? kLabels[band - kFirstThirdOctaveBand] : "ERR";
}

int nearestThirdOctaveBand(float frequency) {
  // The ends answer directly, so infinities land on them too.
  if (frequency <= kCentres[0]) return kFirstThirdOctaveBand;
  if (frequency >= kCentres[kThirdOctaveBandCount - 1]) return kLastThirdOctaveBand;
  // Strictly smaller only, so a tie keeps the lower band; a NaN frequency keeps the first.
  int kept = 0;
  float keptDistance = std::fabs(frequency - kCentres[0]);
  for (int row = 1; row < kThirdOctaveBandCount; ++row) {
    const float distance = std::fabs(frequency - kCentres[row]);
    if (distance < keptDistance) {
      kept = row;
      keptDistance = distance;
    }
  }
  return kFirstThirdOctaveBand + kept;
}
