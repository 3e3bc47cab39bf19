#pragma once

#include <cmath>
#include <limits>

// The two channels that the analysis services measure in one block.
struct AnalysisView {
  const float* first = nullptr;
  const float* second = nullptr;
};

// Non-finite samples count as silence for the analysis, so one inf cannot poison a running
// average for good; the audio passed through is not touched.
// Written as a comparison so that it compiles without a branch.
inline float FiniteOrZero(float x) { return std::fabs(x) <= std::numeric_limits<float>::max() ? x : 0.0f; }

// Sample rates the analysis accepts; anything else is refused by Setup.
inline bool IsUsableSampleRate(float rate) { return rate > 0.0f && rate <= 10.0e6f; }
