// The analysis services on 480-frame stereo blocks, beside a plain copy of the same block, with
// the span kernels of each instruction set the processor has (argument 0: SSE2, 1: AVX2).
// The "frame" counter is the time per stereo frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "analyser/engine/services/AnalysisPass.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "analyser/engine/services/SpanKernel.h"
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

enum Run { kBalance = 1, kPhase = 2, kTogether = 4, kScopeRead = 8 };

// Runs the services of the list that `run` selects, each with its own pass or both in the one
// pass the plug-in runs; with kScopeRead the scope buffers are handed back as the open phase
// scope does, else they stay ready as with the editor closed.
void RunServices(benchmark::State& state, int run) {
  const SpanVariant before = ActiveSpanVariant();
  if (!UseSpanVariant(state.range(0) == 0 ? SpanVariant::kSse2 : SpanVariant::kAvx2))
    return state.SkipWithError("the processor lacks this instruction set");
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
    if (run & kTogether) {
      AnalysisParts parts;
      for (KorvaneServiceBase* service : list.GetServices()) service->ClaimParts(parts);
      RunAnalysisPass(view, kFrames, parts);
    } else {
      if (run & kBalance) list.GetBalanceService().Process(view, kFrames);
      if (run & kPhase) list.GetPhaseService().Process(view, kFrames);
    }
    if ((run & kScopeRead) && (++blocks & 3) == 0 && list.GetPhaseService().CollectReadyScopeBuffers(ready))
      for (ScopeBuffer* buffer : ready) buffer->Release();
  }
  benchmark::DoNotOptimize(list.GetPhaseService().GetCorrelation());
  PerFrame(state);
  UseSpanVariant(before);
}

void BM_BalanceService(benchmark::State& state) { RunServices(state, kBalance); }
void BM_PhaseService(benchmark::State& state) { RunServices(state, kPhase | kScopeRead); }
void BM_BothServices(benchmark::State& state) { RunServices(state, kBalance | kPhase | kScopeRead); }
// As the plug-in runs them: the editor closed, then open with the scope taking buffers.
void BM_OnePassScopeFull(benchmark::State& state) { RunServices(state, kTogether); }
void BM_OnePassScopeRead(benchmark::State& state) { RunServices(state, kTogether | kScopeRead); }

BENCHMARK(BM_PlainCopy);
BENCHMARK(BM_BalanceService)->Arg(0)->Arg(1);
BENCHMARK(BM_PhaseService)->Arg(0)->Arg(1);
BENCHMARK(BM_BothServices)->Arg(0)->Arg(1);
BENCHMARK(BM_OnePassScopeFull)->Arg(0)->Arg(1);
BENCHMARK(BM_OnePassScopeRead)->Arg(0)->Arg(1);

}  // namespace
