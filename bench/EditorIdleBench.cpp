// effEditIdle through the VST interface, in a window of a private Xvfb: the test product's editor
// with nothing to draw, and the analyser's editor at steady state.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

namespace {

// A private X server for the benchmark's lifetime, and its root window as the host's window.
struct PrivateDisplay {
  PrivateDisplay() {
    FILE* started =
        popen("Xvfb -displayfd 1 -nolisten tcp -screen 0 640x480x24 2>/dev/null & echo pid $!", "r");
    char line[128];
    while (started && (pid.empty() || display.empty()) && std::fgets(line, sizeof line, started)) {
      const std::string text(line, std::string(line).find('\n'));
      if (text.rfind("pid ", 0) == 0) {
        pid = text.substr(4);
      } else {
        display = ":" + text;
      }
    }
    if (display.empty()) return;
    FILE* info = popen(("xwininfo -root -display " + display).c_str(), "r");
    while (info && std::fgets(line, sizeof line, info)) {
      const std::string text(line);
      const size_t at = text.find("Window id: ");
      if (at != std::string::npos) root = std::strtoull(text.c_str() + at + 11, nullptr, 16);
    }
    if (info) pclose(info);
  }
  ~PrivateDisplay() {
    if (!pid.empty()) std::system(("kill " + pid).c_str());
  }
  std::string pid;
  std::string display;
  std::uint64_t root = 0;
};

void EditIdleWithNothingToDraw(benchmark::State& state) {
  PrivateDisplay x;
  if (!x.root) {
    state.SkipWithError("no Xvfb");
    return;
  }
  setenv("DISPLAY", x.display.c_str(), 1);
  vsthost::PluginLibrary library(TESTPRODUCT_PATH);
  vsthost::Host host(library);
  host.Instantiate();
  if (host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(x.root))) != 1) {
    state.SkipWithError("the editor did not open");
    return;
  }
  for (int i = 0; i < 1000; ++i) host.Dispatch(effEditIdle);  // painted; nothing left to draw
  for (auto _ : state) host.Dispatch(effEditIdle);
  host.Dispatch(effEditClose);
}
BENCHMARK(EditIdleWithNothingToDraw)->Unit(benchmark::kMicrosecond);

enum class Signal { kTone, kFullScaleNoise, kSilence };

// The analyser's editor at steady state: before each idle one fresh scope buffer is played and
// every timer of the editor has come due, so the idle advances and redraws the scope, both meters
// and uploads what changed. In silence the picture first settles (the correlation bar fades for
// about ten seconds), so the idles measured draw a still picture. Reports the median and the 99th
// percentile of the idles.
void AnalyserEditIdle(benchmark::State& state, std::vector<std::pair<std::string, std::string>> settings,
                      Signal signal) {
  PrivateDisplay x;
  if (!x.root) {
    state.SkipWithError("no Xvfb");
    return;
  }
  setenv("DISPLAY", x.display.c_str(), 1);
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  host.Instantiate();
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  host.Dispatch(effSetBlockSize, 0, 512);
  host.Dispatch(effMainsChanged, 0, 1);
  std::string chunk = vsthost::GetChunk(host, true);
  for (const auto& [name, value] : settings) chunk = vsthost::WithAttribute(chunk, name, value);
  vsthost::SetChunk(host, chunk, true);
  if (host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(x.root))) != 1) {
    state.SkipWithError("the editor did not open");
    return;
  }
  std::mt19937 random(3);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  std::vector<float> l(512), r(512), outL(512), outR(512);
  float* inputs[2] = {l.data(), r.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  std::int64_t frame = 0;
  auto playOneBuffer = [&] {
    for (int block = 0; block < 4; ++block) {
      for (int i = 0; i < 512; ++i, ++frame) {
        const float t = float(frame) / 44100.0f;
        const bool noisy = signal == Signal::kFullScaleNoise, silent = signal == Signal::kSilence;
        l[i] = silent ? 0.0f : noisy ? noise(random) : 0.5f * std::sin(2.0f * 3.14159265f * 440.0f * t);
        r[i] = silent  ? 0.0f
               : noisy ? noise(random)
                       : 0.35f * std::sin(2.0f * 3.14159265f * 440.0f * t + 0.4f);
      }
      host.ProcessReplacing(inputs, outputs, 512);
    }
  };
  auto waitForEveryTimer = [] { std::this_thread::sleep_for(std::chrono::milliseconds(110)); };
  for (int i = 0; i < 20; ++i) {  // painted, layers and trails filled
    playOneBuffer();
    waitForEveryTimer();
    host.Dispatch(effEditIdle);
  }
  const auto settled = std::chrono::steady_clock::now() + std::chrono::seconds(12);
  while (signal == Signal::kSilence && std::chrono::steady_clock::now() < settled) {
    playOneBuffer();
    std::this_thread::sleep_for(std::chrono::milliseconds(17));
    host.Dispatch(effEditIdle);
  }
  std::vector<double> idles;
  for (auto _ : state) {
    playOneBuffer();
    waitForEveryTimer();
    const auto start = std::chrono::steady_clock::now();
    host.Dispatch(effEditIdle);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    idles.push_back(took.count() * 1e6);
  }
  host.Dispatch(effEditClose);
  std::sort(idles.begin(), idles.end());
  state.counters["median_us"] = idles[idles.size() / 2];
  state.counters["p99_us"] = idles[std::min(idles.size() - 1, idles.size() * 99 / 100)];
}
BENCHMARK_CAPTURE(AnalyserEditIdle, Defaults, std::vector<std::pair<std::string, std::string>>{},
                  Signal::kTone)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AnalyserEditIdle, XYLinesDensity10Decay10FullScaleNoise,
                  std::vector<std::pair<std::string, std::string>>{{"mPlotType", "typeXY"},
                                                                   {"mXYPlotStyle", "xysLines"},
                                                                   {"mPlotDensity[typeXY]", "10"},
                                                                   {"mPlotDecay[typeXY]", "10"}},
                  Signal::kFullScaleNoise)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(AnalyserEditIdle, StillPictureInSilence, std::vector<std::pair<std::string, std::string>>{},
                  Signal::kSilence)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
