#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "analyser/dsp/Fft.h"

namespace {

using Setup = int (*)(int&, int, float*);
using Transform = void (*)(float*, int, int, const float*);

// One iteration is a forward and an inverse transform of state.range(0) points, so the data stay
// the same noise throughout (forward alone would grow it by N per pass); "per_transform" is half
// an iteration. floatsPerPoint is 2 for complex data.
void runFft(benchmark::State& state, Setup setup, Transform forward, Transform inverse, int floatsPerPoint) {
  const int n = static_cast<int>(state.range(0));
  std::vector<float> table(static_cast<size_t>(n / 4 + 1));
  int m = 0;
  if (setup(m, n, table.data()) != 0) {
    state.SkipWithError("size refused");
    return;
  }
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> data(static_cast<size_t>(n) * floatsPerPoint);
  for (float& v : data) v = dist(rng);
  for (auto _ : state) {
    forward(data.data(), m, 1, table.data());
    inverse(data.data(), m, 1, table.data());
    benchmark::ClobberMemory();
  }
  state.counters["per_transform"] =
      benchmark::Counter(2.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FftComplex(benchmark::State& s) {
  runFft(s, fftSetupComplex, fftComplexForward, fftComplexInverse, 2);
}
void BM_FftReal(benchmark::State& s) { runFft(s, fftSetupReal, fftRealForward, fftRealInverse, 1); }

}  // namespace

BENCHMARK(BM_FftComplex)->Arg(1024)->Arg(4096);
BENCHMARK(BM_FftReal)->Arg(1024)->Arg(4096);
