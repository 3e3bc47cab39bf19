// The analysis services on 480-frame stereo blocks, beside a plain copy of the same block.
// The "frame" counter is the time per stereo frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "analyser/engine/services/KorvaneServiceList.h"
#include "framework/services/PluginServices.h"

namespace {

constexpr int kFrames = 480;

struct Block {
  Block() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.1f, 0.1f);
    for (int i = 0; i < kFrames; ++i) {
      first[i] = 0.5f * std::sin(0.03f * static_cast<float>(i)) + noise(random);
      second[i] = 0.4f * std::sin(0.03f * static_cast<float>(i) + 0.5f) + noise(random);
    }
  }
  float first[kFrames] = {};
  float second[kFrames] = {};
  float out[2][kFrames] = {};
};

void PerFrame(benchmark::State& state) {
  state.counters["frame"] = benchmark::Counter(
      kFrames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PlainCopy(benchmark::State& state) {
  Block block;
  for (auto _ : state) {
    std::memcpy(block.out[0], block.first, sizeof block.first);
    std::memcpy(block.out[1], block.second, sizeof block.second);
    benchmark::DoNotOptimize(block.out);
    benchmark::ClobberMemory();
  }
  PerFrame(state);
}

// Runs the services of the list selected by `which` (bit 0 balance, bit 1 phase), handing the
// scope buffers back as the phase scope does.
void RunServices(benchmark::State& state, int which) {
  Block block;
  PluginServices services;
  KorvaneServiceList list;
  list.SetServices(&services);
  list.Setup(48000.0f, kFrames, 2);
  const AnalysisView view{block.first, block.second};
  std::vector<ScopeBuffer*> ready;
  ready.reserve(ScopeBufferPool::kSize);
  int blocks = 0;
  for (auto _ : state) {
    if (which & 1) list.GetBalanceService().Process(view, kFrames);
    if (which & 2) list.GetPhaseService().Process(view, kFrames);
    if ((++blocks & 3) == 0 && list.GetPhaseService().CollectReadyScopeBuffers(ready))
      for (ScopeBuffer* buffer : ready) buffer->Release();
  }
  benchmark::DoNotOptimize(list.GetPhaseService().GetCorrelation());
  PerFrame(state);
}

void BM_BalanceService(benchmark::State& state) { RunServices(state, 1); }
void BM_PhaseService(benchmark::State& state) { RunServices(state, 2); }
void BM_BothServices(benchmark::State& state) { RunServices(state, 3); }

BENCHMARK(BM_PlainCopy);
BENCHMARK(BM_BalanceService);
BENCHMARK(BM_PhaseService);
BENCHMARK(BM_BothServices);

}  // namespace
