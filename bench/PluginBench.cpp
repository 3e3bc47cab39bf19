// The whole plug-in through its C interface on 480-frame stereo blocks (one 10 ms capture
// packet at 48 kHz), beside a plain copy of the same block: what a bypassed plug-in would cost.
// Then restoring presets that carry many alarm settings, and refusing a small preset afterwards.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tests/vsthost/Chunks.h"
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

// The instance's own preset with its alarm manager replaced by `alarms` stored alarm settings.
std::string PresetWithAlarms(vsthost::Host& host, int alarms) {
  std::string preset = vsthost::GetChunk(host, true);
  std::string manager =
      "<obj id=\"0000000001\" name=\"KVNAlarmManager\" type=\"QMR_KVNAlarmManager\">\n"
      "\t<att name=\"alarm_count\" type=\"i\">" +
      std::to_string(alarms) + "</att>\n";
  for (int i = 0; i < alarms; ++i) {
    const std::string n = std::to_string(i);
    manager += "\t<obj id=\"" + std::string(10 - std::min<size_t>(10, n.size()), '0') + n + "\" name=\"" + n +
               "\" type=\"QMR_PersistentAlarmInfo\">\n"
               "\t\t<att name=\"uai\" type=\"str\">bench.alarm." +
               n +
               "</att>\n"
               "\t\t<att name=\"th\" type=\"f\">0.25</att>\n"
               "\t</obj>\n";
  }
  manager += "</obj>\n";
  const size_t named = preset.find("name=\"KVNAlarmManager\"");
  const size_t to = preset.find("</obj_archive>");
  if (named == std::string::npos || to == std::string::npos) return {};
  const size_t from = preset.rfind("<obj", named);
  return preset.replace(from, to - from, manager);
}

// Loading a preset with range(0) alarm settings through effSetChunk.
void LoadAlarmPreset(benchmark::State& state) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  if (!host.Instantiate()) return state.SkipWithError("the plug-in gave no effect");
  const std::string preset = PresetWithAlarms(host, static_cast<int>(state.range(0)));
  if (preset.empty()) return state.SkipWithError("the preset has no alarm manager");
  for (auto _ : state) {
    if (vsthost::SetChunk(host, preset, true) != 1) return state.SkipWithError("the preset was refused");
  }
  state.counters["bytes"] = static_cast<double>(preset.size());
}

// A small damaged preset refused while range(0) alarm settings are loaded: the refusal puts the
// state back as it was.
void RefuseSmallPresetAfterAlarms(benchmark::State& state) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  if (!host.Instantiate()) return state.SkipWithError("the plug-in gave no effect");
  std::string refused = vsthost::GetChunk(host, true);
  refused.replace(refused.find(">Quillmore</att>"), 16, ">Elsewhere</att>");
  const std::string preset = PresetWithAlarms(host, static_cast<int>(state.range(0)));
  if (preset.empty() || vsthost::SetChunk(host, preset, true) != 1)
    return state.SkipWithError("the alarm preset was refused");
  for (auto _ : state) {
    if (vsthost::SetChunk(host, refused, true) != 0) return state.SkipWithError("the preset was taken");
  }
  state.counters["bytes"] = static_cast<double>(refused.size());
}

}  // namespace

BENCHMARK(PlainCopy);
BENCHMARK(ProcessReplacing);
BENCHMARK(LoadAlarmPreset)->Arg(2000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(RefuseSmallPresetAfterAlarms)->Arg(80000)->Unit(benchmark::kMillisecond);
