// effEditIdle of an open editor with nothing to draw, through the VST interface: the test
// product's editor in a window of a private Xvfb.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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

}  // namespace
