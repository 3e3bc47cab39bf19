#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"
#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"
#include "analyser/editor/scope/KorvanePhaseFrame.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "framework/services/FourCC.h"
#include "tests/support/StubPlatform.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Frame.h"

// An open editor root of the analyser, its window an image of the editor's size; the frames
// use the plug-in's own timers and messages.
class AnalyserRoot : public PluginUIRoot {
 public:
  AnalyserRoot(Korvane& plugin, std::int32_t width, std::int32_t height)
      : PluginUIRoot(&plugin, &plugin, Rect{0, 0, width, height}) {
    SetWindowContext(std::make_unique<OGWorld>(Rect{0, 0, width, height}));
    SetActiveFlag(true);
    SetRootFrame(std::unique_ptr<Frame>(new Frame(this, 0, 0, width, height, 0, FourCC('m', 's', 't', 'r'))));
    SetOpen(true);
    ClearUpdateSet();
  }
  ~AnalyserRoot() override { TakeRootFrame().reset(); }
  bool PlatformQuery() const override { return false; }

  OGWorld& Window() { return static_cast<OGWorld&>(*GetWindowContext()); }
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) {
    const Surface& s = Window().GetSurface();
    return s.pixels[y * s.stride + x];
  }
  void Flush() { DrawingScope scope(*this, true); }
  // For people to look at: build/.../NAME.png when VARNIS_PICTURES names a folder.
  void SavePicture(const std::string& name) {
    const char* folder = std::getenv("VARNIS_PICTURES");
    if (!folder) return;
    const Surface& s = Window().GetSurface();
    const std::string ppm = std::string(folder) + "/" + name + ".ppm";
    if (FILE* f = std::fopen(ppm.c_str(), "wb")) {
      std::fprintf(f, "P6 %d %d 255\n", s.width, s.height);
      for (std::int32_t y = 0; y < s.height; ++y)
        for (std::int32_t x = 0; x < s.width; ++x) {
          const std::uint32_t p = s.pixels[y * s.stride + x];
          const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                        static_cast<unsigned char>(p >> 8), static_cast<unsigned char>(p)};
          std::fwrite(rgb, 1, 3, f);
        }
      std::fclose(f);
    }
  }
};

// A stereo analyser with an open editor of the full editor size.
struct EditorFixture {
  EditorFixture() { platform.editorOpen = true; }

  StubPlatform platform;
  Korvane plugin{&platform, IOConfig{2, 2}};
  AnalyserRoot root{plugin, 399, 470};

  KorvanePhaseService& Phase() { return plugin.GetServiceList().GetPhaseService(); }
  KorvaneBalanceService& Balance() { return plugin.GetServiceList().GetBalanceService(); }
  KVNPhaseConfig& Config() { return *Phase().GetPhaseConfig(); }

  // Constant samples through both services, as the audio thread hands them.
  void Feed(float left, float right, std::int32_t frames) {
    std::vector<float> l(static_cast<size_t>(frames), left), r(static_cast<size_t>(frames), right);
    Feed(l, r);
  }
  void Feed(const std::vector<float>& left, const std::vector<float>& right) {
    const AnalysisView view{left.data(), right.data()};
    for (KorvaneServiceBase* service : plugin.GetServiceList().GetServices())
      service->Process(view, static_cast<std::int32_t>(left.size()));
  }
};

// One timer tick of every analyser frame in the tree, as idle gives once their periods have passed.
inline void TickAllFrames(Frame& frame) {
  if (auto* scope = dynamic_cast<KorvanePhaseFrame*>(&frame)) scope->OnTimer();
  if (auto* correlation = dynamic_cast<KVNPhaseCorrelationMeterFrame*>(&frame)) correlation->OnTimer();
  if (auto* balance = dynamic_cast<KorvaneBalanceMeterFrame*>(&frame)) balance->OnTimer();
  for (Frame* child : frame.GetChildren()) TickAllFrames(*child);
}
