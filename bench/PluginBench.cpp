// The whole plug-in through its C interface on 480-frame stereo blocks (one 10 ms capture
// packet at 48 kHz), beside a plain copy of the same block: what a bypassed plug-in would cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "tests/vsthost/VstHost.h"

namespace {

constexpr std::int32_t kFrames = 480;

struct StereoSignal {
  StereoSignal() : left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames) {
    for (std::int32_t i = 0; i < kFrames; ++i) {
      left[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
      right[i] = 0.4f * std::sin(0.05f * static_cast<float>(i) + 0.7f);
    }
  }
  std::vector<float> left, right, outLeft, outRight;
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
};

void PlainCopy(benchmark::State& state) {
  StereoSignal signal;
  for (auto _ : state) {
    std::copy_n(signal.left.data(), kFrames, signal.outLeft.data());
    std::copy_n(signal.right.data(), kFrames, signal.outRight.data());
    benchmark::DoNotOptimize(signal.outLeft.data());
    benchmark::DoNotOptimize(signal.outRight.data());
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ProcessReplacing(benchmark::State& state) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  if (!host.Instantiate()) {
    state.SkipWithError("the plug-in gave no effect");
    return;
  }
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host.Dispatch(effSetBlockSize, 0, kFrames);
  host.Dispatch(effMainsChanged, 0, 1);
  StereoSignal signal;
  for (auto _ : state) {
    host.ProcessReplacing(signal.inputs, signal.outputs, kFrames);
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(PlainCopy);
BENCHMARK(ProcessReplacing);
