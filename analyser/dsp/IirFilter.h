#pragma once

#include <array>
#include <cstdint>

// Recursive filter of order 0 to 14 on 32-bit float streams:
//   y[n] = b0 x[n] + sum_k (b_k x[n-k] - a_k y[n-k]),  a0 taken as 1.
// The caller owns the coefficient arrays (order + 1 doubles each) and keeps them alive while the
// filter runs; the caller frees the filter with delete. Filtering never allocates.
struct IirFilter {
  using Routine = void (*)(IirFilter& filter, const float* input, float* output, int count);

  static constexpr int kMaxOrder = 14;

  const double* b = nullptr;
  const double* a = nullptr;
  int coefficientCount = 0;                           // order + 1
  std::array<float, kMaxOrder + 1> inputHistory{};    // x[n-1], x[n-2], ...
  std::array<double, kMaxOrder + 1> outputHistory{};  // y[n-1], y[n-2], ...
  Routine routine = nullptr;  // unrolled routine for orders 1 to 6, else the generic one runs
};

// Null when order is outside 0..14 or a coefficient array is missing. Both histories start at 0.
IirFilter* createIirFilter(const double* b, const double* a, std::int16_t order);

// Sets both histories to value; a null filter is ignored.
void resetIirFilter(IirFilter* filter, float value);

// Filters count contiguous samples; input and output may be the same buffer.
void runIirFilter(IirFilter* filter, const float* input, float* output, int count);

// The generic recursion for any order, reading every inputStep-th and writing every
// outputStep-th sample.
void runIirFilterGeneric(IirFilter* filter, const float* input, int inputStep, float* output, int outputStep,
                         int count);
