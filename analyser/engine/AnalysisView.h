#pragma once

#include <cmath>

// The two channels that the analysis services measure in one block.
struct AnalysisView {
    const float* first = nullptr;
    const float* second = nullptr;
};

// Non-finite samples count as silence for the analysis, so one inf cannot poison a running
// average for good; the audio passed through is not touched.
inline float FiniteOrZero(float x) { return std::isfinite(x) ? x : 0.0f; }

// Sample rates the analysis accepts; anything else is refused by Setup.
inline bool IsUsableSampleRate(float rate) { return rate > 0.0f && rate <= 10.0e6f; }
