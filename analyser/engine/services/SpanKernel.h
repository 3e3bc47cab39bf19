#pragma once

#include <cstdint>

// One pass over a span of stereo frames that adds up what the analyses need from it. Every
// sample counts as FiniteOrZero of itself. A span never crosses the end of a window, a segment
// or a scope buffer, so its sums are added to whatever is running by the caller.
struct SpanJob {
  const float* first = nullptr;
  const float* second = nullptr;
  std::int32_t frames = 0;
  // The correlation's deviations are taken from these: the first pair of its window.
  double originFirst = 0.0;
  double originSecond = 0.0;
  // Where the samples are copied for the scope; used only when the copy is asked for.
  float* copyFirst = nullptr;
  float* copySecond = nullptr;
};

struct SpanSums {
  // Correlation: sums of the deviations, of their product and of their squares.
  double first = 0.0;
  double second = 0.0;
  double product = 0.0;
  double firstSquares = 0.0;
  double secondSquares = 0.0;
  // Balance: sums of squares; the largest |a + b| and |a - b|, at most the largest float.
  float squares0 = 0.0f;
  float squares1 = 0.0f;
  float mid = 0.0f;
  float side = 0.0f;
  // Scope copy: the largest |a| or |b| copied.
  float peak = 0.0f;
};

// What a span is asked for, as bits; the sums of parts not asked for stay 0.
enum SpanParts : unsigned {
  kSpanBalance = 1,
  kSpanCorrelation = 2,
  kSpanCopy = 4,
  kSpanPartCombinations = 8
};

using SpanKernel = void (*)(const SpanJob& job, SpanSums& sums);

// A kernel for every combination of parts, written for one instruction set.
struct SpanKernelTable {
  SpanKernel kernels[kSpanPartCombinations];
};

enum class SpanVariant { kSse2, kAvx2 };

// The variant in use: AVX2 where the processor and the system offer it, else SSE2.
SpanVariant ActiveSpanVariant();
bool IsSpanVariantAvailable(SpanVariant variant);
// For tests and benchmarks, with no audio running; false (and no change) when not available.
bool UseSpanVariant(SpanVariant variant);
// Audio thread: the kernel for the parts of `parts`.
SpanKernel SpanKernelFor(unsigned parts);

// One table per instruction set, each built in its own file.
const SpanKernelTable& Sse2SpanKernels();
const SpanKernelTable& Avx2SpanKernels();
