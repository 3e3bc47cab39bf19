// Built with -mavx2 and called only where the processor has AVX2 (SpanKernel.cpp).
#include <immintrin.h>

#include "analyser/engine/services/SpanKernelBody.h"

namespace {

// Eight float lanes, four double lanes.
struct Avx2 {
  using Floats = __m256;
  using Doubles = __m256d;
  static constexpr std::int32_t kLanes = 8;

  static Floats Load(const float* p) { return _mm256_loadu_ps(p); }
  static void Store(float* p, Floats v) { _mm256_storeu_ps(p, v); }
  static Floats Zero() { return _mm256_setzero_ps(); }
  static Floats Splat(float x) { return _mm256_set1_ps(x); }
  static Floats Add(Floats a, Floats b) { return _mm256_add_ps(a, b); }
  static Floats Sub(Floats a, Floats b) { return _mm256_sub_ps(a, b); }
  static Floats Mul(Floats a, Floats b) { return _mm256_mul_ps(a, b); }
  static Floats Min(Floats a, Floats b) { return _mm256_min_ps(a, b); }
  static Floats Max(Floats a, Floats b) { return _mm256_max_ps(a, b); }
  static Floats Abs(Floats a) { return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), a); }
  // NaN fails the comparison as well as inf.
  static Floats FiniteOrZero(Floats x) {
    return _mm256_and_ps(x, _mm256_cmp_ps(Abs(x), Splat(FLT_MAX), _CMP_LE_OQ));
  }
  static float SumLanes(Floats v) {
    alignas(32) float lane[kLanes];
    _mm256_store_ps(lane, v);
    float sum = lane[0];
    for (std::int32_t i = 1; i < kLanes; ++i) sum += lane[i];
    return sum;
  }
  static float LargestLane(Floats v) {
    __m128 half = _mm_max_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    half = _mm_max_ps(half, _mm_movehl_ps(half, half));
    return _mm_cvtss_f32(_mm_max_ss(half, _mm_shuffle_ps(half, half, 1)));
  }

  static Doubles ZeroD() { return _mm256_setzero_pd(); }
  static Doubles SplatD(double x) { return _mm256_set1_pd(x); }
  static Doubles AddD(Doubles a, Doubles b) { return _mm256_add_pd(a, b); }
  static Doubles SubD(Doubles a, Doubles b) { return _mm256_sub_pd(a, b); }
  static Doubles MulD(Doubles a, Doubles b) { return _mm256_mul_pd(a, b); }
  static Doubles LowHalf(Floats v) { return _mm256_cvtps_pd(_mm256_castps256_ps128(v)); }
  static Doubles HighHalf(Floats v) { return _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1)); }
  static double SumLanesD(Doubles v) {
    alignas(32) double lane[4];
    _mm256_store_pd(lane, v);
    return ((lane[0] + lane[1]) + lane[2]) + lane[3];
  }
};

constexpr SpanKernelTable kTable = spankernel::MakeTable<Avx2>();

}  // namespace

const SpanKernelTable& Avx2SpanKernels() { return kTable; }
