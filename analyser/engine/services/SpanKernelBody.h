#pragma once

#include <cfloat>
#include <cstdint>

#include "analyser/engine/services/SpanKernel.h"

// The span kernel over a vector instruction set V, included only by the files that build the
// kernel tables. V lives in an unnamed namespace of each such file, so every instantiation here
// is that file's own and none built for one instruction set can stand in for another; for the
// same reason nothing here calls a shared inline function.
//
// Per lane: x = FiniteOrZero(sample); the balance squares and the mid and side maxima in float,
// the correlation's deviations, products and squares in double. The lanes are split
// accumulators, summed in lane order at the end; the frames after the last whole vector follow
// one at a time, in the same arithmetic.
namespace spankernel {

template <class V, bool kBalance, bool kCorrelation, bool kCopy>
void SumSpan(const SpanJob& job, SpanSums& sums) {
  using F = typename V::Floats;
  using D = typename V::Doubles;
  // Locals, so that the copies' stores need not reload the job.
  const float* const a = job.first;
  const float* const b = job.second;
  float* const copyA = job.copyFirst;
  float* const copyB = job.copySecond;
  const std::int32_t frames = job.frames;
  const std::int32_t whole = frames - frames % V::kLanes;

  F squares0 = V::Zero(), squares1 = V::Zero(), mid = V::Zero(), side = V::Zero(), peak = V::Zero();
  D first = V::ZeroD(), second = V::ZeroD(), product = V::ZeroD(), firstSquares = V::ZeroD(),
    secondSquares = V::ZeroD();
  const D originA = V::SplatD(job.originFirst), originB = V::SplatD(job.originSecond);
  const F largest = V::Splat(FLT_MAX);
  for (std::int32_t i = 0; i < whole; i += V::kLanes) {
    const F x = V::FiniteOrZero(V::Load(a + i));
    const F y = V::FiniteOrZero(V::Load(b + i));
    if constexpr (kCopy) {
      V::Store(copyA + i, x);
      V::Store(copyB + i, y);
      peak = V::Max(peak, V::Max(V::Abs(x), V::Abs(y)));
    }
    if constexpr (kBalance) {
      squares0 = V::Add(squares0, V::Mul(x, x));
      squares1 = V::Add(squares1, V::Mul(y, y));
      // Huge samples must not overflow into an average that then stays inf.
      mid = V::Max(mid, V::Min(V::Abs(V::Add(x, y)), largest));
      side = V::Max(side, V::Min(V::Abs(V::Sub(x, y)), largest));
    }
    if constexpr (kCorrelation) {
      const D x0 = V::SubD(V::LowHalf(x), originA), x1 = V::SubD(V::HighHalf(x), originA);
      const D y0 = V::SubD(V::LowHalf(y), originB), y1 = V::SubD(V::HighHalf(y), originB);
      first = V::AddD(first, V::AddD(x0, x1));
      second = V::AddD(second, V::AddD(y0, y1));
      product = V::AddD(product, V::AddD(V::MulD(x0, y0), V::MulD(x1, y1)));
      firstSquares = V::AddD(firstSquares, V::AddD(V::MulD(x0, x0), V::MulD(x1, x1)));
      secondSquares = V::AddD(secondSquares, V::AddD(V::MulD(y0, y0), V::MulD(y1, y1)));
    }
  }
  sums = SpanSums{};
  if constexpr (kCopy) sums.peak = V::LargestLane(peak);
  if constexpr (kBalance) {
    sums.squares0 = V::SumLanes(squares0);
    sums.squares1 = V::SumLanes(squares1);
    sums.mid = V::LargestLane(mid);
    sums.side = V::LargestLane(side);
  }
  if constexpr (kCorrelation) {
    sums.first = V::SumLanesD(first);
    sums.second = V::SumLanesD(second);
    sums.product = V::SumLanesD(product);
    sums.firstSquares = V::SumLanesD(firstSquares);
    sums.secondSquares = V::SumLanesD(secondSquares);
  }

  for (std::int32_t i = whole; i < frames; ++i) {
    const float x = __builtin_fabsf(a[i]) <= FLT_MAX ? a[i] : 0.0f;
    const float y = __builtin_fabsf(b[i]) <= FLT_MAX ? b[i] : 0.0f;
    const float absX = __builtin_fabsf(x), absY = __builtin_fabsf(y);
    if constexpr (kCopy) {
      copyA[i] = x;
      copyB[i] = y;
      const float larger = absX > absY ? absX : absY;
      if (larger > sums.peak) sums.peak = larger;
    }
    if constexpr (kBalance) {
      sums.squares0 += x * x;
      sums.squares1 += y * y;
      const float m = __builtin_fabsf(x + y), s = __builtin_fabsf(x - y);
      const float midHere = m < FLT_MAX ? m : FLT_MAX, sideHere = s < FLT_MAX ? s : FLT_MAX;
      if (midHere > sums.mid) sums.mid = midHere;
      if (sideHere > sums.side) sums.side = sideHere;
    }
    if constexpr (kCorrelation) {
      const double dx = double(x) - job.originFirst, dy = double(y) - job.originSecond;
      sums.first += dx;
      sums.second += dy;
      sums.product += dx * dy;
      sums.firstSquares += dx * dx;
      sums.secondSquares += dy * dy;
    }
  }
}

// Constant, so that loading the library runs no code of any instruction set.
template <class V>
constexpr SpanKernelTable MakeTable() {
  return SpanKernelTable{{
      &SumSpan<V, false, false, false>,
      &SumSpan<V, true, false, false>,
      &SumSpan<V, false, true, false>,
      &SumSpan<V, true, true, false>,
      &SumSpan<V, false, false, true>,
      &SumSpan<V, true, false, true>,
      &SumSpan<V, false, true, true>,
      &SumSpan<V, true, true, true>,
  }};
}

}  // namespace spankernel
