// Small sample helpers that go with the stereo block.
#pragma once

namespace tolvaran {

// a limited to the range -b..b (for b > 0); a negative b mirrors the result, a NaN passes.
float limit(float a, float b);

// Copies frames values into out, each limited to -1..1; nothing for null values.
void copy_clipped(const float* values, int frames, float* out);

// 1 for x > 0, -1 for x < 0, x itself otherwise (zeros and NaN).
float sign(float x);

// Sums two samples and divides by a term that grows with their running average level. One
// state for the whole process: not for use from two threads.
float soft_limiter(float a, float b);

}  // namespace tolvaran
