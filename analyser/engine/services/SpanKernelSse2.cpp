#include <emmintrin.h>

#include "analyser/engine/services/SpanKernelBody.h"

namespace {

// Four float lanes, two double lanes.
struct Sse2 {
  using Floats = __m128;
  using Doubles = __m128d;
  static constexpr std::int32_t kLanes = 4;

  static Floats Load(const float* p) { return _mm_loadu_ps(p); }
  static void Store(float* p, Floats v) { _mm_storeu_ps(p, v); }
  static Floats Zero() { return _mm_setzero_ps(); }
  static Floats Splat(float x) { return _mm_set1_ps(x); }
  static Floats Add(Floats a, Floats b) { return _mm_add_ps(a, b); }
  static Floats Sub(Floats a, Floats b) { return _mm_sub_ps(a, b); }
  static Floats Mul(Floats a, Floats b) { return _mm_mul_ps(a, b); }
  static Floats Min(Floats a, Floats b) { return _mm_min_ps(a, b); }
  static Floats Max(Floats a, Floats b) { return _mm_max_ps(a, b); }
  static Floats Abs(Floats a) { return _mm_andnot_ps(_mm_set1_ps(-0.0f), a); }
  // NaN fails the comparison as well as inf.
  static Floats FiniteOrZero(Floats x) { return _mm_and_ps(x, _mm_cmple_ps(Abs(x), Splat(FLT_MAX))); }
  static float SumLanes(Floats v) {
    alignas(16) float lane[kLanes];
    _mm_store_ps(lane, v);
    return ((lane[0] + lane[1]) + lane[2]) + lane[3];
  }
  static float LargestLane(Floats v) {
    const Floats pairs = _mm_max_ps(v, _mm_movehl_ps(v, v));
    return _mm_cvtss_f32(_mm_max_ss(pairs, _mm_shuffle_ps(pairs, pairs, 1)));
  }

  static Doubles ZeroD() { return _mm_setzero_pd(); }
  static Doubles SplatD(double x) { return _mm_set1_pd(x); }
  static Doubles AddD(Doubles a, Doubles b) { return _mm_add_pd(a, b); }
  static Doubles SubD(Doubles a, Doubles b) { return _mm_sub_pd(a, b); }
  static Doubles MulD(Doubles a, Doubles b) { return _mm_mul_pd(a, b); }
  static Doubles LowHalf(Floats v) { return _mm_cvtps_pd(v); }
  static Doubles HighHalf(Floats v) { return _mm_cvtps_pd(_mm_movehl_ps(v, v)); }
  static double SumLanesD(Doubles v) { return _mm_cvtsd_f64(_mm_add_sd(v, _mm_unpackhi_pd(v, v))); }
};

constexpr SpanKernelTable kTable = spankernel::MakeTable<Sse2>();

}  // namespace

const SpanKernelTable& Sse2SpanKernels() { return kTable; }
